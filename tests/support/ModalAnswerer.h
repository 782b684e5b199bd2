#pragma once

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

// Answers the modal dialogs that appear while it lives: every 10 ms it looks
// for the active modal widget, records it and lets the answer function close
// it (by default: the message box's default or escape button). A dialog that
// is never answered fails the test after the watchdog time instead of hanging.
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

    Answer answer_;
    QTimer timer_;
    QTimer watchdog_;
    QList<SeenDialog> seen_;
};

}  // namespace vorlin::test
