#pragma once

#include <QString>

#include <sys/types.h>

namespace vorlin::platform {

// What a helper process started by this program (the import's private office)
// may do: it reaches no network, not even the loopback, it is killed with the
// program, and its address space is bounded, so that a hostile document can
// neither signal home nor eat the machine's memory.
struct Confinement {
    Confinement();

    qulonglong addressSpaceBytes = 1536ull << 20;
    // A network namespace of its own where the system allows one; else (or
    // when this is false) a system-call filter that refuses network sockets.
    bool networkNamespace = true;
    // Taken when the confinement is made, in the parent: the child compares
    // them with its own view after the fork.
    pid_t parent;
    mode_t fileMask;  // the user's: what the office writes is as the user's own
    uid_t uid;
    gid_t gid;
};

// Applies the confinement in the child between fork and exec (a QProcess
// child modifier): only system calls, nothing that allocates. A step that
// fails ends the child with one of the exit codes below. The child also gets
// a process group of its own, so that killing the group ends all of it.
//
// The death signal fires when the thread that started the child ends: start
// such a child from a thread that lives as long as the child should.
void confineChild(const Confinement& confinement);

inline constexpr int kExitParentGone = 121;
inline constexpr int kExitNoMemoryLimit = 122;
inline constexpr int kExitNoNetworkIsolation = 123;

// The reason, in Czech, for an exit code above; empty for any other code.
QString confinementFailure(int exitCode);

}  // namespace vorlin::platform
