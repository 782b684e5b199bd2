#include "ui/shell/MessageBox.h"

#include <QAbstractButton>
#include <QList>

namespace vorlin {

namespace {

MessageBox::Answer& answerInForce()
{
    static MessageBox::Answer answer;
    return answer;
}

QList<MessageBox::Button>& nextAnswers()
{
    static QList<MessageBox::Button> answers;
    return answers;
}

}  // namespace

QAbstractButton* MessageBox::run(QMessageBox& box)
{
    // Messages name files, snippets and servers' answers: text, never HTML.
    box.setTextFormat(Qt::PlainText);
    if (!nextAnswers().isEmpty()) {
        if (QAbstractButton* button = box.button(nextAnswers().takeFirst()))
            button->click();
    } else if (answerInForce()) {
        answerInForce()(box);
    } else {
        box.exec();
    }
    return box.clickedButton();
}

MessageBox::Button MessageBox::ask(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                   const QString& text, Buttons buttons, Button preferred)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(preferred);
    QAbstractButton* pressed = run(box);
    if (!pressed)
        pressed = escapeButtonOf(box);
    return pressed ? box.standardButton(pressed) : QMessageBox::NoButton;
}

bool MessageBox::askYesNo(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                          Button preferred)
{
    return ask(parent, icon, title, text, QMessageBox::Yes | QMessageBox::No, preferred) == QMessageBox::Yes;
}

void MessageBox::tell(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    run(box);
}

void MessageBox::tellWithoutWaiting(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    if (!nextAnswers().isEmpty() || answerInForce()) {
        tell(nullptr, icon, title, text);
        return;
    }
    auto* box = new QMessageBox(icon, title, text, QMessageBox::Ok);
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

QAbstractButton* MessageBox::escapeButtonOf(QMessageBox& box)
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

}  // namespace vorlin
