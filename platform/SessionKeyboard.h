#pragma once

#include "common/GraphicalSession.h"
#include "platform/Keyboard.h"

#include <QObject>
#include <QString>

#include <memory>

namespace vorlin::platform {

// The way this session offers to type for the user, found at the first
// chord and kept: a Wayland compositor's virtual keyboard where it offers one
// (wlroots; it reaches native and XWayland windows alike), else the desktop's
// RemoteDesktop portal (GNOME, KDE), else the X server's test extension (X11,
// or the X11 programs under XWayland). False from sendChord when the session
// offers none, or the user refused the portal.
class SessionKeyboard : public QObject, public Keyboard {
    Q_OBJECT
public:
    // The portal's permission is remembered in portalTokenFile.
    SessionKeyboard(GraphicalSession session, QString portalTokenFile, QObject* parent = nullptr);
    ~SessionKeyboard() override;

    bool sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers) override;

private:
    Keyboard& chosen();

    GraphicalSession session_;
    QString portalTokenFile_;
    std::unique_ptr<Keyboard> chosen_;
};

}  // namespace vorlin::platform
