#include "app/DataDirectory.h"
#include "app/ErrorBox.h"
#include "app/VorlinApplication.h"
#include "data/DM_Unit.h"

#include <QTextStream>

int main(int argc, char** argv)
{
    using namespace vorlin;

    // Where the files live, fixed before any window exists; then the seed
    // files that are missing in the data folder.
    setPaths(startupPaths());
    seedDataDir(paths());

    VorlinApplication app(argc, argv);

    // The windows in their fixed order; a creation handler that fails is
    // shown in the error box and the start goes on. The program runs until its
    // main window closes; without a main window there is nothing to run.
    DM = new TDM(&app);
    runShowingErrors([] { DM->DataModuleCreate(); });

    QTextStream(stdout) << "Vorlin: data folder " << paths().dataDir << Qt::endl;
    return 0;
}
