#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace vorlin::fields {

// The last value of each field, per user: a file in the data folder
// ("pole.json"), never in a library another user shares. Field names are
// kept without regard to letter case; a salutation's correction is kept
// for the name it corrects. An unreadable file is read as empty and is
// replaced whole by the next value kept.
class RememberedValues {
public:
    explicit RememberedValues(QString file);

    std::optional<QString> value(const QString& key) const;
    // Kept, and written to the file at once; false (with the reason) when
    // the file could not be written.
    bool keep(const QString& key, const QString& value, QString* reason = nullptr);

    // The key of a field's value, and of a salutation's correction.
    static QString fieldKey(const QString& fieldName);
    static QString salutationKey(const QString& name);

private:
    QString file_;
    QHash<QString, QString> values_;
};

}  // namespace vorlin::fields
