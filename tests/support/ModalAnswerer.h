#pragma once

#include "ui/shell/Dialogs.h"
#include "ui/shell/MessageBox.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

namespace vorlin::test {

// What a modal dialog showed before it was answered.
struct SeenDialog {
    QString title;
    QString text;
    MessageBox::Icon icon = MessageBox::NoIcon;
};

// Answers the program's questions and messages while it lives: each message
// box is handed over unshown, as the seam describes it, recorded and
// answered by the box answer (by default: the button Esc would press).
// Every other dialog (the font and folder choosers, the password question,
// the fields' form and dialog) is handed, shown but not waited for, to the
// dialog answer (by default: rejected); one it leaves open is rejected. A
// modal window that came some other way fails the test after the watchdog
// time instead of hanging.
class ModalAnswerer : public QObject {
public:
    using BoxAnswer = MessageBox::Answer;
    using Answer = std::function<void(QWidget* dialog)>;

    explicit ModalAnswerer(BoxAnswer boxes = {}, Answer dialogs = {}, int watchdogMs = 10000);
    explicit ModalAnswerer(Answer dialogs, int watchdogMs = 10000) : ModalAnswerer(BoxAnswer(), std::move(dialogs), watchdogMs) {}
    ~ModalAnswerer() override;

    const QList<SeenDialog>& seen() const { return seen_; }

    // Presses the box's button of this standard meaning.
    static BoxAnswer press(MessageBox::Button button);

private:
    BoxAnswer boxes_;
    Answer dialogs_;
    MessageBox::Answer previous_;
    ui::DialogAnswer previousDialogs_;
    QTimer watchdog_;
    QList<SeenDialog> seen_;
};

}  // namespace vorlin::test
