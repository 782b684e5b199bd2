#include "platform/RunningOffice.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace vorlin::platform {
namespace {

constexpr QLatin1StringView kProfileArgument("-env:UserInstallation=");

QByteArray readProcFile(const QString& process, const char* name)
{
    QFile file(process + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A NUL-separated list's entry that starts with the prefix, without it;
// null when there is none.
QByteArray entryAfter(const QByteArray& list, QByteArrayView prefix)
{
    for (const QByteArray& entry : list.split('\0'))
        if (entry.startsWith(prefix))
            return entry.mid(prefix.size());
    return {};
}

bool showsNoWindows(const QByteArray& commandLine)
{
    for (const QByteArray& argument : commandLine.split('\0')) {
        const QByteArray option = argument.startsWith("--") ? argument.mid(1) : argument;
        if (option == "-headless" || option == "-invisible")
            return true;
    }
    return false;
}

}  // namespace

QString officeProfile(const QStringList& officeArguments)
{
    for (const QString& argument : officeArguments)
        if (argument.startsWith(kProfileArgument))
            return argument.mid(kProfileArgument.size());
    return {};
}

QStringList officeProfilesHere()
{
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    const QDir processes(QStringLiteral("/proc"));
    QStringList profiles;
    for (const QString& pid : processes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (pid.isEmpty() || !pid.front().isDigit())
            continue;
        const QString process = processes.filePath(pid) + u'/';
        struct stat owner {};
        if (::stat(QFile::encodeName(process).constData(), &owner) != 0 || owner.st_uid != ::geteuid())
            continue;
        if (readProcFile(process, "comm").trimmed() != "soffice.bin")
            continue;
        const QByteArray environment = readProcFile(process, "environ");
        if (entryAfter(environment, "DISPLAY=") != display || entryAfter(environment, "WAYLAND_DISPLAY=") != wayland)
            continue;
        const QByteArray commandLine = readProcFile(process, "cmdline");
        if (showsNoWindows(commandLine))
            continue;
        const QString profile = QString::fromLocal8Bit(entryAfter(commandLine, QByteArrayView(kProfileArgument.data(), kProfileArgument.size())));
        if (!profiles.contains(profile))
            profiles << profile;
    }
    return profiles;
}

}  // namespace vorlin::platform
