#include "output/KeyCombination.h"

namespace vorlin {
namespace {

void send(platform::Keyboard& keyboard, std::uint8_t virtualKey, unsigned flags)
{
    keyboard.keyEvent(virtualKey, std::uint8_t(keyboard.scanCode(virtualKey)), flags);
}

}  // namespace

void SendKeyCombination(platform::Keyboard& keyboard, std::uint16_t virtualKey, std::uint8_t modifiers,
                        bool extended)
{
    for (const ModifierKey& modifier : ModifierKeyTable)
        if (modifiers & modifier.bit)
            send(keyboard, modifier.virtualKey, 0);
    const unsigned keyFlags = extended ? platform::Keyboard::kExtendedKey : 0;
    const auto key = std::uint8_t(virtualKey & 0xFF);
    send(keyboard, key, keyFlags);
    send(keyboard, key, keyFlags | platform::Keyboard::kKeyUp);
    for (auto modifier = ModifierKeyTable.rbegin(); modifier != ModifierKeyTable.rend(); ++modifier)
        if (modifiers & modifier->bit)
            send(keyboard, modifier->virtualKey, platform::Keyboard::kKeyUp);
}

}  // namespace vorlin
