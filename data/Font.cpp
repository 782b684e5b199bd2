#include "data/Font.h"

#include <QFontInfo>
#include <QGuiApplication>

namespace vorlin {

Font Font::platformDefault()
{
    Font font;
    // The face the windows are drawn in, as the font system resolves it: a
    // generic name such as "Sans Serif" means nothing to a word processor
    // that receives the body.
    // (qGuiApp is a plain cast: a program without a GUI has a core
    // application only, and no fonts.)
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        font.setFace(QFontInfo(QGuiApplication::font()).family());
    else
        font.face = QStringLiteral("Sans Serif");
    return font;
}

QFont Font::toQFont() const
{
    QFont font(face);
    if (size > 0)
        font.setPointSize(size);
    else if (size < 0)
        font.setPixelSize(-size);
    font.setBold(styles.testFlag(FontStyle::Bold));
    font.setItalic(styles.testFlag(FontStyle::Italic));
    font.setUnderline(styles.testFlag(FontStyle::Underline));
    font.setStrikeOut(styles.testFlag(FontStyle::Strikeout));
    return font;
}

Font Font::fromQFont(const QFont& qfont, Color color)
{
    Font font;
    font.setFace(qfont.family());
    font.size = qfont.pointSize() > 0 ? qfont.pointSize() : -qfont.pixelSize();
    font.styles.setFlag(FontStyle::Bold, qfont.bold());
    font.styles.setFlag(FontStyle::Italic, qfont.italic());
    font.styles.setFlag(FontStyle::Underline, qfont.underline());
    font.styles.setFlag(FontStyle::Strikeout, qfont.strikeOut());
    font.color = color;
    return font;
}

}  // namespace vorlin
