#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace vorlin::ui {

class DBRichEdit;

// The "Pole" button's dialog: a field's name, type and options, shown as it
// will be written ("{{lhůta: 15 dnů od doručení}}"), so that nobody must
// learn the syntax.
class FieldDialog : public QDialog {
    Q_OBJECT
public:
    explicit FieldDialog(QWidget* parent = nullptr);

    QString fieldText() const;

    // Asks, and writes the field at the editor's caret (over a selection);
    // the row starts editing as with any typing.
    static void insertInto(DBRichEdit& editor, QWidget* parent);

private:
    void typeChosen();
    void showWritten();

    QLineEdit* name_;
    QComboBox* type_;
    QLineEdit* options_;
    QLabel* written_;
    QPushButton* insert_;
    QString lastTypeName_;
};

}  // namespace vorlin::ui
