#include "ui/richtext/FontFormat.h"

#include "data/Color.h"
#include "rtf/Rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vorlin::ui {

QTextCharFormat charFormatOf(const Font& font, const QPalette& palette)
{
    const QFont qfont = font.toQFont();
    QTextCharFormat format;
    format.setFontFamilies({font.face});
    if (font.size > 0)
        format.setFontPointSize(font.size);
    // The automatic colour is none: the text takes the window's text colour
    // wherever it is shown (black on paper, light on a dark desktop).
    const QColor color = font.color == colors::clWindowText ? QColor() : toQColor(font.color, palette);
    if (color.isValid())
        format.setForeground(color);
    else
        format.clearForeground();
    format.setFontWeight(qfont.bold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(qfont.italic());
    format.setFontUnderline(qfont.underline());
    format.setFontStrikeOut(qfont.strikeOut());
    return format;
}

void takeColourAway(const QTextCursor& selection)
{
    QTextDocument& document = *selection.document();
    const int from = selection.selectionStart();
    const int to = selection.selectionEnd();
    struct Run {
        int start, end;
        QTextCharFormat format;
    };
    QList<Run> coloured;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to; block = block.next()) {
        // An empty paragraph's text is its own format's: written as such.
        if (QTextCharFormat own = block.charFormat(); own.hasProperty(QTextFormat::ForegroundBrush)) {
            own.clearForeground();
            QTextCursor(block).setBlockCharFormat(own);
        }
        for (auto run = block.begin(); !run.atEnd(); ++run) {
            const QTextFragment fragment = run.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start < end && fragment.charFormat().hasProperty(QTextFormat::ForegroundBrush))
                coloured.append({start, end, fragment.charFormat()});
        }
    }
    for (Run& run : coloured) {
        run.format.clearForeground();
        QTextCursor cursor(&document);
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.format);
    }
}

QString bodyWithFont(const QString& body, const Font& font, const QPalette& palette)
{
    QTextDocument document;
    rtf::loadBody(body, document);
    bool changed = false;
    QObject::connect(&document, &QTextDocument::contentsChanged, [&changed] { changed = true; });
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    const QTextCharFormat format = charFormatOf(font, palette);
    all.mergeCharFormat(format);
    if (all.hasSelection() && !format.hasProperty(QTextFormat::ForegroundBrush))
        takeColourAway(all);
    // Nothing to give the font to (an empty body): the body stays as stored.
    return changed ? rtf::bodyOf(document) : body;
}

}  // namespace vorlin::ui
