#pragma once

#include "common/VersionFile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vorlin {

// What the program answers on its command line before any window exists:
// "--version" and "--help" print and end, an unknown option and a missing
// graphical session end with a message on stderr and status 2; anything else
// starts the program. "--quick-insert" opens the quick-insert pop-up (in the
// copy that runs already, else in this one); "--library URI" works on the
// office server at that address for this run, "--library local" on this
// computer's file.
struct CommandLineAnswer {
    bool run = true;
    bool quickInsert = false;
    QString library;  // "--library": a server's address, or "local"
    int status = 0;
    QString out;  // for stdout
    QString err;  // for stderr
};

CommandLineAnswer answerCommandLine(const QStringList& arguments, const QString& version, bool hasDisplay);

// Whether there is a graphical session to show windows in: an X display, a
// Wayland display, or a Qt platform chosen by hand (offscreen for tests).
bool hasGraphicalSession();

}  // namespace vorlin
