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

QStringList readLines(const QString& fileName)
{
    if (!QFile::exists(fileName))
        return {};
    try {
        return splitLines(win1250::decode(readWholeFile(fileName)));
    } catch (const FileError&) {
        // An unreadable settings file reads as a missing one.
        return {};
    }
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
    const QStringList lines = readLines(fileName_);
    const qsizetype header = findSection(lines, section);
    if (header < 0)
        return defaultValue;
    for (qsizetype i = header + 1; i < lines.size() && !sectionName(lines[i]); ++i) {
        const auto entry = keyLine(lines[i]);
        if (entry && sameName(entry->key, key))
            return unquoted(entry->value).left(kMaxValueLength);
    }
    return defaultValue;
}

std::int32_t IniFile::readInteger(QStringView section, QStringView key, std::int32_t defaultValue) const
{
    return tryParseInteger(readString(section, key, QString())).value_or(defaultValue);
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

    QStringList lines = readLines(fileName_);
    const qsizetype header = findSection(lines, section);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section.toString() + u']');
        lines.append(newLine);
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
            lines.insert(insertAt, newLine);
    }

    if (!replaceFileContent(fileName_, win1250::encode(joinLinesCrLf(lines))))
        throw FileError(QStringLiteral("Unable to write to %1").arg(fileName_));
}

void IniFile::writeBool(QStringView section, QStringView key, bool value)
{
    writeString(section, key, value ? u"1" : u"0");
}

}  // namespace vorlin
