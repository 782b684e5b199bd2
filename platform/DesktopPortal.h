#pragma once

#include <QDBusConnection>
#include <QString>

namespace vorlin::platform::portal {

// The desktop's portal on the session bus, as every portal of it is reached.
inline const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
inline const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
inline constexpr uint kResponseSuccess = 0;

// The object path of the request asked for with this handle token: known
// before the call, so that its answer cannot come before anyone listens.
inline QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

}  // namespace vorlin::platform::portal
