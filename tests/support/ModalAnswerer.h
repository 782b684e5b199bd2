#pragma once

#include "ui/shell/MessageBox.h"

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace vorlin::test {

// What a modal dialog showed before it was answered.
struct SeenDialog {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers the program's questions and messages while it lives: each message
// box is handed over unshown, recorded and closed by the answer function (by
// default: the button Esc would press). Other modal dialogs (the font and
// folder choosers, the password question) are looked for every 10 ms and
// handed to the same function. A dialog that is never answered fails the
// test after the watchdog time instead of hanging.
class ModalAnswerer : public QObject {
public:
    using Answer = std::function<void(QWidget* dialog)>;

    explicit ModalAnswerer(Answer answer = {}, int watchdogMs = 10000);
    ~ModalAnswerer() override;

    const QList<SeenDialog>& seen() const { return seen_; }

    // Presses the button of a message box that has this standard role.
    static Answer press(QMessageBox::StandardButton button);

private:
    void poll();
    void answerBox(QMessageBox& box);

    Answer answer_;
    MessageBox::Answer previous_;
    QTimer timer_;
    QTimer watchdog_;
    QList<SeenDialog> seen_;
};

}  // namespace vorlin::test
