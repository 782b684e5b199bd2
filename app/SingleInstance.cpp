#include "app/SingleInstance.h"

#include "common/GraphicalSession.h"

#include <QDir>
#include <QLocalSocket>

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlin {
namespace {

const QByteArray kShowRequest = "show\n";
const QByteArray kQuickInsertRequest = "quick-insert\n";

// A folder that only this user can enter: a real folder (no link), the
// user's own, closed to everyone else.
bool isPrivateFolder(const QString& folder)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// The session's runtime folder, else one of this user's own in the temporary
// folder, made when missing. Empty when neither is private: a name that
// another user can take over must not be used.
QString privateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    const QString own = QStringLiteral("%1/vorlin-%2").arg(QDir::tempPath()).arg(::geteuid());
    if (::mkdir(QFile::encodeName(own).constData(), 0700) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(own) ? own : QString();
}

// Whether the other end of a connected local socket runs as this user.
bool peerIsThisUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
        && peer.uid == ::geteuid();
}

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name))
{
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (!peerIsThisUser(*socket)) {
                socket->abort();
                continue;
            }
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                const QByteArray request = socket->readAll();
                if (request.contains(kShowRequest))
                    Q_EMIT showRequested();
                else if (request.contains(kQuickInsertRequest))
                    Q_EMIT quickInsertRequested();
            });
        }
    });
}

QString SingleInstance::defaultName()
{
    const QString folder = privateFolder();
    if (folder.isEmpty())
        return {};
    return QStringLiteral("%1/vorlin-%2-%3").arg(folder).arg(::geteuid()).arg(graphicalSessionName());
}

bool SingleInstance::handOverToRunningCopy(Request request, int timeoutMs) const
{
    if (name_.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs) || !peerIsThisUser(socket))
        return false;
    socket.write(request == Request::QuickInsert ? kQuickInsertRequest : kShowRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    if (name_.isEmpty())
        return false;
    if (server_.listen(name_))
        return true;
    // Nobody answered there: what is left is the socket of a copy that ended
    // without cleaning up.
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

}  // namespace vorlin
