#pragma once

#include "data/KindsList.h"
#include "platform/GlobalShortcut.h"
#include "ui/richtext/FontDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "ui/widgets/SecondaryWindow.h"

#include <functional>

namespace vorlin {

class LibraryGroup;
class TDM;

// The settings window: product information and the update check, the default
// font of new snippets, the bulk font change, the list of kinds (the
// program's working list for the whole run), the backup of the data folder,
// the wiping of the snippet table, the quick insertion's shortcut, and
// where the library lives.
// What the settings window asks of the world outside it. An empty function
// stands for the program's own: the update library, the folder chooser, the
// desktop's opener of addresses.
struct SettingsWindowServices {
    // The quick insertion's shortcut, bound again when the user changes it.
    platform::GlobalShortcut& quickShortcut = platform::NoGlobalShortcut::instance();
    // Asks whether a newer version exists.
    std::function<bool(bool interactive)> queryUpdate;
    // Where the backup goes.
    std::function<QString()> chooseBackupFolder;
    // Opens an address through the desktop.
    std::function<void(const QString& url)> openUrl;
};

class TAbout_Form : public ui::SecondaryWindow {
    Q_OBJECT
public:
    // The kinds list is the program's, shown and edited in the memo.
    TAbout_Form(TDM& data, KindsList& kinds, SettingsWindowServices services = {}, QWidget* parent = nullptr);

    // Shown without being modal, in front; centred over the main window the
    // first time.
    void showWindow();

    // Run by start-up once the windows exist: the stored settings shown,
    // the check for a newer version when it is asked for.
    void FormCreate();

    // The kinds as the memo holds them, and into it.
    QStringList memoLines() const;
    void setMemoLines(const QStringList& lines);

    static const QString kBulkQuestion;

    // The data folder copied into the folder (as a folder of its own name);
    // false on any problem or a cancel.
    bool backUpInto(const QString& folder, QString* reason = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Handlers of the controls, by their names in the Windows program.
    void Button1Click();  // default font
    void Button3Click();  // bulk font change
    void Button4Click();  // save the kinds
    void Button5Click();  // wipe the snippet table
    void Button6Click();  // backup
    void CheckBox1Click();
    void Label9Click();   // the web page
    void Label10Click();  // a mail
    void Aktualizace_ButtonClick();
    void quickShortcutEdited();
    void quickRestoreClick();
    void registerAddressEdited();
    void showShortcutState(platform::ShortcutState state);

    QGroupBox* GroupBox2;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label10;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label14;
    QLabel* verze_label;
    QCheckBox* CheckBox1;
    QPushButton* Aktualizace_Button;
    QGroupBox* GroupBox3;
    QPushButton* Button1;
    QPushButton* Button3;
    QGroupBox* GroupBox4;
    QPlainTextEdit* Memo1;
    QPushButton* Button4;
    QGroupBox* GroupBox5;
    QPushButton* Button6;
    QPushButton* Button5;
    QGroupBox* GroupBox6;
    QKeySequenceEdit* QuickShortcutEdit;
    QCheckBox* QuickRestoreCheck;
    QLabel* QuickShortcutState;
    LibraryGroup* GroupBox7;
    QGroupBox* GroupBox8;
    QLineEdit* RegisterAddressEdit;
    ui::FontDialog FontDialog1;

    TDM& data_;
    KindsList& kinds_;
    SettingsWindowServices services_;
    platform::GlobalShortcut& quickShortcut_;
};


}  // namespace vorlin
