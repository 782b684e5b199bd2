#pragma once

#include <QString>

namespace vorlin {

// The graphical session the program shows its windows in, as a name fit for
// a file or a pipe: the X display ("_0" for ":0"), else the Wayland display;
// letters and digits kept, anything else made "_".
QString graphicalSessionName();

}  // namespace vorlin
