#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>

#include <unistd.h>

namespace vorlin {
namespace {

const QByteArray kShowRequest = "show\n";

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name))
{
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kShowRequest))
                    Q_EMIT showRequested();
            });
        }
    });
}

QString SingleInstance::defaultName()
{
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    for (QChar& c : display)
        if (!c.isLetterOrNumber())
            c = u'_';
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QDir::tempPath();
    return QStringLiteral("%1/vorlin-%2-%3").arg(folder).arg(getuid()).arg(display);
}

bool SingleInstance::handOverToRunningCopy(int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    if (server_.listen(name_))
        return true;
    // Nobody answered there: what is left is the socket of a copy that ended
    // without cleaning up.
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

}  // namespace vorlin
