#include "platform/SessionKeyboard.h"

#include "platform/PortalKeyboard.h"
#include "platform/WaylandVirtualKeyboard.h"
#include "platform/XTestKeyboard.h"

namespace vorlin::platform {

SessionKeyboard::SessionKeyboard(QString portalTokenFile, QObject* parent)
    : QObject(parent), portalTokenFile_(std::move(portalTokenFile))
{
}

SessionKeyboard::~SessionKeyboard() = default;

Keyboard& SessionKeyboard::chosen()
{
    if (!chosen_) {
        if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
            chosen_ = WaylandVirtualKeyboard::connect();
            if (!chosen_) {
                auto portal = std::make_unique<PortalKeyboard>(portalTokenFile_);
                if (portal->offered())
                    chosen_ = std::move(portal);
            }
        }
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
