#include "common/TextFile.h"

#include "common/Error.h"
#include "common/Win1250.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

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

bool replaceFileNotFollowing(const QString& path, QByteArrayView bytes, QString* reason)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) == 0 && S_ISLNK(info.st_mode) && ::unlink(native.constData()) != 0) {
        if (reason)
            *reason = systemReason(errno);
        return false;
    }
    return replaceFileContent(path, bytes, reason);
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

namespace {

// Bytes or characters alike: every CR LF, LF or CR made CR LF.
template <class Result, class View>
Result crLfLineEnds(View text)
{
    Result result;
    result.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto c = text[i];
        if (c == '\r' || c == '\n') {
            result += '\r';
            result += '\n';
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace

QByteArray withCrLfLineEnds(QByteArrayView bytes)
{
    return crLfLineEnds<QByteArray>(bytes);
}

QString withCrLfLineEnds(QStringView text)
{
    return crLfLineEnds<QString>(text);
}

}  // namespace vorlin

namespace vorlin {

namespace {

const QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

// Plain ASCII reads the same in both code pages and stays Windows-1250.
std::optional<QString> asUtf8(QByteArrayView bytes)
{
    if (bytes.startsWith(kUtf8Mark))
        return QString::fromUtf8(bytes.sliced(kUtf8Mark.size()));
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

}  // namespace

QString decodeForeignText(QByteArrayView bytes)
{
    if (std::optional<QString> text = asUtf8(bytes))
        return *text;
    return win1250::decode(bytes);
}

QByteArray foreignTextAsWin1250(QByteArrayView bytes)
{
    if (std::optional<QString> text = asUtf8(bytes))
        return win1250::encode(*text);
    return bytes.toByteArray();
}

}  // namespace vorlin
