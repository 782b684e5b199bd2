#include "common/TextFile.h"

#include "common/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vorlin {
namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

QByteArray readWholeFile(const QString& path)
{
    // A folder opens on Linux and fails only at reading, with a vaguer reason.
    if (QFileInfo(path).isDir())
        throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, systemReason(EISDIR)));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno ? errno : ENOENT;
        throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, systemReason(error)));
    }
    errno = 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Cannot open file \"%1\". %2")
                            .arg(path, errno ? systemReason(errno) : file.errorString()));
    return bytes;
}

bool replaceFileContent(const QString& path, QByteArrayView bytes, QString* reason)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) == 0 && S_ISREG(info.st_mode)
        && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        if (reason)
            *reason = systemReason(EACCES);
        return false;
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), bytes.size()) != bytes.size()
        || !file.commit()) {
        if (reason)
            *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

QStringList splitLines(QStringView text)
{
    if (const qsizetype zero = text.indexOf(QChar(u'\0')); zero >= 0)
        text = text.first(zero);

    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start).toString());
    return lines;
}

QString joinLinesCrLf(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

QByteArray withCrLfLineEnds(QByteArrayView bytes)
{
    QByteArray text;
    text.reserve(bytes.size() + bytes.size() / 32);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            text += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace vorlin
