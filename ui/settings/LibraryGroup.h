#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace vorlin {

class TDM;

// The settings' group "Knihovna": where the snippets live (this computer's
// file or the office server, its address and user name), going over to
// it, and moving this computer's snippets onto the server.
class LibraryGroup : public QGroupBox {
    Q_OBJECT
public:
    LibraryGroup(TDM& data, QWidget* parent = nullptr);

    // The choice shown as the program works now.
    void showCurrent();
    // Writes the choice into the settings and opens the list from there;
    // the library before stays open when the new one cannot be.
    void applyClick();
    void uploadClick();

    QRadioButton* HereRadio;
    QRadioButton* ServerRadio;
    QLineEdit* AddressEdit;
    QLineEdit* UserEdit;
    QPushButton* ApplyButton;
    QPushButton* UploadButton;
    QLabel* StateLabel;

    // Where the report of an upload goes; a message box by default.
    std::function<void(const QString&)> inform;

private:
    void enableFields();

    TDM& data_;
};

}  // namespace vorlin
