#include "import/FileGathering.h"

#include <QFile>
#include <QRegularExpression>

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace vorlin {

namespace {

struct CloseDir {
    void operator()(DIR* dir) const { closedir(dir); }
};

void gatherInto(QStringList& list, const QString& folder, const QRegularExpression& mask, const bool& stopRequested,
                QStringList* unnamable)
{
    const QByteArray path = QFile::encodeName(folder);
    const std::unique_ptr<DIR, CloseDir> dir(opendir(path.constData()));
    if (!dir)
        return;
    // One pass in the file system's order: the files go into the list at
    // once, the folders wait until the folder's files are all in.
    QStringList subfolders;
    while (const dirent* entry = readdir(dir.get())) {
        const QString name = QFile::decodeName(entry->d_name);
        struct stat info {};
        if (lstat((path + entry->d_name).constData(), &info) != 0)
            continue;
        if (S_ISLNK(info.st_mode)) {
            // A link to a file counts as that file; a link to a folder is
            // not followed.
            if (stat((path + entry->d_name).constData(), &info) != 0 || !S_ISREG(info.st_mode))
                continue;
        }
        // A name in another encoding than the system's cannot be opened by
        // the path that the program would make of it.
        const bool named = QFile::encodeName(name) == QByteArrayView(entry->d_name);
        if (S_ISREG(info.st_mode)) {
            if (mask.match(name).hasMatch()) {
                if (named)
                    list << folder + name;
                else if (unnamable)
                    *unnamable << folder + name;
            }
        } else if (S_ISDIR(info.st_mode) && !name.startsWith(u'.') && !stopRequested) {
            if (named)
                subfolders << folder + name + u'/';
            else if (unnamable)
                *unnamable << folder + name + u'/';
        }
    }
    for (const QString& subfolder : subfolders) {
        if (stopRequested)
            return;
        gatherInto(list, subfolder, mask, stopRequested, unnamable);
    }
}

}  // namespace

void gatherFiles(QStringList& list, const QString& folder, const QString& mask, const bool& stopRequested,
                 QStringList* unnamable)
{
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(mask),
                                     QRegularExpression::CaseInsensitiveOption);
    gatherInto(list, folder.endsWith(u'/') ? folder : folder + u'/', pattern, stopRequested, unnamable);
}

}  // namespace vorlin
