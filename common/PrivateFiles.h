#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <functional>

namespace vorlin {

// What this program writes is its user's alone: new files 0600, new folders
// 0700, whatever the mask it was started with. That mask is kept for the
// programs it starts on the user's behalf (the user's office, the browser).
void keepNewFilesPrivate();

// The file mask the program was started with.
mode_t usersFileMask();

// Closes a folder of the user's own and everything in it to other users:
// folders 0700, files without their group and other bits. Links are never
// followed, and what belongs to someone else is left alone.
void closeToOthers(const QString& folder);

// Runs a call that starts a program for the user (a browser, a file
// manager) with the user's own file mask; on the GUI thread only.
void withUsersFileMask(const std::function<void()>& start);

// Starts a program for the user, with the user's own file mask, detached
// from this one (it outlives it, in a session of its own, its input and
// output going nowhere). False when it could not be started.
bool startDetachedForUser(const QString& program, const QStringList& arguments);

}  // namespace vorlin
