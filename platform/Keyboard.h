#pragma once

#include <cstdint>

namespace vorlin::platform {

// The keyboard as the program drives it: key events by virtual-key code,
// with the scan code and the flags of the desktop the program comes from.
class Keyboard {
public:
    static constexpr unsigned kExtendedKey = 1;
    static constexpr unsigned kKeyUp = 2;

    virtual ~Keyboard() = default;

    // The scan code of a virtual key; 0 when the keyboard has no such key.
    virtual unsigned scanCode(unsigned virtualKey) = 0;

    // One key going down or, with kKeyUp, up, as if typed: it goes to the
    // window that has the keyboard focus. Nothing is reported either way.
    virtual void keyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, unsigned flags) = 0;
};

// Virtual-key codes the program sends.
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;  // Alt
inline constexpr std::uint8_t kVkV = 0x56;

}  // namespace vorlin::platform
