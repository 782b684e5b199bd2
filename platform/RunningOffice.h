#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vorlin::platform {

// The profile an office's arguments name (the URL of
// -env:UserInstallation=…); empty for the user's own.
QString officeProfile(const QStringList& officeArguments);

// The profiles of the offices of this user that show windows in this
// graphical session (their DISPLAY and WAYLAND_DISPLAY are the program's),
// each once, an empty one for the user's own profile. Offices without
// windows (a conversion's, started headless or invisible) are left out.
// A start with a profile's argument hands its request to the office that
// runs with it instead of starting another.
QStringList officeProfilesHere();

}  // namespace vorlin::platform
