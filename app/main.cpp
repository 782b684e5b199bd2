#include "app/DataDirectory.h"
#include "app/VorlinApplication.h"

#include <QTextStream>

int main(int argc, char** argv)
{
    using namespace vorlin;

    // Where the files live, fixed before any window exists; then the seed
    // files that are missing in the data folder.
    setPaths(startupPaths());
    seedDataDir(paths());

    VorlinApplication app(argc, argv);

    // The windows are created here in their fixed order, each creation
    // handler through runShowingErrors so that a failing one is shown and the
    // start goes on. The program runs until its main window closes; without a
    // main window there is nothing to run.
    QTextStream(stdout) << "Vorlin: data folder " << paths().dataDir << Qt::endl;
    return 0;
}
