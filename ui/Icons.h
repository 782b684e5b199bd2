#pragma once

#include <QIcon>
#include <QImage>

namespace vorlin::ui::icons {

// Glyphs drawn for the program, so that it looks the same on every desktop
// whatever icon theme is installed.
enum class Glyph {
    First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh,
    AlignLeft, AlignCenter, AlignRight, Bold, Italic, Underline, Font, Help,
};

QIcon glyph(Glyph which);

// The program's own icon: the window's and the notification area's.
QIcon application();

// The same picture at any size, for the desktop's icon theme.
QImage applicationImage(int size);

}  // namespace vorlin::ui::icons
