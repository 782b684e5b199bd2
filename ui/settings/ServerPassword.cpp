#include "ui/settings/ServerPassword.h"

#include <QInputDialog>
#include <QLineEdit>

namespace vorlin {

QString askServerPassword(QWidget* parent, const QString& why)
{
    QInputDialog prompt(parent);
    prompt.setWindowTitle(QStringLiteral("Heslo k serveru kanceláře"));
    prompt.setLabelText(QStringLiteral("%1\n\nHeslo (pamatuje se jen do ukončení programu):").arg(why));
    prompt.setTextEchoMode(QLineEdit::Password);
    return prompt.exec() == QDialog::Accepted ? prompt.textValue() : QString();
}

}  // namespace vorlin
