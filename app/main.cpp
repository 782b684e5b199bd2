#include "app/DataDirectory.h"
#include "app/ErrorBox.h"
#include "app/VorlinApplication.h"
#include "data/DM_Unit.h"
#include "ui/Icons.h"
#include "ui/main/Vorlin_Unit.h"

int main(int argc, char** argv)
{
    using namespace vorlin;

    // Where the files live, fixed before any window exists; then the seed
    // files that are missing in the data folder.
    setPaths(startupPaths());
    seedDataDir(paths());

    VorlinApplication app(argc, argv);
    app.setWindowIcon(ui::icons::application());
    // The program ends when its main window closes, not when the last
    // visible window does (the main window may sit in the notification area).
    app.setQuitOnLastWindowClosed(false);

    // The windows in their fixed order, each creation handler shown in the
    // error box when it fails while the start goes on. The data module's
    // objects exist first so that the main window's controls can be bound
    // to its data source; its handler, which opens the database, runs after
    // the main window's.
    DM = new TDM(&app);
    Vorlin_Form = new TVorlin_Form(&DM->Vorlin_DataSource);
    runShowingErrors([] { Vorlin_Form->FormCreate(); });
    DM->setBodyEditor(Vorlin_Form);
    runShowingErrors([] { DM->DataModuleCreate(); });

    Vorlin_Form->show();
    const int result = app.exec();

    runShowingErrors([] { Vorlin_Form->FormDestroy(); });
    delete Vorlin_Form;
    Vorlin_Form = nullptr;
    delete DM;
    DM = nullptr;
    return result;
}
