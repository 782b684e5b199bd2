#include "platform/OwnOfficePipe.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vorlin::platform {

namespace {

QString userName(uid_t uid)
{
    const passwd* user = ::getpwuid(uid);
    return user && user->pw_name ? QString::fromLocal8Bit(user->pw_name) : QString::number(uid);
}

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw ForeignPipeError(QStringLiteral("Spojení s LibreOffice „%1“ nepatří vám: %2. Nic se tam neposlalo; "
                                          "soubor musí odstranit jeho vlastník nebo správce počítače.")
                               .arg(path, why));
}

}  // namespace

QString officePipePath(const QString& pipeName)
{
    return QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(::getuid()).arg(pipeName);
}

int connectToOwnPipe(const QString& pipeName)
{
    const QString path = officePipePath(pipeName);
    const QByteArray where = QFile::encodeName(path);
    // In /tmp, which keeps everyone's files from the others, a socket of this
    // user stays this user's: no one else can put another in its place.
    struct stat info {};
    if (::lstat(where.constData(), &info) != 0)
        return -1;
    if (S_ISLNK(info.st_mode))
        refuse(path, QStringLiteral("je to odkaz na jiný soubor"));
    if (!S_ISSOCK(info.st_mode))
        refuse(path, QStringLiteral("není to soket"));
    if (info.st_uid != ::geteuid())
        refuse(path, QStringLiteral("patří uživateli %1").arg(userName(info.st_uid)));

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (where.size() >= qsizetype(sizeof address.sun_path))
        refuse(path, QStringLiteral("název je příliš dlouhý"));
    std::memcpy(address.sun_path, where.constData(), size_t(where.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::geteuid()) {
        ::close(fd);
        refuse(path, QStringLiteral("naslouchá na něm program uživatele %1").arg(userName(peer.uid)));
    }
    return fd;
}

}  // namespace vorlin::platform
