#include "support/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vorlin::test {

ModalAnswerer::ModalAnswerer(Answer answer, int watchdogMs) : answer_(std::move(answer))
{
    previous_ = MessageBox::answerWith([this](QMessageBox& box) { answerBox(box); });
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(10);
    watchdog_.setSingleShot(true);
    connect(&watchdog_, &QTimer::timeout, this, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal dialog was left unanswered";
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        }
    });
    watchdog_.start(watchdogMs);
}

ModalAnswerer::~ModalAnswerer()
{
    MessageBox::answerWith(std::move(previous_));
}

void ModalAnswerer::answerBox(QMessageBox& box)
{
    seen_.append({box.windowTitle(), box.text(), box.icon()});
    if (answer_)
        answer_(&box);
    else if (QAbstractButton* button = MessageBox::escapeButtonOf(box))
        button->click();
}

ModalAnswerer::Answer ModalAnswerer::press(QMessageBox::StandardButton button)
{
    return [button](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        QAbstractButton* target = box->button(button);
        ASSERT_NE(target, nullptr);
        target->click();
    };
}

void ModalAnswerer::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {  // one of Qt's own
        answerBox(*box);
        return;
    }
    seen_.append({modal->windowTitle(), {}, QMessageBox::NoIcon});
    if (answer_)
        answer_(modal);
    else if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
}

}  // namespace vorlin::test
