#include "platform/PortalGlobalShortcut.h"

#include "platform/DesktopPortal.h"
#include "platform/KeyChord.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

#include <xkbcommon/xkbcommon.h>

namespace vorlin::platform {
namespace {

const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
const QString kShortcutId = QStringLiteral("quick-insert");

// One shortcut as the portal takes it: its id and its properties.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

}  // namespace
}  // namespace vorlin::platform

Q_DECLARE_METATYPE(vorlin::platform::PortalShortcut)

namespace vorlin::platform {

PortalGlobalShortcut::PortalGlobalShortcut(QDBusConnection bus, QObject* parent) : GlobalShortcut(parent), bus_(bus)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    bus_.connect(portal::kService, portal::kPath, kShortcuts, QStringLiteral("Activated"), this,
                 SLOT(activated(QDBusMessage)));
}

PortalGlobalShortcut::~PortalGlobalShortcut()
{
    closeSession();
}

bool PortalGlobalShortcut::offered(const QDBusConnection& bus)
{
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(portal::kService).value())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(portal::kService, portal::kPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kShortcuts << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

QString PortalGlobalShortcut::triggerText(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QStringList parts;
    if (modifiers & Qt::ControlModifier)
        parts << QStringLiteral("CTRL");
    if (modifiers & Qt::AltModifier)
        parts << QStringLiteral("ALT");
    if (modifiers & Qt::ShiftModifier)
        parts << QStringLiteral("SHIFT");
    if (modifiers & Qt::MetaModifier)
        parts << QStringLiteral("LOGO");
    char name[64] = {};
    const std::uint32_t symbol = keysymOf(key);
    if (!symbol || xkb_keysym_get_name(symbol, name, sizeof name) <= 0)
        return {};
    parts << QString::fromLatin1(name);
    return parts.join(u'+');
}

ShortcutState PortalGlobalShortcut::bind(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    closeSession();
    trigger_.clear();
    if (!key) {
        state_ = ShortcutState::Off;
        return state_;
    }
    wanted_ = triggerText(key, modifiers);
    if (wanted_.isEmpty()
        || !ask(QStringLiteral("CreateSession"), {},
                {{QStringLiteral("session_handle_token"), QStringLiteral("vorlin%1").arg(requests_ + 1)}},
                Step::CreatingSession)) {
        state_ = ShortcutState::NotOffered;
        return state_;
    }
    state_ = ShortcutState::Asking;
    return state_;
}

bool PortalGlobalShortcut::ask(const QString& method, const QVariantList& arguments, QVariantMap options, Step step)
{
    const QString token = QStringLiteral("vorlin%1").arg(++requests_);
    options.insert(QStringLiteral("handle_token"), token);
    requestPath_ = portal::requestPath(bus_, token);
    step_ = step;
    bus_.connect(portal::kService, requestPath_, portal::kRequest, QStringLiteral("Response"), this,
                 SLOT(answered(uint, QVariantMap)));
    QDBusMessage call = QDBusMessage::createMethodCall(portal::kService, portal::kPath, kShortcuts, method);
    call.setArguments(arguments + QVariantList{options});
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    stopListening();
    return false;
}

void PortalGlobalShortcut::answered(uint code, const QVariantMap& results)
{
    const Step step = step_;
    stopListening();
    if (code != portal::kResponseSuccess) {
        settle(ShortcutState::Refused);
        return;
    }
    if (step == Step::CreatingSession) {
        session_ = QDBusObjectPath(results.value(QStringLiteral("session_handle")).toString());
        const QList<PortalShortcut> shortcuts{
            {kShortcutId,
             {{QStringLiteral("description"), QStringLiteral("Rychlé vložení (Vorlin)")},
              {QStringLiteral("preferred_trigger"), wanted_}}}};
        if (!ask(QStringLiteral("BindShortcuts"),
                 {QVariant::fromValue(session_), QVariant::fromValue(shortcuts), QString()}, {}, Step::Binding))
            settle(ShortcutState::NotOffered);
        return;
    }
    if (step != Step::Binding)
        return;
    QList<PortalShortcut> bound;
    const QVariant listed = results.value(QStringLiteral("shortcuts"));
    if (listed.canConvert<QDBusArgument>())
        qvariant_cast<QDBusArgument>(listed) >> bound;
    for (const PortalShortcut& shortcut : bound) {
        if (shortcut.id != kShortcutId)
            continue;
        trigger_ = shortcut.properties.value(QStringLiteral("trigger_description")).toString();
        settle(ShortcutState::Registered);
        return;
    }
    settle(ShortcutState::Refused);
}

void PortalGlobalShortcut::activated(const QDBusMessage& signal)
{
    const QVariantList arguments = signal.arguments();
    if (state_ == ShortcutState::Registered && arguments.size() >= 2
        && qvariant_cast<QDBusObjectPath>(arguments[0]) == session_ && arguments[1].toString() == kShortcutId)
        Q_EMIT pressed();
}

void PortalGlobalShortcut::closeSession()
{
    if (step_ != Step::None)
        stopListening();
    if (session_.path().isEmpty())
        return;
    bus_.call(QDBusMessage::createMethodCall(portal::kService, session_.path(), kSession, QStringLiteral("Close")),
              QDBus::NoBlock);
    session_ = QDBusObjectPath();
}

void PortalGlobalShortcut::stopListening()
{
    bus_.disconnect(portal::kService, requestPath_, portal::kRequest, QStringLiteral("Response"), this,
                    SLOT(answered(uint, QVariantMap)));
    step_ = Step::None;
}

void PortalGlobalShortcut::settle(ShortcutState state)
{
    state_ = state;
    Q_EMIT stateChanged(state_);
}

}  // namespace vorlin::platform
