#include "platform/WaylandVirtualKeyboard.h"

#include "platform/KeyChord.h"
#include "platform/WaylandSeat.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <ctime>
#include <memory>
#include <string>

namespace vorlin::platform {
namespace {

// Linux's input codes are XKB's key codes less 8.
constexpr std::uint32_t kEvdevOffset = 8;
constexpr std::uint32_t kKeyReleased = 0;
constexpr std::uint32_t kKeyPressed = 1;
constexpr std::chrono::milliseconds kNewKeyboardSettleTime{150};

std::uint32_t nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

}  // namespace

struct WaylandVirtualKeyboard::Session {
    std::unique_ptr<WaylandSeat> wayland;  // first in, last out
    wl_display* display = nullptr;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
    zwp_virtual_keyboard_v1* keyboard = nullptr;
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    std::string keymapText;
    xkb_mod_mask_t held = 0;

    ~Session()
    {
        if (keyboard)
            zwp_virtual_keyboard_v1_destroy(keyboard);
        if (manager)
            zwp_virtual_keyboard_manager_v1_destroy(manager);
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }

    bool makeKeymap()
    {
        const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
        context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        keymap = context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
        if (!keymap)
            return false;
        const std::unique_ptr<char, decltype(&std::free)> text(xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1),
                                                               &std::free);
        keymapText.assign(text.get(), std::strlen(text.get()) + 1);
        return true;
    }

    // The keymap goes to the compositor as a file it maps.
    bool uploadKeymap()
    {
        const int fd = memfd_create("vorlin-keymap", MFD_CLOEXEC);
        if (fd < 0)
            return false;
        const bool written = write(fd, keymapText.data(), keymapText.size()) == ssize_t(keymapText.size());
        if (written)
            zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           std::uint32_t(keymapText.size()));
        close(fd);
        return written;
    }

    xkb_keycode_t keycodeOf(xkb_keysym_t symbol) const
    {
        for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap); ++code) {
            const xkb_keysym_t* symbols = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &symbols);
            for (int i = 0; i < count; ++i)
                if (symbols[i] == symbol)
                    return code;
        }
        return XKB_KEYCODE_INVALID;
    }

    xkb_mod_mask_t modifierMaskOf(Qt::Key key) const
    {
        const char* name = key == Qt::Key_Control ? XKB_MOD_NAME_CTRL
            : key == Qt::Key_Shift                ? XKB_MOD_NAME_SHIFT
            : key == Qt::Key_Alt                  ? XKB_MOD_NAME_ALT
                                                  : nullptr;
        const xkb_mod_index_t index = name ? xkb_keymap_mod_get_index(keymap, name) : XKB_MOD_INVALID;
        return index == XKB_MOD_INVALID ? 0 : xkb_mod_mask_t(1) << index;
    }
};

std::unique_ptr<WaylandVirtualKeyboard> WaylandVirtualKeyboard::connect()
{
    auto session = std::make_unique<Session>();
    session->wayland = WaylandSeat::connect(zwp_virtual_keyboard_manager_v1_interface);
    if (!session->wayland)
        return nullptr;
    session->display = session->wayland->display();
    session->manager = static_cast<zwp_virtual_keyboard_manager_v1*>(session->wayland->manager());
    session->keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(session->manager, session->wayland->seat());
    if (!session->makeKeymap() || !session->uploadKeymap())
        return nullptr;
    // Keys sent before the compositor has set the new keyboard up are lost
    // (measured with sway: the first chord of a new keyboard, one time in
    // two). The round trips come back once it has handled the requests; the
    // keyboard is made once in the program's life, so the wait is paid once.
    if (wl_display_roundtrip(session->display) < 0)
        return nullptr;
    std::this_thread::sleep_for(kNewKeyboardSettleTime);
    if (wl_display_roundtrip(session->display) < 0)
        return nullptr;
    return std::unique_ptr<WaylandVirtualKeyboard>(new WaylandVirtualKeyboard(std::move(session)));
}

WaylandVirtualKeyboard::WaylandVirtualKeyboard(std::unique_ptr<Session> session) : session_(std::move(session)) {}

WaylandVirtualKeyboard::~WaylandVirtualKeyboard() = default;

bool WaylandVirtualKeyboard::sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    Session& s = *session_;
    // The compositor may have given the keyboard the seat's layout since
    // (sway does so at every change of its input settings): the chord's key
    // codes are those of this keyboard's own keymap.
    if (!s.uploadKeymap())
        return false;
    for (const KeyStroke& stroke : chordStrokes(key, modifiers)) {
        const xkb_keycode_t code = s.keycodeOf(keysymOf(stroke.key));
        if (code == XKB_KEYCODE_INVALID)
            continue;
        zwp_virtual_keyboard_v1_key(s.keyboard, nowMs(), code - kEvdevOffset, stroke.press ? kKeyPressed : kKeyReleased);
        if (const xkb_mod_mask_t mask = s.modifierMaskOf(stroke.key)) {
            s.held = stroke.press ? s.held | mask : s.held & ~mask;
            zwp_virtual_keyboard_v1_modifiers(s.keyboard, s.held, 0, 0, 0);
        }
    }
    return wl_display_roundtrip(s.display) >= 0;
}

}  // namespace vorlin::platform
