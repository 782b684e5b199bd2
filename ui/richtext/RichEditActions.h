#pragma once

#include <QAction>
#include <QObject>

class QToolBar;

namespace vorlin::ui {

class DBRichEdit;

// The standard formatting commands of a rich-text editor: the three
// alignments and bold, italic and underline (Ctrl+B, Ctrl+I, Ctrl+U within
// the editor's window). A style toggles by the selection's attribute; each
// action shows pressed while the selection has its style or the paragraph at
// the cursor its alignment. A command first puts the row into editing; when
// the row cannot be edited nothing changes.
class RichEditActions : public QObject {
    Q_OBJECT
public:
    explicit RichEditActions(DBRichEdit* editor);

    // Adds the actions in the usual order: alignments, a separator, styles.
    void addTo(QToolBar* toolBar) const;

    QAction* alignLeft;
    QAction* alignCenter;
    QAction* alignRight;
    QAction* bold;
    QAction* italic;
    QAction* underline;

    // Shows the pressed states of the selection and paragraph at the cursor.
    void showFormatting();

private:
    void toggleStyle(QAction* action);
    void align(Qt::Alignment alignment);

    DBRichEdit* editor_;
    bool showing_ = false;
};

}  // namespace vorlin::ui
