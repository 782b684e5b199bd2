#pragma once

#include "data/KindsList.h"
#include "import/ReviewListModel.h"
#include "platform/DocumentConverter.h"
#include "ui/widgets/SecondaryWindow.h"

#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

#include <functional>
#include <memory>

namespace vorlin {

class TDM;

// The import window: text in the memo (typed, pasted or loaded) is filtered
// by the patterns of a filter file into candidates; the ticked candidates are
// stored as snippets, each with a kind.
// What the import window asks of the world outside it. An empty function
// stands for the program's own: the open dialog, the desktop's file manager,
// the folder chooser, a private office.
struct ImportWindowServices {
    // Where a text file for the memo comes from.
    std::function<QString()> chooseInputFile;
    // Opens a folder in the desktop's file manager.
    std::function<void(const QString& folder)> openFolder;
    // The folder of the file-set run; empty when the user cancelled.
    std::function<QString()> chooseFolder;
    // The converter of one file-set run.
    std::function<std::unique_ptr<platform::DocumentConverter>()> makeConverter;
};

class TImport_Form : public ui::SecondaryWindow {
    Q_OBJECT
public:
    // New kinds of stored candidates go into the program's kinds list.
    TImport_Form(TDM& data, KindsList& kinds, ImportWindowServices services = {}, QWidget* parent = nullptr);

    // Shown over the main window with an empty memo and an empty list;
    // during a file-set run with what the run shows.
    void showEmptied();

    // The filter menu's two runs with a filter file: the memo's text, and
    // the documents of a folder the user chooses.
    void PopupMenuItemsClick(const QString& fileName);
    void PopupMenuItemsClick2(const QString& fileName);
    // "Zastavit": a file-set run in progress stops (also when the program ends).
    void Zastavit_ButtonClick();

    // The filter files of the menu, in the file system's order.
    QStringList filterFiles() const;

    // How long one document may take before it counts as hanging.
    int conversionTimeoutMs = 120000;

    // Whether a file-set run is in progress (its window events are served),
    // and whether it was asked to stop.
    bool runInProgress() const { return runInProgress_; }
    bool stopRequested() const { return StopRequested; }

private:
    // Handlers of the controls, by their names in the Windows program.
    void Button2Click();                      // "Otevřít vstup txt"
    void Button3Click(QPushButton* pressed);  // the filter menu
    void Button1Click();                      // save the ticked candidates
    void Button5Click();                      // the filter folder
    void Button6Click();                      // "vše"
    void Button7Click();                      // "nic"

    QPlainTextEdit* Memo1;
    QListView* CheckListBox1;
    ReviewListModel* items;
    QWidget* Panel1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Zastavit_Button;
    QPushButton* Button1;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button7;
    QStatusBar* StatusBar1;
    QMenu* PopupMenu1;

    // The kind the previous candidate of the current save was stored with.
    QString LastKind;
    // Set by "Zastavit"; a file-set run clears it at its start and its end.
    bool StopRequested = false;

    void setStatus(const QString& text);
    // The kind of the next stored candidate; the preset when cancelled.
    QString askKind(const QString& preset);
    // While a file-set run is in progress, what would disturb it is refused
    // with a word to the user; true then.
    bool refusedDuringRun();

    // A file-set run waits for the office in a loop of its own that serves
    // the window (for "Zastavit", repaints, closing): meanwhile anything that
    // would start a second run or change the candidates under it is refused.
    bool runInProgress_ = false;
    TDM& data_;
    KindsList& kinds_;
    ImportWindowServices services_;
};


}  // namespace vorlin
