#include "platform/X11GlobalShortcut.h"

#include "platform/KeyChord.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cstdlib>
#include <memory>

namespace vorlin::platform {
namespace {

constexpr std::uint8_t kBadAccess = 10;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template<typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// The keyboard's symbols, key by key, as the server has them now.
class KeyboardMap {
public:
    explicit KeyboardMap(xcb_connection_t* c)
    {
        const xcb_setup_t* setup = xcb_get_setup(c);
        first_ = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        reply_.reset(xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first_, std::uint8_t(count)), nullptr));
        modifiers_.reset(xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    }

    // Every key that carries the symbol on any of its levels.
    std::vector<xcb_keycode_t> keysOf(std::uint32_t symbol) const
    {
        std::vector<xcb_keycode_t> keys;
        if (!reply_)
            return keys;
        const int perKey = reply_->keysyms_per_keycode;
        const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(reply_.get());
        const int total = xcb_get_keyboard_mapping_keysyms_length(reply_.get());
        for (int i = 0; perKey > 0 && i < total; ++i)
            if (symbols[i] == symbol && (keys.empty() || keys.back() != xcb_keycode_t(first_ + i / perKey)))
                keys.push_back(xcb_keycode_t(first_ + i / perKey));
        return keys;
    }

    // The modifier bit that a key with the symbol sets; the fallback when
    // no modifier key carries it.
    std::uint16_t maskOf(std::uint32_t symbol, std::uint16_t fallback) const
    {
        if (!modifiers_)
            return fallback;
        const std::vector<xcb_keycode_t> keys = keysOf(symbol);
        const int perModifier = modifiers_->keycodes_per_modifier;
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(modifiers_.get());
        for (int modifier = 0; modifier < 8; ++modifier)
            for (int i = 0; i < perModifier; ++i)
                for (const xcb_keycode_t key : keys)
                    if (key && codes[modifier * perModifier + i] == key)
                        return std::uint16_t(1u << modifier);
        return fallback;
    }

private:
    xcb_keycode_t first_ = 0;
    Reply<xcb_get_keyboard_mapping_reply_t> reply_;
    Reply<xcb_get_modifier_mapping_reply_t> modifiers_;
};

}  // namespace

X11GlobalShortcut::X11GlobalShortcut(QObject* parent) : GlobalShortcut(parent) {}

X11GlobalShortcut::~X11GlobalShortcut()
{
    if (connection_) {
        ungrab();
        xcb_disconnect(connection_);
    }
}

bool X11GlobalShortcut::connect()
{
    if (connection_)
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return false;
    }
    notifier_ = new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read, this);
    QObject::connect(notifier_, &QSocketNotifier::activated, this, &X11GlobalShortcut::readEvents);
    return true;
}

ShortcutState X11GlobalShortcut::bind(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (connection_)
        ungrab();
    key_ = key;
    modifiers_ = modifiers;
    state_ = !key ? ShortcutState::Off : !connect() ? ShortcutState::NotOffered : grab();
    // Events the checks above read from the socket wait in the connection.
    if (connection_)
        QMetaObject::invokeMethod(this, &X11GlobalShortcut::readEvents, Qt::QueuedConnection);
    return state_;
}

ShortcutState X11GlobalShortcut::grab()
{
    xcb_connection_t* c = connection_;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const KeyboardMap keyboard(c);
    const std::vector<xcb_keycode_t> keys = keyboard.keysOf(keysymOf(key_));
    if (keys.empty())
        return ShortcutState::NotOffered;

    std::uint16_t chord = 0;
    if (modifiers_ & Qt::ShiftModifier)
        chord |= XCB_MOD_MASK_SHIFT;
    if (modifiers_ & Qt::ControlModifier)
        chord |= XCB_MOD_MASK_CONTROL;
    if (modifiers_ & Qt::AltModifier)
        chord |= keyboard.maskOf(XKB_KEY_Alt_L, XCB_MOD_MASK_1);
    if (modifiers_ & Qt::MetaModifier)
        chord |= keyboard.maskOf(XKB_KEY_Super_L, XCB_MOD_MASK_4);
    const std::uint16_t numLock = keyboard.maskOf(XKB_KEY_Num_Lock, XCB_MOD_MASK_2);
    const std::uint16_t locks[] = {0, XCB_MOD_MASK_LOCK, numLock, std::uint16_t(XCB_MOD_MASK_LOCK | numLock)};

    std::vector<std::pair<Grab, xcb_void_cookie_t>> asked;
    for (const xcb_keycode_t key : keys)
        for (const std::uint16_t lock : locks)
            asked.push_back({{key, std::uint16_t(chord | lock)},
                             xcb_grab_key_checked(c, 1, root, chord | lock, key, XCB_GRAB_MODE_ASYNC,
                                                  XCB_GRAB_MODE_ASYNC)});
    bool taken = false;
    for (const auto& [grab, cookie] : asked) {
        if (Reply<xcb_generic_error_t> error{xcb_request_check(c, cookie)}) {
            taken = taken || error->error_code == kBadAccess;
            continue;
        }
        grabs_.push_back(grab);
    }
    if (taken || grabs_.empty()) {
        ungrab();
        return taken ? ShortcutState::TakenByOther : ShortcutState::NotOffered;
    }
    return ShortcutState::Registered;
}

void X11GlobalShortcut::ungrab()
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    for (const Grab& grab : grabs_)
        xcb_ungrab_key(connection_, grab.keycode, root, grab.modifiers);
    grabs_.clear();
    xcb_flush(connection_);
}

void X11GlobalShortcut::readEvents()
{
    bool pressed = false;
    bool remapped = false;
    while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
        switch (event->response_type & 0x7f) {
        case XCB_KEY_PRESS:
            pressed = true;
            break;
        case XCB_MAPPING_NOTIFY:
            remapped = remapped || reinterpret_cast<xcb_mapping_notify_event_t*>(event.get())->request != XCB_MAPPING_POINTER;
            break;
        default:
            break;
        }
    }
    if (xcb_connection_has_error(connection_)) {
        notifier_->setEnabled(false);
        state_ = ShortcutState::NotOffered;
        Q_EMIT stateChanged(state_);
        return;
    }
    // Another layout may carry the key elsewhere: the grab moves with it.
    if (remapped && state_ == ShortcutState::Registered) {
        ungrab();
        if (const ShortcutState now = grab(); now != state_) {
            state_ = now;
            Q_EMIT stateChanged(state_);
        }
    }
    if (pressed)
        Q_EMIT this->pressed();
}

}  // namespace vorlin::platform
