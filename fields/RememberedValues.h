#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace vorlin::fields {

// The last value of each field, per user: a file in the data folder
// ("pole.json"), never in a library another user shares. Field names are
// kept without regard to letter case; a salutation's correction is kept
// for the name it corrects. An unreadable file, one larger than a person's
// values come to, or a link in the file's place is read as empty and is
// replaced whole (the link itself, not what it leads to) by the next value
// kept.
class RememberedValues {
public:
    explicit RememberedValues(QString file);

    std::optional<QString> value(const QString& key) const;
    // Kept, and written to the file at once; false (with the reason) when
    // the file could not be written.
    bool keep(const QString& key, const QString& value, QString* reason = nullptr);
    // Several kept at once, with one write of the file (an insertion's values).
    bool keep(const QList<std::pair<QString, QString>>& values, QString* reason = nullptr);

    // The largest file read: some thousands of values.
    static constexpr qint64 kLargestFile = 1 << 20;

    // The key of a field's value, and of a salutation's correction.
    static QString fieldKey(const QString& fieldName);
    static QString salutationKey(const QString& name);

private:
    QString file_;
    QHash<QString, QString> values_;
};

}  // namespace vorlin::fields
