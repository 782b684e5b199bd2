#pragma once

#include "platform/Keyboard.h"

#include <QList>
#include <QString>

namespace vorlin::test {

// A keyboard that types nothing and records every call, in order.
class RecordingKeyboard : public platform::Keyboard {
public:
    unsigned scanCode(unsigned virtualKey) override
    {
        calls << QStringLiteral("scan %1").arg(virtualKey, 2, 16, QChar(u'0'));
        return virtualKey + 0x100;  // more than a byte: the low byte is what goes on
    }

    void keyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, unsigned flags) override
    {
        calls << QStringLiteral("key %1 %2 %3")
                     .arg(virtualKey, 2, 16, QChar(u'0'))
                     .arg(scanCode, 2, 16, QChar(u'0'))
                     .arg(flags);
    }

    // The key events alone.
    QStringList events() const
    {
        QStringList keys;
        for (const QString& call : calls)
            if (call.startsWith(u"key"))
                keys << call;
        return keys;
    }

    QStringList calls;
};

}  // namespace vorlin::test
