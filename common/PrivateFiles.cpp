#include "common/PrivateFiles.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace vorlin {

namespace {

mode_t startMask = 022;

// The folder open at fd and what is in it, down the tree.
void closeFolderToOthers(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_uid != ::geteuid())
        return;
    if ((info.st_mode & 077) != 0)
        ::fchmod(fd, info.st_mode & 0700);
    DIR* folder = ::fdopendir(::dup(fd));
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder)) {
        const QByteArray name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        // O_NOFOLLOW: a link is opened as nothing; O_NONBLOCK: a pipe planted
        // here does not hold the start.
        const int child = ::openat(::dirfd(folder), name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (child < 0)
            continue;
        struct stat childInfo {};
        if (::fstat(child, &childInfo) == 0 && childInfo.st_uid == ::geteuid()) {
            if (S_ISDIR(childInfo.st_mode))
                closeFolderToOthers(child);
            else if (S_ISREG(childInfo.st_mode) && (childInfo.st_mode & 077) != 0)
                ::fchmod(child, childInfo.st_mode & 0700);
        }
        ::close(child);
    }
    ::closedir(folder);
}

}  // namespace

void keepNewFilesPrivate()
{
    startMask = ::umask(077);
}

mode_t usersFileMask()
{
    return startMask;
}

void closeToOthers(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    closeFolderToOthers(fd);
    ::close(fd);
}

void withUsersFileMask(const std::function<void()>& start)
{
    const mode_t own = ::umask(startMask);
    start();
    ::umask(own);
}

bool startDetachedForUser(const QString& program, const QStringList& arguments)
{
    // Everything the child needs is made before the fork: after it, only
    // system calls.
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int failed[2];
    if (::pipe2(failed, O_CLOEXEC) != 0)
        return false;
    const mode_t mask = startMask;
    const pid_t child = ::fork();
    if (child == 0) {
        // A grandchild of its own session, so that no ended child is left
        // waiting for this program to collect it.
        ::close(failed[0]);
        if (::fork() != 0)
            ::_exit(0);
        ::setsid();
        ::umask(mask);
        // Nothing of this program's terminal or log: a started office
        // outlives it, and a write to an output nobody reads any more must
        // not reach it.
        if (const int nothing = ::open("/dev/null", O_RDWR); nothing >= 0) {
            ::dup2(nothing, STDIN_FILENO);
            ::dup2(nothing, STDOUT_FILENO);
            ::dup2(nothing, STDERR_FILENO);
            if (nothing > STDERR_FILENO)
                ::close(nothing);
        }
        ::execv(argv[0], argv.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t told = ::write(failed[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(failed[1]);
    if (child < 0) {
        ::close(failed[0]);
        return false;
    }
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t told = 0;
    do
        told = ::read(failed[0], &error, sizeof error);
    while (told < 0 && errno == EINTR);
    ::close(failed[0]);
    return told == 0;  // the pipe closed by a successful exec
}

}  // namespace vorlin
