#include "platform/SessionKeyboard.h"

#include "platform/WaylandVirtualKeyboard.h"
#include "platform/XTestKeyboard.h"

namespace vorlin::platform {

SessionKeyboard::SessionKeyboard(QObject* parent) : QObject(parent) {}

SessionKeyboard::~SessionKeyboard() = default;

Keyboard& SessionKeyboard::chosen()
{
    if (!chosen_) {
        if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
            chosen_ = WaylandVirtualKeyboard::connect();
        if (!chosen_)
            chosen_ = std::make_unique<XTestKeyboard>();
    }
    return *chosen_;
}

bool SessionKeyboard::sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    return chosen().sendChord(key, modifiers);
}

}  // namespace vorlin::platform
