#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QAbstractButton;
class QWidget;

namespace vorlin {

// Every question and message of the program goes through here: the box is
// built the same way in all windows, and a test answers it in advance
// instead of waiting for a modal window to appear.
class MessageBox {
public:
    using Button = QMessageBox::StandardButton;
    using Buttons = QMessageBox::StandardButtons;

    // A question with standard buttons; Enter and Space press `preferred`
    // (with NoButton, the box's own choice).
    // Returns the button pressed (Esc and closing press the escape button).
    static Button ask(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                      Buttons buttons, Button preferred);
    static bool askYesNo(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                         Button preferred = QMessageBox::Yes);

    // A message with OK, waited for.
    static void tell(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text);
    // A message with OK that the caller does not wait for.
    static void tellWithoutWaiting(QMessageBox::Icon icon, const QString& title, const QString& text);

    // Shows a box the caller built with buttons of its own; returns the
    // button pressed, or nullptr when the box was closed without one.
    static QAbstractButton* run(QMessageBox& box);

    // Tests: from now on every box is handed to `answer` instead of being
    // shown; the answer presses one of its buttons. An empty one shows boxes
    // again. Returns the answer that was in force.
    using Answer = std::function<void(QMessageBox& box)>;
    static Answer answerWith(Answer answer);
    // Tests: the next box is answered with this button, unshown.
    static void setNextAnswer(Button button);
    // The button Esc presses in this box: what a closed box answers.
    static QAbstractButton* escapeButtonOf(QMessageBox& box);
};

}  // namespace vorlin
