#pragma once

#include "data/Color.h"

#include <QFlags>
#include <QFont>
#include <QString>

namespace vorlin {

enum class FontStyle { Bold = 1, Italic = 2, Underline = 4, Strikeout = 8 };
Q_DECLARE_FLAGS(FontStyles, FontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(FontStyles)

// A font as the program keeps and stores it: face, size in points, styles and
// colour. Pitch and character set are not kept.
struct Font {
    static constexpr qsizetype kMaxFaceLength = 31;

    QString face;
    int size = 8;
    FontStyles styles;
    Color color = colors::clWindowText;

    // The platform's default user-interface face at 8 points, window-text
    // colour, no style.
    static Font platformDefault();

    // Sets the face, cut to its 31 characters.
    void setFace(const QString& name) { face = name.left(kMaxFaceLength); }

    // The font for drawing. A size of 0 keeps Qt's default size; a negative
    // size is a height in pixels.
    QFont toQFont() const;
    static Font fromQFont(const QFont& font, Color color);

    friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace vorlin
