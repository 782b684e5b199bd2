#include "ui/widgets/FontFormat.h"

#include "data/Color.h"
#include "rtf/Rtf.h"

#include <QTextCursor>
#include <QTextDocument>

namespace vorlin::ui {

QTextCharFormat charFormatOf(const Font& font, const QPalette& palette)
{
    const QFont qfont = font.toQFont();
    QTextCharFormat format;
    format.setFontFamilies({font.face});
    if (font.size > 0)
        format.setFontPointSize(font.size);
    const QColor color = toQColor(font.color, palette);
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

QString bodyWithFont(const QString& body, const Font& font, const QPalette& palette)
{
    QTextDocument document;
    rtf::loadBody(body, document);
    bool changed = false;
    QObject::connect(&document, &QTextDocument::contentsChanged, [&changed] { changed = true; });
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    all.mergeCharFormat(charFormatOf(font, palette));
    // Nothing to give the font to (an empty body): the body stays as stored.
    return changed ? rtf::bodyOf(document) : body;
}

}  // namespace vorlin::ui
