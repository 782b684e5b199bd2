#include "data/KindsFile.h"

#include "common/Error.h"
#include "common/TextFile.h"
#include "common/Win1250.h"

#include "db/RowSet.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace vorlin::kinds {

QStringList initialKinds()
{
    return {QStringLiteral("adresa"), QStringLiteral("petit"), QStringLiteral("podpis")};
}

QStringList load(const QString& path)
{
    return splitLines(win1250::decode(readWholeFile(path)));
}

void save(const QString& path, const QStringList& kinds)
{
    QString reason;
    if (!replaceFileContent(path, win1250::encode(joinLinesCrLf(kinds)), &reason))
        throw FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason));
}

QStringList choicesWithEmptyFirst(const QStringList& kinds)
{
    return QStringList{QString()} + kinds;
}

QStringList withKindsOfRows(const QStringList& listed, const db::RowSet& rows, int column)
{
    std::unordered_set<std::string_view> seen;
    QSet<QString> known;
    for (const QString& kind : listed)
        known.insert(kind.toCaseFolded());
    QStringList others;
    std::string_view text;
    for (int row = 0; row < rows.rowCount(); ++row) {
        if (!rows.textAt(row, column, &text) || text.empty() || !seen.insert(text).second)
            continue;
        const QString kind = QString::fromUtf8(text.data(), qsizetype(text.size()));
        const QString folded = kind.toCaseFolded();
        if (known.contains(folded))
            continue;
        known.insert(folded);
        others.append(kind);
    }
    QCollator czech(QLocale(QLocale::Czech, QLocale::Czechia));
    std::sort(others.begin(), others.end(), czech);
    return listed + others;
}

}  // namespace vorlin::kinds
