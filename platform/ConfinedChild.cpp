#include "platform/ConfinedChild.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vorlin::platform {

namespace {

bool writeProcFile(const char* path, const char* text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const auto length = ssize_t(std::strlen(text));
    const bool written = ::write(fd, text, size_t(length)) == length;
    ::close(fd);
    return written;
}

// A network namespace of the child's own holds a loopback that is down and no
// other interface. Unix sockets in the file system (the office's pipe) are
// not part of it and keep working. Root may make one directly; another user
// makes a user namespace first, in which it keeps its own uid and gid.
bool isolateNetwork(const Confinement& c)
{
    if (::geteuid() == 0)
        return ::unshare(CLONE_NEWNET) == 0;
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
        return false;
    char map[64];
    std::snprintf(map, sizeof map, "%u %u 1\n", unsigned(c.uid), unsigned(c.uid));
    if (!writeProcFile("/proc/self/uid_map", map))
        return false;
    // Group mappings need the supplementary groups to stay as they are.
    if (!writeProcFile("/proc/self/setgroups", "deny"))
        return false;
    std::snprintf(map, sizeof map, "%u %u 1\n", unsigned(c.gid), unsigned(c.gid));
    return writeProcFile("/proc/self/gid_map", map);
}

}  // namespace

Confinement::Confinement() : parent(::getpid()), uid(::geteuid()), gid(::getegid()) {}

void confineChild(const Confinement& confinement)
{
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The program may have ended before the signal was asked for.
    if (::getppid() != confinement.parent)
        ::_exit(kExitParentGone);
    const rlimit limit{rlim_t(confinement.addressSpaceBytes), rlim_t(confinement.addressSpaceBytes)};
    if (::setrlimit(RLIMIT_AS, &limit) != 0)
        ::_exit(kExitNoMemoryLimit);
    if (!isolateNetwork(confinement))
        ::_exit(kExitNoNetworkIsolation);
}

QString confinementFailure(int exitCode)
{
    switch (exitCode) {
    case kExitNoMemoryLimit:
        return QStringLiteral("nelze omezit jeho paměť");
    case kExitNoNetworkIsolation:
        return QStringLiteral("nelze ho oddělit od sítě (systém nedovoluje vlastní síťový prostor, "
                              "viz kernel.unprivileged_userns_clone)");
    default:
        return {};
    }
}

}  // namespace vorlin::platform
