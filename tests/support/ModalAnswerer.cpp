#include "support/ModalAnswerer.h"

#include <QApplication>
#include <QDialog>

#include <gtest/gtest.h>

namespace vorlin::test {

ModalAnswerer::ModalAnswerer(BoxAnswer boxes, Answer dialogs, int watchdogMs)
    : boxes_(std::move(boxes)), dialogs_(std::move(dialogs))
{
    previous_ = MessageBox::answerWith([this](const MessageBox::Shown& box) {
        seen_.append({box.title, box.text, box.icon});
        return boxes_ ? boxes_(box) : box.escape;
    });
    previousDialogs_ = ui::answerDialogsWith([this](QDialog& dialog) {
        seen_.append({dialog.windowTitle(), {}, MessageBox::NoIcon});
        if (dialogs_)
            dialogs_(&dialog);
        else
            dialog.reject();
    });
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
    ui::answerDialogsWith(std::move(previousDialogs_));
}

ModalAnswerer::BoxAnswer ModalAnswerer::press(MessageBox::Button button)
{
    return [button](const MessageBox::Shown& box) {
        const int index = box.indexOf(button);
        EXPECT_GE(index, 0) << "no such button in: " << box.text.toStdString();
        return index;
    };
}

}  // namespace vorlin::test
