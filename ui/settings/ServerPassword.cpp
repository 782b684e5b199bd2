#include "ui/settings/ServerPassword.h"

#include "ui/shell/Dialogs.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

namespace vorlin {

QString askServerPassword(QWidget* parent, const QString& why)
{
    QInputDialog prompt(parent);
    prompt.setWindowTitle(QStringLiteral("Heslo k serveru kanceláře"));
    prompt.setLabelText(QStringLiteral("%1\n\nHeslo (pamatuje se jen do ukončení programu):").arg(why));
    prompt.setTextEchoMode(QLineEdit::Password);
    // The server's words can be long: the question wraps instead of
    // stretching across the screen.
    if (auto* label = prompt.findChild<QLabel*>()) {
        label->setWordWrap(true);
        label->setMinimumWidth(460);
    }
    return ui::runDialog(prompt) == QDialog::Accepted ? prompt.textValue() : QString();
}

}  // namespace vorlin
