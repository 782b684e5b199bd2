#pragma once

#include <Qt>

namespace vorlin::platform {

// The keyboard as the program drives it: chords typed as if by the user.
class Keyboard {
public:
    virtual ~Keyboard() = default;

    // One press of the key with the modifiers held, to whichever window has
    // the keyboard focus. False when this session offers no way to type for
    // the user; whether the window took the keys is not known.
    virtual bool sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
};

// A session where no keys can be typed for the user: nothing is sent.
class NoKeyboard : public Keyboard {
public:
    bool sendChord(Qt::Key, Qt::KeyboardModifiers) override { return false; }
    static NoKeyboard& instance()
    {
        static NoKeyboard none;
        return none;
    }
};

}  // namespace vorlin::platform
