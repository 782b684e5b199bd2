#include "app/DataFolderOwner.h"

#include "data/Settings.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <pwd.h>
#include <sys/stat.h>

namespace vorlin {

namespace {

QString ownerName(uid_t owner)
{
    if (const passwd* entry = ::getpwuid(owner))
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(owner);
}

bool othersMayWrite(const struct stat& info, gid_t group)
{
    return (info.st_mode & S_IWOTH) != 0 || ((info.st_mode & S_IWGRP) != 0 && info.st_gid != group);
}

// The folders from the root down to the data folder's parent.
QStringList foldersAbove(const QString& dataDir)
{
    QStringList folders;
    QString path = QDir::cleanPath(dataDir);
    while (true) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash < 0)
            break;
        path = slash == 0 ? QStringLiteral("/") : path.left(slash);
        folders.prepend(path);
        if (path == QLatin1String("/"))
            break;
    }
    return folders;
}

QString foreignFolder(const QString& folder, uid_t owner)
{
    return QStringLiteral("Složku „%1“ vlastní jiný uživatel (%2), Vorlin do ní svá data nedá. Složku musí "
                          "odstranit její vlastník nebo správce počítače, anebo nastavte XDG_DATA_HOME na složku, "
                          "kterou vlastníte.")
        .arg(folder, ownerName(owner));
}

QString openFolder(const QString& folder)
{
    return QStringLiteral("Do složky „%1“ může zapisovat i jiný uživatel, Vorlin do ní svá data nedá. Odeberte "
                          "ostatním právo zápisu (chmod go-w), anebo nastavte XDG_DATA_HOME na složku, kterou "
                          "vlastníte jen vy.")
        .arg(folder);
}

// The files of the data folder that are checked.
QStringList checkedDataFiles(const Paths& paths)
{
    return {libraryFileIn(paths.dataDir), paths.dataDir + QStringLiteral("knihovna_serveru.mdb"),
            paths.dataDir + settings::kFileName.toString(), paths.dataDir + QStringLiteral("pole.json")};
}

}  // namespace

QString dataFolderRefusal(const Paths& paths, uid_t user, gid_t group)
{
    struct stat info {};
    for (const QString& folder : foldersAbove(paths.dataDir)) {
        if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
            break;  // made by the program from here down
        if (info.st_uid != user && info.st_uid != 0)
            return foreignFolder(folder, info.st_uid);
        if (othersMayWrite(info, group) && (info.st_mode & S_ISVTX) == 0)
            return openFolder(folder);
    }
    // The program's own folder, where there is no home, stays as installed.
    const bool installedFolder = paths.dataDir == paths.exeDir;
    if (::stat(QFile::encodeName(paths.dataDir).constData(), &info) == 0 && info.st_uid != user
        && !(installedFolder && info.st_uid == 0))
        return foreignFolder(QDir::cleanPath(paths.dataDir), info.st_uid);
    for (const QString& file : checkedDataFiles(paths)) {
        const QByteArray native = QFile::encodeName(file);
        struct stat link {};
        if (::lstat(native.constData(), &link) != 0 || ::stat(native.constData(), &info) != 0)
            continue;  // none yet, or a link to nothing: the program makes the file
        if (info.st_uid != user)
            return QStringLiteral("Soubor „%1“ vlastní jiný uživatel (%2), Vorlin ho nepoužije. Soubor musí "
                                  "odstranit jeho vlastník nebo správce počítače.")
                .arg(file, ownerName(info.st_uid));
        // A file of the folder's own is closed to others at the start; one
        // reached through a link is the user's to close.
        if (S_ISLNK(link.st_mode) && othersMayWrite(info, group))
            return QStringLiteral("Do souboru „%1“ může zapisovat i jiný uživatel, Vorlin ho nepoužije. Odeberte "
                                  "ostatním právo zápisu (chmod go-w).")
                .arg(QFile::symLinkTarget(file));
    }
    return {};
}

}  // namespace vorlin
