#pragma once

#include <functional>

namespace vorlin {

// SIGTERM, SIGINT and SIGHUP (a logout, `kill`) end the program through
// `close`, run from whichever event loop is running (a dialog's too): it
// saves the row being edited asking nothing, and everything an ending
// program does follows (settings written, the clipboard kept).
void closeOnTerminationSignals(std::function<void()> close);

// Losing the display (the X server killed, a compositor crashed, a remote
// session dropped) ends the program from inside Qt, past its event loop and
// its windows' closing: `save` then runs, on the GUI thread, as Qt reports
// the loss, where no window can ask anything any more. Ended by
// stopSavingOnLostDisplay() once the program ends its own way.
void saveOnLostDisplay(std::function<void()> save);
void stopSavingOnLostDisplay();

}  // namespace vorlin
