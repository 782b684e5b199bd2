#include "platform/RunningOffice.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace vorlin::platform {
namespace {

constexpr QByteArrayView kProfileArgument = "-env:UserInstallation=";

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

QByteArray profileOf(const QStringList& arguments)
{
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1String(kProfileArgument)))
            return argument.mid(kProfileArgument.size()).toUtf8();
    return {};
}

}  // namespace

bool officeRunsHere(const QStringList& officeArguments)
{
    const QByteArray profile = profileOf(officeArguments);
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    const QDir processes(QStringLiteral("/proc"));
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
        if (entryAfter(readProcFile(process, "cmdline"), kProfileArgument) == profile)
            return true;
    }
    return false;
}

}  // namespace vorlin::platform
