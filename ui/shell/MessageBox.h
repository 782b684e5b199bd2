#pragma once

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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

    // A box as it would be shown: its words and its buttons, each with its
    // standard meaning (NoButton for a choice's own words).
    struct Shown {
        Icon icon = NoIcon;
        QString title;
        QString text;
        QStringList buttons;     // the buttons' captions, in order
        QList<Button> standard;  // what each stands for
        int preferred = -1;      // what Enter presses; -1 none set
        int escape = -1;         // what Esc and closing press
        // The index of the standard button, or of the caption; -1 for none.
        int indexOf(Button button) const { return int(standard.indexOf(button)); }
        int indexOf(const QString& caption) const { return int(buttons.indexOf(caption)); }
    };
    // Tests: from now on every box is handed to `answer` instead of being
    // shown; the answer returns the index of the button it presses (-1
    // closes the box). An empty one shows boxes again. Returns the answer
    // that was in force.
    using Answer = std::function<int(const Shown& box)>;
    static Answer answerWith(Answer answer);
    // Tests: the next box is answered with this button, unshown.
    static void setNextAnswer(Button button);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(MessageBox::Buttons)

}  // namespace vorlin
