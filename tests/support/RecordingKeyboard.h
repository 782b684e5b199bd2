#pragma once

#include "platform/Keyboard.h"

#include <QKeySequence>
#include <QStringList>

namespace vorlin::test {

// A keyboard that types nothing and records every chord, in order, as its
// portable text ("Ctrl+V").
class RecordingKeyboard : public platform::Keyboard {
public:
    bool sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        calls << QKeySequence(QKeyCombination(modifiers, key)).toString(QKeySequence::PortableText);
        return typing;
    }

    QStringList calls;
    bool typing = true;  // false: as a session without any way to type
};

}  // namespace vorlin::test
