#pragma once

#include <Qt>

namespace vorlin::platform {

// The keyboard as the program drives it: chords typed as if by the user.
class Keyboard {
public:
    virtual ~Keyboard() = default;

    // One press of the key with the modifiers held, to whichever window has
    // the keyboard focus. Nothing is reported either way.
    virtual void sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
};

// A session where no keys can be typed for the user: nothing is sent.
class NoKeyboard : public Keyboard {
public:
    void sendChord(Qt::Key, Qt::KeyboardModifiers) override {}
    static NoKeyboard& instance()
    {
        static NoKeyboard none;
        return none;
    }
};

}  // namespace vorlin::platform
