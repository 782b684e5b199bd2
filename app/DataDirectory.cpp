#include "app/DataDirectory.h"

#include "common/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vorlin {

QString dataDirFromAppData(const QString& appDataFolder, const QString& exeDir)
{
    const qsizetype roaming = appDataFolder.indexOf(QStringLiteral("Roaming"), 0, Qt::CaseSensitive);
    const QString folder = roaming >= 0 ? appDataFolder.left(roaming) : QString();
    const QString suffix = QStringLiteral("Local\\Vorlin\\");
    const QString dataDir = folder + suffix;
    return dataDir == suffix ? exeDir : dataDir;
}

QString dataDirFromEnvironment(const QString& xdgDataHome, const QString& home, const QString& exeDir)
{
    if (!xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome))
        return QDir::cleanPath(xdgDataHome) + QStringLiteral("/Vorlin/");
    if (!home.isEmpty())
        return QDir::cleanPath(home) + QStringLiteral("/.local/share/Vorlin/");
    return exeDir;
}

QString usableFolderName(const QByteArray& native)
{
    if (native.isEmpty() || QString::fromUtf8(native).toUtf8() == native)
        return QString::fromUtf8(native);
    // The name is not UTF-8: Qt's file functions would read it as another
    // name. The folder is made by its bytes and reached through a descriptor
    // held open for the whole run.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(native.toStdString()), ignored);
    const int fd = ::open(native.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return QString::fromUtf8(native);  // not usable: the first file opened there says so
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

QString processExeDir()
{
    std::error_code error;
    const auto exe = std::filesystem::canonical("/proc/self/exe", error);
    if (error)
        return QDir::currentPath() + u'/';
    QString dir = usableFolderName(QByteArray::fromStdString(exe.parent_path().native()));
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

Paths startupPaths()
{
    Paths result;
    result.exeDir = processExeDir();
    // An XDG_DATA_HOME that is not absolute is not used, so it is not made.
    const QByteArray xdgDataHome = qgetenv("XDG_DATA_HOME");
    result.dataDir = dataDirFromEnvironment(xdgDataHome.startsWith('/') ? usableFolderName(xdgDataHome) : QString(),
                                            usableFolderName(qgetenv("HOME")), result.exeDir);
    result.filterDir = filterDirOf(result.dataDir);
    return result;
}

QList<SeedFile> seedFiles(const Paths& paths)
{
    return {
        {libraryFileIn(paths.exeDir), libraryFileIn(paths.dataDir)},
        {paths.exeDir + QStringLiteral("vorlin_druh.txt"), paths.dataDir + QStringLiteral("vorlin_druh.txt")},
        {paths.exeDir + QStringLiteral("filtr_adres.txt"), paths.filterDir + QStringLiteral("filtr_adres.txt")},
    };
}

namespace {

void copyIfMissing(const SeedFile& seed)
{
    // A link stays, also one to a file that is gone: the user put it there.
    if (QFileInfo::exists(seed.target) || QFileInfo(seed.target).isSymLink())
        return;
    const QString partial = seed.target + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(seed.source, partial))
        return;
    // Seeds installed read-only must still give the user files to write to.
    QFile::setPermissions(partial, QFile::permissions(partial) | QFile::ReadOwner | QFile::WriteOwner);
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(seed.target).constData()) != 0)
        QFile::remove(partial);
}

}  // namespace

void seedDataDir(const Paths& paths)
{
    QDir().mkpath(paths.dataDir);
    QDir().mkpath(paths.filterDir);
    for (const SeedFile& seed : seedFiles(paths))
        copyIfMissing(seed);
    if (paths.dataDir != paths.exeDir)
        closeToOthers(paths.dataDir);
}

}  // namespace vorlin
