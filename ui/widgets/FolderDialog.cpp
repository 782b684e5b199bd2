#include "ui/widgets/FolderDialog.h"

#include "ui/shell/Dialogs.h"
#include "ui/shell/MessageBox.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace vorlin::ui {

FolderDialog::FolderDialog(QWidget* parent, const QString& caption, const QString& start)
    : QFileDialog(parent, caption, start)
{
    // The same dialog on every desktop, in the program's language, which
    // lets the accept below see a typed folder.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::ShowDirsOnly);
    setFileMode(QFileDialog::Directory);
    // The dialog greys its button for a folder that does not exist yet,
    // which this one creates: the button stays usable for any typed name.
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (auto* buttons = findChild<QDialogButtonBox*>(); buttons && !text.trimmed().isEmpty())
                if (QPushButton* choose = buttons->button(QDialogButtonBox::Open))
                    choose->setEnabled(true);
        });
    }
    askToCreate = [this](const QString& folder) {
        return MessageBox::askYesNo(this, MessageBox::Question, windowTitle(),
                                    QStringLiteral("Složka „%1“ neexistuje. Chcete ji vytvořit?")
                                        .arg(QDir::toNativeSeparators(folder)),
                                    MessageBox::NoButton);
    };
}

QString FolderDialog::choose(QWidget* parent, const QString& caption, const QString& start)
{
    FolderDialog dialog(parent, caption, start);
    if (runDialog(dialog) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void FolderDialog::accept()
{
    const QString folder = selectedFiles().value(0);
    if (!folder.isEmpty() && !QFileInfo::exists(folder)) {
        if (!askToCreate(folder))
            return;
        if (!QDir().mkpath(folder)) {
            MessageBox::tell(this, MessageBox::Warning, windowTitle(),
                             QStringLiteral("Složku „%1“ nelze vytvořit.").arg(QDir::toNativeSeparators(folder)));
            return;
        }
    }
    QFileDialog::accept();
}

}  // namespace vorlin::ui
