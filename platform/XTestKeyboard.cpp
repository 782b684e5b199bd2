#include "platform/XTestKeyboard.h"

#include "platform/KeyChord.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace vorlin::platform {
namespace {

// The time a spare key keeps its symbol after the send: the receiving
// program reads the changed layout before it reads the key.
constexpr int kSpareKeyHoldMs = 500;

// An X error (a window gone, a refused mapping) must not end the program.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

XTestKeyboard::XTestKeyboard(QObject* parent) : QObject(parent)
{
    restoreTimer_.setSingleShot(true);
    QObject::connect(&restoreTimer_, &QTimer::timeout, this, &XTestKeyboard::restoreSpareKey);
}

XTestKeyboard::~XTestKeyboard()
{
    if (!display_)
        return;
    restoreSpareKey();
    XCloseDisplay(display_);
}

bool XTestKeyboard::connect()
{
    if (display_ || tried_)
        return display_ != nullptr;
    tried_ = true;
    display_ = XOpenDisplay(nullptr);
    if (!display_)
        return false;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
        return false;
    }
    XSetErrorHandler(ignoreXError);
    return true;
}

unsigned XTestKeyboard::keycodeOf(unsigned long symbol, bool bindWhenMissing)
{
    if (symbol == NoSymbol)
        return 0;
    if (spareKeycode_ && spareSymbol_ == symbol)
        return spareKeycode_;
    if (const KeyCode keycode = XKeysymToKeycode(display_, symbol))
        return keycode;
    if (!bindWhenMissing)
        return 0;

    // A key without any symbol takes this one for the send.
    int first = 0, last = 0;
    XDisplayKeycodes(display_, &first, &last);
    int perKeycode = 0;
    KeySym* map = XGetKeyboardMapping(display_, KeyCode(first), last - first + 1, &perKeycode);
    if (!map)
        return 0;
    unsigned spare = 0;
    for (int keycode = last; keycode >= first && !spare; --keycode) {
        bool empty = true;
        for (int i = 0; i < perKeycode; ++i)
            empty = empty && map[(keycode - first) * perKeycode + i] == NoSymbol;
        if (empty)
            spare = unsigned(keycode);
    }
    XFree(map);
    if (!spare)
        return 0;
    restoreSpareKey();
    KeySym bound = symbol;
    XChangeKeyboardMapping(display_, int(spare), 1, &bound, 1);
    XSync(display_, False);
    spareKeycode_ = spare;
    spareSymbol_ = symbol;
    return spare;
}

void XTestKeyboard::restoreSpareKey()
{
    restoreTimer_.stop();
    if (!spareKeycode_ || !display_)
        return;
    KeySym none = NoSymbol;
    XChangeKeyboardMapping(display_, int(spareKeycode_), 1, &none, 1);
    XSync(display_, False);
    spareKeycode_ = 0;
    spareSymbol_ = 0;
}

void XTestKeyboard::releaseHeldModifiers()
{
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    XModifierKeymap* modifiers = XGetModifierMapping(display_);
    if (!modifiers)
        return;
    for (int i = 0; i < 8 * modifiers->max_keypermod; ++i) {
        const KeyCode keycode = modifiers->modifiermap[i];
        if (keycode && (keys[keycode / 8] & (1 << (keycode % 8))) && !down_.count(keycode))
            XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    }
    XFreeModifiermap(modifiers);
}

bool XTestKeyboard::sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (!connect())
        return false;
    for (const KeyStroke& next : chordStrokes(key, modifiers))
        stroke(next.key, next.press);
    return true;
}

void XTestKeyboard::stroke(Qt::Key key, bool press)
{
    const unsigned keycode = keycodeOf(keysymOf(key), press);
    if (!keycode)
        return;
    if (press) {
        if (down_.empty())
            releaseHeldModifiers();
        down_.insert(keycode);
    } else {
        down_.erase(keycode);
    }
    XTestFakeKeyEvent(display_, keycode, press ? True : False, CurrentTime);
    XSync(display_, False);
    if (!press && keycode == spareKeycode_)
        restoreTimer_.start(kSpareKeyHoldMs);
}

}  // namespace vorlin::platform
