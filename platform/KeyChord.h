#pragma once

#include <QList>

#include <cstdint>
#include <Qt>

namespace vorlin::platform {

// One key going down or up.
struct KeyStroke {
    Qt::Key key;
    bool press;
    bool operator==(const KeyStroke&) const = default;
};

// The strokes of a chord, in the order the program has always typed it: the
// modifiers go down Ctrl, Shift, Alt, the key goes down and up, and the
// modifiers come up in the reverse order.
QList<KeyStroke> chordStrokes(Qt::Key key, Qt::KeyboardModifiers modifiers);

// The key's symbol as X11 and XKB number it (the same numbers), 0 for a key
// the program neither types nor takes for a shortcut.
std::uint32_t keysymOf(Qt::Key key);

}  // namespace vorlin::platform
