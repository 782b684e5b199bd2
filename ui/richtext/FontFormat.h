#pragma once

#include "data/Font.h"

#include <QPalette>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

namespace vorlin::ui {

// The character format that gives text the font: face, size (when given),
// colour (a system colour as the palette has it; none clears the colour),
// bold, italic, underline, strike-out.
QTextCharFormat charFormatOf(const Font& font, const QPalette& palette);

// The selected text in the automatic colour: its runs' own colours go.
void takeColourAway(const QTextCursor& selection);

// A stored body with the whole text in the font, as an editor leaves it
// after "select all" and the font: the rest of its formatting stays, and a
// body with nothing to change is returned as it was.
QString bodyWithFont(const QString& body, const Font& font, const QPalette& palette);

}  // namespace vorlin::ui
