#include "ui/settings/FolderCopy.h"

#include "common/FileContents.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace vorlin {
namespace {

// The copy keeps the original's modification time (and access time), as a
// copy for safekeeping should; a file system that refuses them fails nothing.
void keepTimes(const QString& source, const QString& copy)
{
    struct stat original {};
    if (::stat(QFile::encodeName(source).constData(), &original) != 0)
        return;
    const timespec times[2] = {original.st_atim, original.st_mtim};
    (void)::utimensat(AT_FDCWD, QFile::encodeName(copy).constData(), times, 0);
}

QString temporaryName(const QString& target)
{
    return target + QStringLiteral(".vorlin-part");
}

// Pieces of a copy that was killed before it could rename them.
void removeLeftovers(const QString& targetFolder)
{
    QDirIterator leftovers(targetFolder, {QStringLiteral("*.vorlin-part")}, QDir::Files | QDir::Hidden | QDir::System,
                           QDirIterator::Subdirectories);
    while (leftovers.hasNext())
        QFile::remove(leftovers.next());
}

}  // namespace

bool FolderCopy::copy(const QString& sourceFolder, const QString& targetFolder)
{
    error_.clear();
    replaceAll_ = false;
    done_ = 0;
    const QDir source(sourceFolder);
    if (!source.exists()) {
        error_ = QStringLiteral("Složka \"%1\" neexistuje.").arg(sourceFolder);
        return false;
    }
    removeLeftovers(targetFolder);
    QStringList files;
    QStringList folders{QString()};
    qint64 total = 0;
    QDirIterator walk(sourceFolder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        walk.next();
        if (walk.fileInfo().isDir()) {
            folders << source.relativeFilePath(walk.filePath());
        } else if (!leaveOut(walk.filePath())) {
            files << walk.filePath();
            total += walk.fileInfo().size();
        }
    }
    files.sort();
    // Every folder, the empty ones too.
    for (const QString& folder : folders) {
        const QString path = QDir(targetFolder).filePath(folder);
        if (!QDir().mkpath(path)) {
            error_ = QStringLiteral("Složku \"%1\" nelze vytvořit.").arg(path);
            return false;
        }
    }
    for (const QString& file : files) {
        const QString target = QDir(targetFolder).filePath(source.relativeFilePath(file));
        if (!QDir().mkpath(QFileInfo(target).path())) {
            error_ = QStringLiteral("Složku \"%1\" nelze vytvořit.").arg(QFileInfo(target).path());
            return false;
        }
        if (QFileInfo::exists(target) && !replaceAll_) {
            switch (askReplace(target)) {
            case Answer::Yes:
                break;
            case Answer::YesToAll:
                replaceAll_ = true;
                break;
            case Answer::No:
                done_ += QFileInfo(file).size();
                continue;
            case Answer::Cancel:
                error_ = QStringLiteral("Záloha byla přerušena.");
                return false;
            }
        }
        if (!copyFile(file, target, total))
            return false;
    }
    return true;
}

bool FolderCopy::copyFile(const QString& source, const QString& target, qint64 total)
{
    const QString partial = temporaryName(target);
    QFile::remove(partial);
    bool copied = false;
    try {
        copied = copySpecial(source, partial);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!copied) {
        QFile in(source);
        QFile out(partial);
        if (!in.open(QIODevice::ReadOnly) && !in.exists())
            return true;  // gone since the folder was listed: a passing file
        if (!in.isOpen() || !out.open(QIODevice::WriteOnly)) {
            error_ = QStringLiteral("Soubor \"%1\" nelze zkopírovat: %2").arg(source, in.isOpen() ? out.errorString() : in.errorString());
            QFile::remove(partial);
            return false;
        }
        const qint64 doneBefore = done_;
        bool stopped = false;
        const bool whole = copyFileContents(in.handle(), out.handle(), [&](long long bytes) {
            done_ = doneBefore + bytes;
            stopped = !progress(done_, total);
            return !stopped;
        });
        if (stopped)
            error_ = QStringLiteral("Záloha byla přerušena.");
        else if (!whole && (errno == ENOSPC || errno == EDQUOT || errno == EFBIG || errno == EROFS))
            error_ = QStringLiteral("Do souboru \"%1\" nelze zapisovat: %2").arg(target, QString::fromLocal8Bit(std::strerror(errno)));
        else if (!whole)
            error_ = QStringLiteral("Soubor \"%1\" nelze číst: %2").arg(source, QString::fromLocal8Bit(std::strerror(errno)));
        if (error_.isEmpty() && !out.flush()) {
            error_ = QStringLiteral("Do souboru \"%1\" nelze zapisovat: %2").arg(target, out.errorString());
        }
        out.close();
        if (!error_.isEmpty()) {
            QFile::remove(partial);
            return false;
        }
    } else {
        done_ += QFileInfo(source).size();
        if (!progress(done_, total)) {
            error_ = QStringLiteral("Záloha byla přerušena.");
            QFile::remove(partial);
            return false;
        }
    }
    keepTimes(source, partial);
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        error_ = QStringLiteral("Do souboru \"%1\" nelze zapisovat: %2").arg(target, QString::fromLocal8Bit(std::strerror(errno)));
        QFile::remove(partial);
        return false;
    }
    return true;
}

}  // namespace vorlin
