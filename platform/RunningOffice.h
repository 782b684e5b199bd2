#pragma once

#include <QStringList>

namespace vorlin::platform {

// Whether an office of this user runs in this graphical session (its
// DISPLAY and WAYLAND_DISPLAY are the program's) with the profile the
// arguments name, the user's own when they name none: the office that a
// start with these arguments hands its request to instead of starting.
// Started from the menu, it listens on no pipe of the program's until asked.
bool officeRunsHere(const QStringList& officeArguments);

}  // namespace vorlin::platform
