#pragma once

#include "platform/Keyboard.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace vorlin::platform {

// Key events through the desktop's RemoteDesktop portal (GNOME, KDE): a
// session with a keyboard device, asked for at the first chord; the desktop
// asks the user once, and the permission's restore token, kept in a file,
// spares the question in later runs. Keys go as symbols, so the user's layout
// does not matter. False from sendChord when there is no portal or the
// user refused.
class PortalKeyboard : public Keyboard {
public:
    // The restore token lives in tokenFile; the bus is the session's own
    // unless a test gives another.
    explicit PortalKeyboard(QString tokenFile, QDBusConnection bus = QDBusConnection::sessionBus());

    // Whether the bus has a desktop portal offering remote desktops.
    bool offered() const;

    bool sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers) override;

    // How long the user may take to answer the desktop's question.
    int answerTimeoutMs = 120000;

private:
    bool startSession();
    // Calls a method that answers through a request object's Response
    // signal; the results, or nothing when it failed or was refused.
    std::optional<QVariantMap> request(const QString& method, const QVariantList& arguments, QVariantMap options);

    QString tokenFile_;
    QDBusConnection bus_;
    QDBusObjectPath session_;
    bool refused_ = false;
    int requests_ = 0;
};

}  // namespace vorlin::platform
