#pragma once

#include "platform/Keyboard.h"

#include <array>
#include <cstdint>

namespace vorlin {

// A modifier set: bit 0 Shift, bit 1 Alt, bit 2 Ctrl; other bits are ignored.
struct ModifierKey {
    std::uint8_t bit;
    std::uint8_t virtualKey;
};

// The modifiers in the order they go down: Ctrl, Shift, Alt.
inline constexpr std::array<ModifierKey, 3> ModifierKeyTable{{
    {4, platform::kVkControl},
    {1, platform::kVkShift},
    {2, platform::kVkMenu},
}};

// One press and release of a key with the modifiers of the set held down:
// the modifiers go down in the table's order, the key goes down and up
// (extended when asked), the modifiers come up in the reverse order. Each
// event carries the scan code of its key, asked for at that event.
void SendKeyCombination(platform::Keyboard& keyboard, std::uint16_t virtualKey, std::uint8_t modifiers,
                        bool extended);

}  // namespace vorlin
