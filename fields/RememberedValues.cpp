#include "fields/RememberedValues.h"

#include "common/TextFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace vorlin::fields {

RememberedValues::RememberedValues(QString file) : file_(std::move(file))
{
    QFile in(file_);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QJsonObject stored = QJsonDocument::fromJson(in.readAll()).object();
    for (auto it = stored.begin(); it != stored.end(); ++it)
        if (it.value().isString())
            values_.insert(it.key(), it.value().toString());
}

std::optional<QString> RememberedValues::value(const QString& key) const
{
    const auto found = values_.constFind(key);
    return found == values_.constEnd() ? std::nullopt : std::optional(*found);
}

bool RememberedValues::keep(const QString& key, const QString& value, QString* reason)
{
    if (values_.value(key) == value && values_.contains(key))
        return true;
    values_.insert(key, value);
    QJsonObject stored;
    for (auto it = values_.constBegin(); it != values_.constEnd(); ++it)
        stored.insert(it.key(), it.value());
    return replaceFileContent(file_, QJsonDocument(stored).toJson(QJsonDocument::Indented), reason);
}

QString RememberedValues::fieldKey(const QString& fieldName)
{
    return fieldName.trimmed().toCaseFolded();
}

QString RememberedValues::salutationKey(const QString& name)
{
    return QStringLiteral("oslovení:") + name.simplified().toCaseFolded();
}

}  // namespace vorlin::fields
