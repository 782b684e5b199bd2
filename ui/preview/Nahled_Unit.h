#pragma once

#include "db/DataSource.h"
#include "ui/richtext/DBRichEdit.h"

#include <QAction>
#include <QPushButton>
#include <QToolBar>
#include <QWidget>

#include "ui/richtext/FontDialog.h"
#include "ui/widgets/SecondaryWindow.h"

namespace vorlin {

class TDM;

// The preview window: a larger editor of the current snippet's body, bound to
// the same row as the main window's editor, with the formatting commands, a
// font button, the court-reference helper and the separator. Closing it offers
// to save an edited row and hands a new row's body on (to the main window's
// editor, as start-up joins them).
class TNahled_Form : public ui::SecondaryWindow {
    Q_OBJECT
public:
    // The font dialog is the main window's: both editors offer the font
    // chosen last in either.
    TNahled_Form(TDM& data, ui::FontDialog& fontDialog, QWidget* parent = nullptr);

    // Shown without being modal, in front; centred over the main window the
    // first time.
    void showWindow();

    // The separator: two line breaks, 39 equals signs, a line break.
    static const QString kSeparator;

Q_SIGNALS:
    // Closed while a new row is being inserted: the body it holds, as RTF.
    void newRowBodyLeft(const QByteArray& rtf);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Handlers of the controls, by their names in the Windows program.
    void Button1Click();      // "sp.zn. Nejvyšší soud"
    void Button2Click();      // "======"
    void ToolButton8Click();  // the font button
    // The closing steps; raises when saving the row fails, and the window
    // then stays open.
    void FormClose();

    QToolBar* ToolBar1;
    QAction* RichEditAlignLeft1;
    QAction* RichEditAlignCenter1;
    QAction* RichEditAlignRight1;
    QAction* RichEditBold1;
    QAction* RichEditItalic1;
    QAction* RichEditUnderline1;
    QAction* ToolButton8;
    QPushButton* Button1;
    QPushButton* Button2;
    ui::DBRichEdit* DBRichEdit1;

    // Puts the text at the caret, in front of a selection, which stays; the
    // row starts editing first. The insertion is no step of the undo history.
    void insertAtCursor(const QString& text);

    TDM& data_;
    ui::FontDialog& fontDialog_;
};


}  // namespace vorlin
