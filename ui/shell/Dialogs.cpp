#include "ui/shell/Dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>

#include <utility>

namespace vorlin::ui {

namespace {

DialogAnswer& answerInForce()
{
    static DialogAnswer answer;
    return answer;
}

}  // namespace

int runDialog(QDialog& dialog)
{
    if (!answerInForce())
        return dialog.exec();
    // Shown as exec() shows it, modal and active, without waiting.
    dialog.setResult(QDialog::Rejected);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    dialog.activateWindow();
    // The desktop makes it the active window a moment later; its shortcuts
    // (Ctrl+Enter in the fields' form) answer only then.
    QElapsedTimer waited;
    waited.start();
    while (!dialog.isActiveWindow() && !waited.hasExpired(200))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    answerInForce()(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

DialogAnswer answerDialogsWith(DialogAnswer answer)
{
    return std::exchange(answerInForce(), std::move(answer));
}

}  // namespace vorlin::ui
