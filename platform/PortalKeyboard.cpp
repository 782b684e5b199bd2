#include "platform/PortalKeyboard.h"

#include "platform/DesktopPortal.h"
#include "platform/KeyChord.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QEventLoop>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

namespace vorlin::platform {
namespace {

const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
constexpr uint kKeyboardDevice = 1;
constexpr uint kPersistUntilRevoked = 2;

// Receives one Response signal.
class ResponseWaiter : public QObject {
    Q_OBJECT
public:
    std::optional<QVariantMap> results;
    bool answered = false;
    QEventLoop loop;

public Q_SLOTS:
    void response(uint code, const QVariantMap& values)
    {
        answered = true;
        if (code == portal::kResponseSuccess)
            results = values;
        loop.quit();
    }
};

}  // namespace

PortalKeyboard::PortalKeyboard(QString tokenFile, QDBusConnection bus) : tokenFile_(std::move(tokenFile)), bus_(bus) {}

bool PortalKeyboard::offered() const
{
    if (!bus_.isConnected() || !bus_.interface()->isServiceRegistered(portal::kService).value())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(portal::kService, portal::kPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kRemoteDesktop << QStringLiteral("AvailableDeviceTypes");
    const QDBusMessage reply = bus_.call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && (qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toUInt() & kKeyboardDevice);
}

std::optional<QVariantMap> PortalKeyboard::request(const QString& method, const QVariantList& arguments,
                                                   QVariantMap options)
{
    const QString token = QStringLiteral("vorlin%1").arg(++requests_);
    options.insert(QStringLiteral("handle_token"), token);
    const QString path = portal::requestPath(bus_, token);
    ResponseWaiter waiter;
    bus_.connect(portal::kService, path, portal::kRequest, QStringLiteral("Response"), &waiter,
                 SLOT(response(uint, QVariantMap)));
    QDBusMessage call = QDBusMessage::createMethodCall(portal::kService, portal::kPath, kRemoteDesktop, method);
    call.setArguments(arguments + QVariantList{options});
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ReplyMessage && !waiter.answered) {
        // The portal answers with a signal on this thread's bus connection;
        // the keyboard's callers need the session before they can type.
        // While the desktop asks for consent the window takes no input: a
        // second "Vložit" would start a second conversation inside this one.
        QTimer::singleShot(answerTimeoutMs, &waiter.loop, &QEventLoop::quit);
        waiter.loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    bus_.disconnect(portal::kService, path, portal::kRequest, QStringLiteral("Response"), &waiter,
                    SLOT(response(uint, QVariantMap)));
    return reply.type() == QDBusMessage::ReplyMessage ? waiter.results : std::nullopt;
}

bool PortalKeyboard::startSession()
{
    const auto created = request(QStringLiteral("CreateSession"), {},
                                 {{QStringLiteral("session_handle_token"), QStringLiteral("vorlin")}});
    if (!created)
        return false;
    const QDBusObjectPath session(created->value(QStringLiteral("session_handle")).toString());
    QVariantMap selection{{QStringLiteral("types"), kKeyboardDevice},
                          {QStringLiteral("persist_mode"), kPersistUntilRevoked}};
    QFile saved(tokenFile_);
    if (saved.open(QIODevice::ReadOnly))
        selection.insert(QStringLiteral("restore_token"), QString::fromUtf8(saved.readAll()).trimmed());
    if (!request(QStringLiteral("SelectDevices"), {QVariant::fromValue(session)}, selection))
        return false;
    const auto started = request(QStringLiteral("Start"), {QVariant::fromValue(session), QString()}, {});
    if (!started || !(started->value(QStringLiteral("devices")).toUInt() & kKeyboardDevice))
        return false;
    // The next run starts without asking the user again.
    const QString restore = started->value(QStringLiteral("restore_token")).toString();
    if (!restore.isEmpty()) {
        QSaveFile token(tokenFile_);
        if (token.open(QIODevice::WriteOnly)) {
            token.write(restore.toUtf8());
            token.commit();
        }
    }
    session_ = session;
    return true;
}

bool PortalKeyboard::sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    // The user is asked once a run; a refusal stands until the next.
    if (session_.path().isEmpty()) {
        if (refused_)
            return false;
        if (!startSession()) {
            refused_ = true;
            return false;
        }
    }
    for (const KeyStroke& stroke : chordStrokes(key, modifiers)) {
        QDBusMessage notify = QDBusMessage::createMethodCall(portal::kService, portal::kPath, kRemoteDesktop,
                                                             QStringLiteral("NotifyKeyboardKeysym"));
        notify << QVariant::fromValue(session_) << QVariantMap() << int(keysymOf(stroke.key))
               << uint(stroke.press ? 1 : 0);
        if (bus_.call(notify, QDBus::Block, 2000).type() != QDBusMessage::ReplyMessage)
            return false;
    }
    return true;
}

}  // namespace vorlin::platform

#include "PortalKeyboard.moc"
