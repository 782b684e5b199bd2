#pragma once

#include <functional>

namespace vorlin {

// SIGTERM, SIGINT and SIGHUP (a logout, `kill`) end the program as closing
// its main window does (`close`, run from the event loop): the row being
// edited is saved, and everything an ending program does follows (settings
// written, the clipboard kept).
void closeOnTerminationSignals(std::function<void()> close);

}  // namespace vorlin
