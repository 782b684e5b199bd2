#include "data/FontText.h"

#include "common/Integer.h"

namespace vorlin {
namespace {

// Pieces of the text are taken by 1-based position and count; a count below 1
// or a start past the end gives an empty piece.
QStringView piece(QStringView text, qsizetype position, qsizetype count)
{
    const qsizetype start = position - 1;
    if (count <= 0 || start >= text.size())
        return {};
    return text.sliced(start, std::min(count, text.size() - start));
}

// Position of the first comma, 0 when there is none.
qsizetype firstComma(QStringView text)
{
    return text.indexOf(u',') + 1;
}

// Drops the text up to and including position p (nothing when p is 0).
QStringView dropThrough(QStringView text, qsizetype p)
{
    return text.sliced(p);
}

}  // namespace

QString fontSpecText(const Font& font)
{
    QString styles;
    if (font.styles.testFlag(FontStyle::Bold))
        styles += u"|Bold";
    if (font.styles.testFlag(FontStyle::Italic))
        styles += u"|Italic";
    if (font.styles.testFlag(FontStyle::Underline))
        styles += u"|Underline";
    if (font.styles.testFlag(FontStyle::Strikeout))
        styles += u"|Strikeout";
    if (styles.startsWith(u'|'))
        styles.remove(0, 1);

    return QStringLiteral("\"%1\", %2, [%3], [%4]")
        .arg(font.face, QString::number(font.size), styles, colorToText(font.color));
}

void readFontSpec(QStringView text, Font& font)
{
    // Face: between the opening quote and its closing quote before a comma;
    // a typed name may hold a comma itself ("DejaVu Sans, Condensed").
    const qsizetype closingQuote = text.startsWith(u'"') ? text.indexOf(u"\",", 1) : -1;
    qsizetype p = closingQuote > 0 ? closingQuote + 2 : firstComma(text);
    const QStringView face = piece(text, 2, p - 3);
    if (!face.isEmpty())
        font.setFace(face.toString());
    text = dropThrough(text, p);

    // Size: after the blank, up to the comma.
    p = firstComma(text);
    font.size = parseInteger(piece(text, 2, p - 2), HexPrefix::Dollar);
    text = dropThrough(text, p);

    // Styles: inside the brackets; applied last.
    p = firstComma(text);
    const QString styles = u'|' + piece(text, 3, p - 4).toString();
    text = dropThrough(text, p);

    // Colour: inside the brackets, to the last but one character.
    font.color = colorFromText(piece(text, 3, text.size() - 3));

    font.styles = {};
    if (styles.contains(u"|Bold"))
        font.styles |= FontStyle::Bold;
    if (styles.contains(u"|Italic"))
        font.styles |= FontStyle::Italic;
    if (styles.contains(u"|Underline"))
        font.styles |= FontStyle::Underline;
    if (styles.contains(u"|Strikeout"))
        font.styles |= FontStyle::Strikeout;
}

}  // namespace vorlin
