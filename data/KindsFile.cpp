#include "data/KindsFile.h"

#include "common/Error.h"
#include "common/TextFile.h"
#include "common/Win1250.h"

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

}  // namespace vorlin::kinds
