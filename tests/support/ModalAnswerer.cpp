#include "support/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vorlin::test {

ModalAnswerer::ModalAnswerer(Answer answer, int watchdogMs) : answer_(std::move(answer))
{
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

ModalAnswerer::~ModalAnswerer() = default;

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
    SeenDialog seen{modal->windowTitle(), {}, QMessageBox::NoIcon};
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.text = box->text();
        seen.icon = box->icon();
    }
    seen_.append(seen);
    if (answer_) {
        answer_(modal);
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        if (QAbstractButton* button = box->escapeButton() ? box->escapeButton() : static_cast<QAbstractButton*>(box->defaultButton()))
            button->click();
        else
            box->done(0);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    }
}

}  // namespace vorlin::test
