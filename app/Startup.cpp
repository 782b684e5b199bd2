#include "app/Startup.h"

#include "common/Paths.h"
#include "data/KindsFile.h"
#include "data/KindsList.h"

#include "ui/shell/ErrorBox.h"
#include "data/DM_Unit.h"
#include "platform/UnoOfficeAutomation.h"
#include "platform/X11DesktopWindows.h"
#include "platform/XTestKeyboard.h"
#include "ui/import/Import_Unit.h"
#include "output/EditorInsertion.h"
#include "ui/preview/Nahled_Unit.h"
#include "ui/settings/About_Unit.h"
#include "ui/main/Vorlin_Unit.h"

namespace vorlin {

void createWindows(QObject* owner)
{
    DM = new TDM(owner);
    Vorlin_Form = new TVorlin_Form(&DM->Vorlin_DataSource);
    Vorlin_Form->keyboard = new platform::XTestKeyboard(owner);
    auto* kinds = new KindsList(kinds::filePath(paths().dataDir), owner);
    Vorlin_Form->listKindsOf(*kinds);
    static platform::X11DesktopWindows desktop;
    Vorlin_Form->desktopWindows = &desktop;
    static platform::UnoOfficeAutomation office;
    Vorlin_Form->office = &office;
    static platform::UnregisteredWord word;
    Vorlin_Form->word = &word;
    Vorlin_Form->showSettingsWindow = [] {
        if (About_Form)
            About_Form->showWindow();
    };
    Vorlin_Form->showImportWindow = [] {
        if (Import_Form)
            Import_Form->showEmptied();
    };
    Vorlin_Form->stopRunsAtExit = [] {
        if (Import_Form)
            Import_Form->Zastavit_ButtonClick();
    };
    Vorlin_Form->showPreviewWindow = [] {
        if (Nahled_Form)
            Nahled_Form->showWindow();
    };
    runShowingErrors([] { Vorlin_Form->FormCreate(); });
    DM->setBodyEditor(Vorlin_Form);
    runShowingErrors([] { DM->DataModuleCreate(); });
    About_Form = new TAbout_Form(*kinds);
    runShowingErrors([] { About_Form->FormCreate(); });
    Nahled_Form = new TNahled_Form(&DM->Vorlin_DataSource, Vorlin_Form->FontDialog1);
    QObject::connect(Nahled_Form, &TNahled_Form::newRowBodyLeft, Vorlin_Form->DBRichEdit1,
                     [](const QByteArray& rtf) { Vorlin_Form->DBRichEdit1->replaceWithRtf(rtf); });
    Import_Form = new TImport_Form(*kinds);
    for (ui::SecondaryWindow* window : std::initializer_list<ui::SecondaryWindow*>{About_Form, Nahled_Form, Import_Form})
        window->setHome(Vorlin_Form);
    Vorlin_Form->show();
}

void destroyWindows()
{
    runShowingErrors([] { Vorlin_Form->FormDestroy(); });
    delete Import_Form;
    Import_Form = nullptr;
    delete Nahled_Form;
    Nahled_Form = nullptr;
    delete About_Form;
    About_Form = nullptr;
    delete Vorlin_Form;
    Vorlin_Form = nullptr;
    delete DM;
    DM = nullptr;
}

}  // namespace vorlin
