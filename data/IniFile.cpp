#include "data/IniFile.h"

#include "common/Error.h"
#include "common/Integer.h"
#include "common/TextFile.h"
#include "common/Win1250.h"

#include <QFile>

#include <optional>

namespace vorlin {
namespace {

std::optional<QString> sectionName(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimmed.sliced(1, close - 1).trimmed().toString();
}

struct KeyLine {
    QStringView key;
    QStringView value;
};

std::optional<KeyLine> keyLine(QStringView line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return KeyLine{line.first(equals).trimmed(), line.sliced(equals + 1).trimmed()};
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The file as the profile functions see it: Windows-1250 text, or UTF-16LE
// or UTF-8 text after its byte-order mark. Every line keeps its own line end
// and every character, zero characters included, so that the lines a write
// does not touch go back to the file byte for byte.
struct IniText {
    enum class Encoding { Win1250, Utf16Le, Utf8 };
    Encoding encoding = Encoding::Win1250;
    QStringList lines;
    QStringList lineEnds;  // "\r\n", "\n", "\r" or empty after the last line
    QByteArray oddByte;    // a UTF-16 file's last byte without its pair
};

IniText decodeIni(const QByteArray& bytes)
{
    IniText ini;
    QString text;
    if (bytes.startsWith("\xFF\xFE")) {
        ini.encoding = IniText::Encoding::Utf16Le;
        const qsizetype units = (bytes.size() - 2) / 2;
        text.resize(units);
        for (qsizetype i = 0; i < units; ++i)
            text[i] = QChar(char16_t(uchar(bytes[2 + 2 * i]) | (uchar(bytes[3 + 2 * i]) << 8)));
        if ((bytes.size() - 2) % 2)
            ini.oddByte = bytes.right(1);
    } else if (bytes.startsWith("\xEF\xBB\xBF") && QString::fromUtf8(bytes.sliced(3)).toUtf8() == bytes.sliced(3)) {
        ini.encoding = IniText::Encoding::Utf8;
        text = QString::fromUtf8(bytes.sliced(3));
    } else {
        text = win1250::decode(bytes);
    }
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        const qsizetype endLength = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        ini.lines << text.sliced(start, i - start);
        ini.lineEnds << text.sliced(i, endLength);
        i += endLength - 1;
        start = i + 1;
    }
    if (start < text.size()) {
        ini.lines << text.sliced(start);
        ini.lineEnds << QString();
    }
    return ini;
}

QByteArray encodeIni(const IniText& ini)
{
    QString text;
    for (qsizetype i = 0; i < ini.lines.size(); ++i)
        text += ini.lines[i] + ini.lineEnds[i];
    switch (ini.encoding) {
    case IniText::Encoding::Utf16Le: {
        QByteArray bytes("\xFF\xFE");
        bytes.reserve(2 + 2 * text.size() + 1);
        for (const QChar c : text) {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
        return bytes + ini.oddByte;
    }
    case IniText::Encoding::Utf8:
        return "\xEF\xBB\xBF" + text.toUtf8();
    case IniText::Encoding::Win1250:
        break;
    }
    return win1250::encode(text);
}

// The file's text; a missing file is an empty one. A file that is there but
// cannot be read raises FileError.
IniText readIni(const QString& fileName)
{
    if (!QFile::exists(fileName))
        return {};
    return decodeIni(readWholeFile(fileName));
}

// Index of the section's header line, or -1.
qsizetype findSection(const QStringList& lines, QStringView section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

QString unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value.toString();
}

}  // namespace

QString IniFile::readString(QStringView section, QStringView key, const QString& defaultValue) const
{
    QStringList lines;
    try {
        lines = readIni(fileName_).lines;
    } catch (const FileError&) {
        return defaultValue;  // an unreadable file reads as a missing one
    }
    const qsizetype header = findSection(lines, section);
    if (header < 0)
        return defaultValue;
    for (qsizetype i = header + 1; i < lines.size() && !sectionName(lines[i]); ++i) {
        const auto entry = keyLine(lines[i]);
        if (entry && sameName(entry->key, key)) {
            // A value ends at a zero character, as the profile functions read it.
            QStringView value = entry->value;
            if (const qsizetype zero = value.indexOf(QChar(u'\0')); zero >= 0)
                value = value.first(zero).trimmed();
            return unquoted(value).left(kMaxValueLength);
        }
    }
    return defaultValue;
}

std::int32_t IniFile::readInteger(QStringView section, QStringView key, std::int32_t defaultValue) const
{
    return tryParseInteger(readString(section, key, QString()), HexPrefix::ZeroX).value_or(defaultValue);
}

bool IniFile::readBool(QStringView section, QStringView key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(QStringView section, QStringView key, QStringView value)
{
    // A line break inside a value would split it into lines of their own.
    QString flatValue = value.toString();
    flatValue.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString newLine = key.toString() + u'=' + flatValue;
    const QString unableToWrite = QStringLiteral("Unable to write to %1").arg(fileName_);

    // A file that cannot be read is never rebuilt from nothing.
    IniText ini;
    try {
        ini = readIni(fileName_);
    } catch (const FileError&) {
        throw FileError(unableToWrite);
    }
    QStringList& lines = ini.lines;
    auto insertLine = [&ini](qsizetype at, const QString& line) {
        // The line before a new one may have been the last, without an end.
        if (at > 0 && ini.lineEnds[at - 1].isEmpty())
            ini.lineEnds[at - 1] = QStringLiteral("\r\n");
        ini.lines.insert(at, line);
        ini.lineEnds.insert(at, QStringLiteral("\r\n"));
    };

    const qsizetype header = findSection(lines, section);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            insertLine(lines.size(), QString());
        insertLine(lines.size(), u'[' + section.toString() + u']');
        insertLine(lines.size(), newLine);
    } else {
        qsizetype insertAt = header + 1;
        bool replaced = false;
        for (qsizetype i = header + 1; i < lines.size() && !sectionName(lines[i]); ++i) {
            const auto entry = keyLine(lines[i]);
            if (entry && sameName(entry->key, key)) {
                lines[i] = newLine;
                replaced = true;
                break;
            }
            if (!lines[i].trimmed().isEmpty())
                insertAt = i + 1;
        }
        if (!replaced)
            insertLine(insertAt, newLine);
    }

    if (!replaceFileContent(fileName_, encodeIni(ini)))
        throw FileError(unableToWrite);
}

void IniFile::writeBool(QStringView section, QStringView key, bool value)
{
    writeString(section, key, value ? u"1" : u"0");
}

}  // namespace vorlin
