#include "ui/shell/MessageBox.h"

#include <QAbstractButton>
#include <QList>
#include <QMessageBox>
#include <QPushButton>

namespace vorlin {

namespace {

MessageBox::Answer& answerInForce()
{
    static MessageBox::Answer answer;
    return answer;
}

static_assert(int(MessageBox::Ok) == int(QMessageBox::Ok) && int(MessageBox::Yes) == int(QMessageBox::Yes)
              && int(MessageBox::YesToAll) == int(QMessageBox::YesToAll) && int(MessageBox::No) == int(QMessageBox::No)
              && int(MessageBox::NoToAll) == int(QMessageBox::NoToAll) && int(MessageBox::Cancel) == int(QMessageBox::Cancel));
static_assert(int(MessageBox::Warning) == int(QMessageBox::Warning) && int(MessageBox::Critical) == int(QMessageBox::Critical)
              && int(MessageBox::Question) == int(QMessageBox::Question)
              && int(MessageBox::Information) == int(QMessageBox::Information));

QMessageBox::Icon qtIcon(MessageBox::Icon icon)
{
    return QMessageBox::Icon(int(icon));
}

QList<MessageBox::Button>& nextAnswers()
{
    static QList<MessageBox::Button> answers;
    return answers;
}


// The button Esc presses in this box: what a closed box answers.
QAbstractButton* escapeButtonOf(QMessageBox& box)
{
    if (box.escapeButton())
        return box.escapeButton();
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        return cancel;
    const QList<QAbstractButton*> buttons = box.buttons();
    if (buttons.size() == 1)
        return buttons.first();
    for (const auto role : {QMessageBox::RejectRole, QMessageBox::NoRole}) {
        QAbstractButton* only = nullptr;
        int count = 0;
        for (QAbstractButton* button : buttons) {
            if (box.buttonRole(button) == role) {
                only = button;
                ++count;
            }
        }
        if (count == 1)
            return only;
    }
    return nullptr;
}

MessageBox::Shown shownOf(QMessageBox& box)
{
    MessageBox::Shown shown{MessageBox::Icon(int(box.icon())), box.windowTitle(), box.text(), {}, {}, -1, -1};
    const QList<QAbstractButton*> buttons = box.buttons();
    for (QAbstractButton* button : buttons) {
        shown.buttons << button->text();
        shown.standard << MessageBox::Button(unsigned(box.standardButton(button)));
    }
    shown.preferred = int(buttons.indexOf(box.defaultButton()));
    shown.escape = int(buttons.indexOf(escapeButtonOf(box)));
    return shown;
}

// Shows the box, or hands it to the test's answer; the button pressed,
// nullptr when the box was closed without one.
QAbstractButton* run(QMessageBox& box)
{
    // Messages name files, snippets and servers' answers: text, never HTML.
    box.setTextFormat(Qt::PlainText);
    if (!nextAnswers().isEmpty()) {
        if (QAbstractButton* button = box.button(QMessageBox::StandardButton(nextAnswers().takeFirst())))
            button->click();
    } else if (answerInForce()) {
        if (QAbstractButton* button = box.buttons().value(answerInForce()(shownOf(box))))
            button->click();
    } else {
        box.exec();
    }
    return box.clickedButton();
}

}  // namespace

MessageBox::Button MessageBox::ask(QWidget* parent, Icon icon, const QString& title, const QString& text,
                                   Buttons buttons, Button preferred)
{
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::StandardButtons(int(buttons)), parent);
    box.setDefaultButton(QMessageBox::StandardButton(preferred));
    QAbstractButton* pressed = run(box);
    if (!pressed)
        pressed = escapeButtonOf(box);
    return pressed ? Button(box.standardButton(pressed)) : NoButton;
}

bool MessageBox::askYesNo(QWidget* parent, Icon icon, const QString& title, const QString& text, Button preferred)
{
    return ask(parent, icon, title, text, Yes | No, preferred) == Yes;
}

int MessageBox::choose(QWidget* parent, Icon icon, const QString& title, const QString& text,
                       const QList<Choice>& choices, int preferred, int escape)
{
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
    QList<QPushButton*> buttons;
    for (const Choice& choice : choices)
        buttons << box.addButton(choice.text, choice.role == Choice::Destructive ? QMessageBox::DestructiveRole
                                              : choice.role == Choice::Reject    ? QMessageBox::RejectRole
                                                                                 : QMessageBox::AcceptRole);
    if (QPushButton* button = buttons.value(preferred))
        box.setDefaultButton(button);
    if (QPushButton* button = buttons.value(escape))
        box.setEscapeButton(button);
    const qsizetype pressed = buttons.indexOf(qobject_cast<QPushButton*>(run(box)));
    return pressed < 0 ? escape : int(pressed);
}

void MessageBox::tell(QWidget* parent, Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::Ok, parent);
    run(box);
}

void MessageBox::tellWithoutWaiting(Icon icon, const QString& title, const QString& text)
{
    if (!nextAnswers().isEmpty() || answerInForce()) {
        tell(nullptr, icon, title, text);
        return;
    }
    auto* box = new QMessageBox(qtIcon(icon), title, text, QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

MessageBox::Answer MessageBox::answerWith(Answer answer)
{
    return std::exchange(answerInForce(), std::move(answer));
}

void MessageBox::setNextAnswer(Button button)
{
    nextAnswers().append(button);
}

}  // namespace vorlin
