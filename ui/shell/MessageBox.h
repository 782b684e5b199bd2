#pragma once

#include <QFlags>
#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QMessageBox;
class QWidget;

namespace vorlin {

// Every question and message of the program goes through here, in the
// program's own words: the box is built the same way in all windows, no
// window names Qt's box, and a test answers it in advance instead of
// waiting for a modal window to appear.
class MessageBox {
public:
    // The icons and standard buttons, numbered as Qt numbers them.
    enum Icon { NoIcon = 0, Information = 1, Warning = 2, Critical = 3, Question = 4 };
    enum Button : unsigned {
        NoButton = 0,
        Ok = 0x00000400,
        Yes = 0x00004000,
        YesToAll = 0x00008000,
        No = 0x00010000,
        NoToAll = 0x00020000,
        Cancel = 0x00400000,
    };
    Q_DECLARE_FLAGS(Buttons, Button)

    // A question with standard buttons; Enter and Space press `preferred`
    // (with NoButton, the box's own choice).
    // Returns the button pressed (Esc and closing press the escape button).
    static Button ask(QWidget* parent, Icon icon, const QString& title, const QString& text, Buttons buttons,
                      Button preferred);
    static bool askYesNo(QWidget* parent, Icon icon, const QString& title, const QString& text, Button preferred = Yes);

    // A question whose buttons say what they do, in the program's words.
    struct Choice {
        enum Role { Accept, Destructive, Reject };
        QString text;
        Role role = Accept;
    };
    // Returns the index of the choice pressed; Enter presses `preferred`,
    // Esc and closing `escape`.
    static int choose(QWidget* parent, Icon icon, const QString& title, const QString& text,
                      const QList<Choice>& choices, int preferred, int escape);

    // A message with OK, waited for.
    static void tell(QWidget* parent, Icon icon, const QString& title, const QString& text);
    // A message with OK that the caller does not wait for.
    static void tellWithoutWaiting(Icon icon, const QString& title, const QString& text);

    // Tests: from now on every box is handed to `answer` instead of being
    // shown; the answer presses one of its buttons. An empty one shows boxes
    // again. Returns the answer that was in force.
    using Answer = std::function<void(QMessageBox& box)>;
    static Answer answerWith(Answer answer);
    // Tests: the next box is answered with this button, unshown.
    static void setNextAnswer(Button button);
    // The button Esc presses in this box: what a closed box answers.
    static QAbstractButton* escapeButtonOf(QMessageBox& box);

private:
    static QAbstractButton* run(QMessageBox& box);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(MessageBox::Buttons)

}  // namespace vorlin
