#include "platform/SessionKeyboard.h"

#include "platform/PortalKeyboard.h"
#include "platform/WaylandVirtualKeyboard.h"
#include "platform/XTestKeyboard.h"

namespace vorlin::platform {

SessionKeyboard::SessionKeyboard(GraphicalSession session, QString portalTokenFile, QObject* parent)
    : QObject(parent), session_(session), portalTokenFile_(std::move(portalTokenFile))
{
}

SessionKeyboard::~SessionKeyboard() = default;

Keyboard& SessionKeyboard::chosen()
{
    if (!chosen_) {
        if (session_.isWayland()) {
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
