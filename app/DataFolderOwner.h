#pragma once

#include "common/Paths.h"

#include <QString>

#include <sys/types.h>

namespace vorlin {

// Why the data folder may not be used, in Czech; empty when it may. The
// snippets, the settings and the remembered values are the user's alone: a
// folder on the way to them must belong to the user or to root and be
// writable by nobody else (unless, as /tmp, it keeps others from renaming
// what is not theirs); the data folder itself and the library, settings and
// values files must belong to the user, and a file reached through a link
// must be writable by nobody else. Whatever does not exist yet is made by
// the program, as the user's. The user's own primary group counts as the
// user's.
QString dataFolderRefusal(const Paths& paths, uid_t user, gid_t group);

}  // namespace vorlin
