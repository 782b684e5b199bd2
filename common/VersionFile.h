#pragma once

#include <QString>

#include <optional>

namespace vorlin {

// The first line of the version file beside the executable, the installed
// version; nothing when the file cannot be read.
std::optional<QString> installedVersion(const QString& exeDir);

}  // namespace vorlin
