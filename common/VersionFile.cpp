#include "common/VersionFile.h"

#include "common/Error.h"
#include "common/TextFile.h"
#include "common/Win1250.h"

namespace vorlin {

std::optional<QString> installedVersion(const QString& exeDir)
{
    try {
        return splitLines(win1250::decode(readWholeFile(exeDir + QStringLiteral("vorlin.txt")))).value(0);
    } catch (const Error&) {
        return std::nullopt;
    }
}

}  // namespace vorlin
