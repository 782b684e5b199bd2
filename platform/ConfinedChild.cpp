#include "platform/ConfinedChild.h"

#include "common/PrivateFiles.h"

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/socket.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstddef>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

// Where the system allows no namespace of one's own (a user namespace may be
// forbidden), the child is kept off the network by a system-call filter: it
// may not make Internet or raw sockets; Unix sockets (its pipe) stay.
#if defined(__x86_64__)
constexpr unsigned kArchitecture = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr unsigned kArchitecture = AUDIT_ARCH_AARCH64;
#else
#error "the system-call filter knows no other architecture yet"
#endif

bool filterNetworkSockets()
{
    static sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArchitecture, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_socket, 0, 5),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AF_INET, 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AF_INET6, 1, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AF_PACKET, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EACCES),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    static const sock_fprog filter{sizeof program / sizeof program[0], program};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
        && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

}  // namespace

Confinement::Confinement() : parent(::getpid()), fileMask(usersFileMask()), uid(::geteuid()), gid(::getegid()) {}

void confineChild(const Confinement& confinement)
{
    ::setpgid(0, 0);
    ::umask(confinement.fileMask);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The program may have ended before the signal was asked for.
    if (::getppid() != confinement.parent)
        ::_exit(kExitParentGone);
    const rlimit limit{rlim_t(confinement.addressSpaceBytes), rlim_t(confinement.addressSpaceBytes)};
    if (::setrlimit(RLIMIT_AS, &limit) != 0)
        ::_exit(kExitNoMemoryLimit);
    if (!(confinement.networkNamespace && isolateNetwork(confinement)) && !filterNetworkSockets())
        ::_exit(kExitNoNetworkIsolation);
}

QString confinementFailure(int exitCode)
{
    switch (exitCode) {
    case kExitNoMemoryLimit:
        return QStringLiteral("nelze omezit jeho paměť");
    case kExitNoNetworkIsolation:
        return QStringLiteral("nelze ho oddělit od sítě (systém nedovoluje vlastní síťový prostor "
                              "ani filtr systémových volání)");
    default:
        return {};
    }
}

}  // namespace vorlin::platform
