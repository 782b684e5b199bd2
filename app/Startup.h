#pragma once

#include "common/GraphicalSession.h"

#include <QString>

class QObject;

namespace vorlin {

class QuickInsert;
class TVorlin_Form;

// Creates the program's windows in their fixed order, each creation
// handler shown in the error box when it fails while the start goes on:
// the main window's handler, then the data module's, which opens the
// database. The data module's objects exist first so that the main window's
// controls can bind to its data source. Ends with the main window shown,
// which is returned: the program ends when it closes.
// The library is the one the settings name unless the run names another
// (the command line's, else the environment's VORLIN_LIBRARY).
TVorlin_Form& createWindows(QObject* owner, GraphicalSession session, const QString& libraryGiven = QString());

// The quick insertion of the run, made with the windows and started once
// the database is open.
QuickInsert& quickInsert();

// At exit: the main window's destruction handler, then the windows go.
void destroyWindows();

}  // namespace vorlin
