#pragma once

#include "db/SaveOutcome.h"
#include "output/SnippetInsertion.h"
#include "data/DM_Unit.h"
#include "data/KindsList.h"
#include "data/SnippetSearch.h"
#include "output/EditorDiscovery.h"
#include "ui/main/MainWindowServices.h"
#include "ui/richtext/FontDialog.h"

#include <QSystemTrayIcon>
#include <QWidget>

#include <optional>

class QAction;
class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTextDocument;
class QToolBar;
class QToolButton;

namespace vorlin {

class WindowTimer;

namespace ui {
class DBComboBox;
class DBEdit;
class DBGrid;
class DBNavigator;
class DBRichEdit;
class UpDown;
}  // namespace ui

// The main window: the snippet list with its navigator, the search, the
// body editor with the snippet's fields, the export controls, and the icon
// in the notification area. Its controls carry the names they had in the
// Windows program's form, so that anything may find them by name.
class TVorlin_Form : public QWidget, public BodyEditorAccess {
    Q_OBJECT
public:
    TVorlin_Form(TDM& data, const MainWindowServices& services, QWidget* parent = nullptr);
    ~TVorlin_Form() override;

    // Creation and destruction handlers, run by start-up and at exit: the
    // stored settings are read and written back, the tray icon shown and hidden.
    void FormCreate();
    void FormDestroy();
    // What closing saves, when the display is gone and nobody can be asked:
    // the row being edited (a colleague's change meanwhile kept beside it)
    // and the settings.
    void saveWithoutDisplay();
    // Ends the program asking nothing (a logout, `kill`): whatever window or
    // question is open, the edit is saved as without a display, and every
    // open dialog ends unanswered.
    void endAskingNothing();
    // Says why the library cannot be written, when it cannot, and keeps the
    // fields from taking typing then.
    void showLibraryState();
    // Asks what to do with an edit whose row another user changed or
    // deleted meanwhile.
    std::optional<db::ConflictChoice> askAboutConflict(bool rowIsGone);

    // The kind box and the kind filter list follow every save of the list.
    void listKindsOf(KindsList& kinds);

    // The window back from the notification area, from a minimised state or
    // from behind others (the tray icon's click, a second start).
    void showFromTray();

    // The one font dialog of the program; the preview shares it.
    ui::FontDialog& fontDialog() { return FontDialog1; }

    // A body the preview left in a new row; the editor takes it over.
    void takeBody(const QByteArray& rtf);

    // BodyEditorAccess, for the data module's insert hooks.
    void focusBodyEditor() override;
    void setBodyEditorFont(const Font& font) override;

Q_SIGNALS:
    void settingsRequested();
    void previewRequested();
    void importRequested();
    // The program ends: runs in progress in other windows are to stop.
    void ending();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Handlers of the controls, by their names in the Windows program.
    void Button3Click() { copyAndScheduleCtrlV(); }              // "Kopírovat text do schránky"
    void Timer1Timer() { typeCtrlV(); }                           // the countdown's end
    void ToolButton8Click() { chooseBodyFont(); }                 // "Písmo"
    void BitBtn6Click() { explainDelayedPaste(); }                // "?" beside the copy button
    void Ukzatokno1Click() { showFromTray(); }                    // "Ukázat okno"
    void Skrt1Click() { hide(); }                                 // "Skrýt okno"
    void Ukonit1Click() { close(); }                              // "Ukončit"
    void Button1Click() { Q_EMIT settingsRequested(); }           // "Nastavení, o programu"
    void Button4Click() { Q_EMIT previewRequested(); }            // "Náhled"
    void DBGrid1DblClick() { Q_EMIT previewRequested(); }         // a row's double click
    void Button5Click() { Q_EMIT importRequested(); }             // "Speciální import", Ctrl+Shift+I
    void Button36Click(EditorKind kind) { listEditorWindows(kind); }  // "Spuštěné MS Word", "Spuštěné OO Writer"
    void Button35Click() { insertIntoChosenEditor(); }            // "Vložit"
    void Jmeno_EditChange() { searchAsTyped(); }                  // the search box, the kind filter
    void DBGrid1TitleClick(const QString& field) { sortBy(field); }  // a column title
    void TrayIconActivated(QSystemTrayIcon::ActivationReason reason);

    void copyAndScheduleCtrlV();
    // The row being edited, name, kind and keywords with the body.
    void copyVersionToClipboard();
    void typeCtrlV();
    void chooseBodyFont();
    void explainDelayedPaste();
    void listEditorWindows(EditorKind kind);
    void insertIntoChosenEditor();
    void searchAsTyped();
    void sortBy(const QString& field);
    // A typed blank becomes the words' separator "%".
    bool typeSeparatorFor(QKeyEvent* event);
    // Replaces the list with the rows of the search as it stands now; while
    // the table is still read behind the first rows, once it is there.
    void runSearch();
    // Replaces the kind lists' items: an empty entry first, the kinds listed
    // here, on a shared library every other kind its snippets carry. The
    // filter list keeps the kind chosen in it; the query is not run again.
    void setKindChoices(const QStringList& listed);
    // Offers the kinds a shared library's snippets carry once the table changed.
    void offerLibraryKinds();
    // Whether minimising puts the window into the notification area.
    // Hides into the notification area, or minimises where there is none.
    void putAway();
    bool hidesIntoTray() const;
    // Saves the row being edited before the program ends; false when that
    // failed and the user chose to keep the program running.
    bool endEditBeforeExit();
    void writeSettings();
    void setupNavigator();

    QWidget* buildLeftColumn();
    QWidget* buildMiddleColumn();
    QWidget* buildRightColumn();
    // Three columns side by side, or the export controls under the other two.
    void arrangeColumns(bool threeColumns);
    void buildEditorToolBar();
    void buildTrayIcon();

    TDM& data_;
    MainWindowServices services_;
    SnippetInsertion insertion_;
    search::SnippetSearch search_;
    bool searchAwaitsTable_ = false;
    QStringList listedKinds_;
    QBoxLayout* columns_ = nullptr;
    QBoxLayout* underColumns_ = nullptr;
    QWidget* leftColumn_ = nullptr;
    QWidget* middleColumn_ = nullptr;
    QWidget* rightColumn_ = nullptr;
    QBoxLayout* exportGroups_ = nullptr;
    bool columnsArranged_ = false;
    bool threeColumns_ = true;
    int threeColumnsWidth_ = 0;  // the narrowest window they fit
    std::uint64_t kindsOfTable_ = 0;  // the table's version they were taken of

    ui::DBNavigator* DBNavigator1;
    ui::DBGrid* DBGrid1;
    QGroupBox* GroupBox1;
    QLineEdit* Jmeno_Edit;
    QListWidget* ListBox1;
    QToolBar* ToolBar1;
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
    QLabel* StatusLabel;
    // Why the library cannot be written, when it cannot; hidden otherwise.
    QLabel* LibraryLabel;
    ui::FontDialog FontDialog1;
    QMenu* PopupMenu1;
    WindowTimer* Timer1;
    QSystemTrayIcon* TrayIcon;
};

}  // namespace vorlin
