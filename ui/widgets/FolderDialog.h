#pragma once

#include <QFileDialog>

namespace vorlin::ui {

// The folder chooser: a folder the user types that does not exist yet is
// created after asking.
class FolderDialog : public QFileDialog {
    Q_OBJECT
public:
    FolderDialog(QWidget* parent, const QString& caption, const QString& start);

    // The chosen folder, or an empty text when the user cancelled.
    static QString choose(QWidget* parent, const QString& caption, const QString& start);

    // Asks whether to create a folder that does not exist; the question box
    // by default.
    std::function<bool(const QString& folder)> askToCreate;

public Q_SLOTS:
    void accept() override;
};

}  // namespace vorlin::ui
