#pragma once

#include <QFile>
#include <QString>

#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vorlin::test {

// The uid and gid of "nobody": another local user, as an attacker would be.
inline constexpr uid_t kNobody = 65534;

// A process of another user listening at the path until the scope ends; it
// ends with status 42 when it is told anything. The socket is open to all,
// as an attacker would leave it for the victim to connect.
class ForeignListener {
public:
    explicit ForeignListener(const QString& path)
    {
        const QByteArray where = QFile::encodeName(path);
        pid_ = ::fork();
        if (pid_ == 0) {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(1);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, where.constData(), sizeof address.sun_path - 1);
            if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0)
                ::_exit(2);
            ::chmod(where.constData(), 0777);
            for (;;) {
                const int client = ::accept(fd, nullptr, nullptr);
                char request[16];
                if (client >= 0 && ::read(client, request, sizeof request) > 0)
                    ::_exit(42);  // it was told something
            }
        }
        for (int i = 0; i < 200 && !QFile::exists(path); ++i)
            ::usleep(10000);
    }
    // The listener's exit status once it has ended, or -1 while it runs.
    int status()
    {
        int status = 0;
        return ::waitpid(pid_, &status, WNOHANG) == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ~ForeignListener()
    {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = -1;
};

}  // namespace vorlin::test
