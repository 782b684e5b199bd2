#pragma once

#include "data/DM_Unit.h"
#include "ui/widgets/DBComboBox.h"
#include "ui/widgets/DBEdit.h"
#include "ui/widgets/DBGrid.h"
#include "ui/widgets/DBNavigator.h"
#include "ui/widgets/DBRichEdit.h"
#include "ui/widgets/FontDialog.h"
#include "ui/widgets/UpDown.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

#include "common/WindowTimer.h"
#include "platform/DesktopWindows.h"
#include "platform/Keyboard.h"
#include "data/KindsList.h"
#include "data/SearchLines.h"
#include "output/EditorDiscovery.h"
#include "platform/OfficeAutomation.h"
#include "platform/WordAutomation.h"
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <functional>

namespace vorlin {

// The main window: the snippet list with its navigator, the search, the
// body editor with the snippet's fields, the export controls, and the icon
// in the notification area.
class TVorlin_Form : public QWidget, public BodyEditorAccess {
    Q_OBJECT
public:
    explicit TVorlin_Form(db::DataSource* dataSource, QWidget* parent = nullptr);
    ~TVorlin_Form() override;

    // Creation and destruction handlers, run by start-up and at exit.
    void FormCreate();
    void FormDestroy();

    void SetupHackedNavigator(ui::DBNavigator* navigator);

    // The clipboard copy and the delayed Ctrl+V.
    void CopySnippetToClipboard();
    void Button3Click();
    void Timer1Timer();
    void ToolButton8Click();
    void BitBtn6Click();
    void Ukzatokno1Click();
    void Skrt1Click();
    void Ukonit1Click();
    void Button1Click();
    void Button4Click();
    void DBGrid1DblClick();
    void Button5Click();

    // Search and sorting: they rewrite the snippet query's lines and open it
    // again.
    bool Jmeno_EditKeyPress(QKeyEvent* event);
    void Jmeno_EditChange();
    void DBGrid1TitleClick(const QString& field);

    // Replaces the kind lists' items (an empty entry first); the filter list
    // loses its selection, the query is not run again.
    void setKindChoices(const QStringList& choices);
    // The kind box and the kind filter list follow every save of the list.
    void listKindsOf(KindsList& kinds);

    // The icon's mouse report: a left click shows the window.
    void TrayIconActivated(QSystemTrayIcon::ActivationReason reason);

    // BodyEditorAccess, for the data module's insert hooks.
    void focusBodyEditor() override;
    void setBodyEditorFont(const Font& font) override;

    // Where the delayed Ctrl+V is typed; nothing is typed without one.
    platform::Keyboard* keyboard = &platform::NoKeyboard::instance();
    // The desktop's windows, for listing the running word processors.
    platform::DesktopWindows* desktopWindows = &platform::NoDesktopWindows::instance();

    // Lists the windows of that word processor ("Spuštěné MS Word", "Spuštěné OO Writer").
    void Button36Click(EditorKind kind);
    // Inserts the snippet into the word processor whose window is chosen.
    void Button35Click();
    // The word processors the snippet goes into.
    platform::OfficeAutomation* office = &platform::NoOffice::instance();
    platform::WordAutomation* word = &platform::UnregisteredWord::instance();

    // Windows that open from here once they exist.
    std::function<void()> showSettingsWindow;
    std::function<void()> showPreviewWindow;
    std::function<void()> showImportWindow;
    // Asks the runs in progress in other windows to stop, as the program ends.
    std::function<void()> stopRunsAtExit;

    // Whether minimising puts the window into the notification area.
    bool hidesIntoTray() const;
    // Whether the desktop shows a notification area (a tray host runs).
    std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;

    ui::DBNavigator* DBNavigator1;
    ui::DBGrid* DBGrid1;
    QGroupBox* GroupBox1;
    QLabel* Label3;
    QLineEdit* Jmeno_Edit;
    QListWidget* ListBox1;
    QToolBar* ToolBar1;
    QAction* RichEditAlignLeft1;
    QAction* RichEditAlignCenter1;
    QAction* RichEditAlignRight1;
    QAction* RichEditBold1;
    QAction* RichEditItalic1;
    QAction* RichEditUnderline1;
    QAction* ToolButton8;
    QPushButton* Button4;
    ui::DBRichEdit* DBRichEdit1;
    ui::DBEdit* Jmeno_DBEdit;
    ui::DBComboBox* DBComboBox1;
    ui::DBEdit* Tag_DBEdit;
    QGroupBox* GroupBox19;
    QListWidget* Word_ListBox;
    QPushButton* Button36;
    QPushButton* Button35;
    QPushButton* Button2;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QGroupBox* GroupBox2;
    QPushButton* Button3;
    QToolButton* BitBtn6;
    QCheckBox* CheckBox3;
    QLineEdit* Edit1;
    ui::UpDown* UpDown1;
    QPushButton* Button5;
    QPushButton* Button1;
    ui::FontDialog FontDialog1;
    QMenu* PopupMenu1;
    WindowTimer* Timer1;
    QSystemTrayIcon* TrayIcon;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Replaces the list with the rows of the search as it stands now.
    void runSearch();
    search::SnippetSearch search_;

    QWidget* buildLeftColumn(db::DataSource* dataSource);
    QWidget* buildMiddleColumn(db::DataSource* dataSource);
    QWidget* buildRightColumn();
    void buildEditorToolBar();
    // Saves the row being edited before the program ends; false when that
    // failed and the user chose to keep the program running.
    bool endEditBeforeExit();
};

// The one main window of the program.
extern TVorlin_Form* Vorlin_Form;

}  // namespace vorlin
