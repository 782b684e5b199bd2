#include "ui/settings/LibraryGroup.h"

#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "data/SettingsFile.h"
#include "data/LibraryUpload.h"
#include "data/Settings.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"
#include "ui/widgets/PlainLabel.h"

#include <QGridLayout>

namespace vorlin {

LibraryGroup::LibraryGroup(TDM& data, QWidget* parent) : QGroupBox(QStringLiteral("Knihovna"), parent), data_(data)
{
    setObjectName(QStringLiteral("LibraryGroup"));
    HereRadio = new QRadioButton(QStringLiteral("Tento počítač"), this);
    ServerRadio = new QRadioButton(QStringLiteral("Server kanceláře"), this);
    AddressEdit = new QLineEdit(this);
    AddressEdit->setObjectName(QStringLiteral("AddressEdit"));
    AddressEdit->setPlaceholderText(QStringLiteral("postgresql://server/vorlin"));
    AddressEdit->setAccessibleName(QStringLiteral("Adresa serveru knihovny"));
    UserEdit = new QLineEdit(this);
    UserEdit->setObjectName(QStringLiteral("UserEdit"));
    UserEdit->setPlaceholderText(QStringLiteral("uživatel systému"));
    UserEdit->setAccessibleName(QStringLiteral("Uživatel na serveru knihovny"));
    ApplyButton = new QPushButton(QStringLiteral("Použít"), this);
    UploadButton = new QPushButton(QStringLiteral("Nahrát místní knihovnu na server"), this);
    StateLabel = ui::plainLabel(this);
    StateLabel->setObjectName(QStringLiteral("LibraryState"));
    StateLabel->setWordWrap(true);
    StateLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QGridLayout(this);
    layout->addWidget(HereRadio, 0, 0, 1, 3);
    layout->addWidget(ServerRadio, 1, 0, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Adresa:"), this), 2, 0);
    layout->addWidget(AddressEdit, 2, 1, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Uživatel:"), this), 3, 0);
    layout->addWidget(UserEdit, 3, 1, 1, 2);
    layout->addWidget(ApplyButton, 4, 0, 1, 3, Qt::AlignLeft);
    layout->addWidget(UploadButton, 5, 0, 1, 3, Qt::AlignLeft);
    layout->addWidget(StateLabel, 6, 0, 1, 3);
    layout->setColumnMinimumWidth(0, 24);
    layout->setColumnStretch(2, 1);

    connect(HereRadio, &QRadioButton::toggled, this, &LibraryGroup::enableFields);
    connect(ApplyButton, &QPushButton::clicked, this, ui::guarded(this, &LibraryGroup::applyClick));
    connect(UploadButton, &QPushButton::clicked, this, ui::guarded(this, &LibraryGroup::uploadClick));
    inform = [this](const QString& text) {
        MessageBox::tell(this, MessageBox::Information, QStringLiteral("Information"), text);
    };
    showCurrent();
}

void LibraryGroup::enableFields()
{
    AddressEdit->setEnabled(ServerRadio->isChecked());
    UserEdit->setEnabled(ServerRadio->isChecked());
}

void LibraryGroup::showCurrent()
{
    const LibraryAddress& library = data_.library;
    (library.isServer() ? ServerRadio : HereRadio)->setChecked(true);
    if (library.isServer())
        AddressEdit->setText(library.server);
    else
        AddressEdit->setText(programSettings()
                                 .readString(settings::kSection, settings::kLibraryServerKey, QString()));
    UserEdit->setText(library.user);
    enableFields();

    const bool connected = data_.ADOConnection1.isConnected();
    const bool server = connected && !data_.ADOConnection1.isLocalFile();
    const bool readOnly = connected && data_.ADOConnection1.store().isReadOnly();
    UploadButton->setEnabled(connected && data_.ADOConnection1.store().takesUploads() && !readOnly);
    QString state;
    if (!connected)
        state = QStringLiteral("Knihovna není otevřena.");
    else if (!server)
        state = QStringLiteral("Vorliny jsou v souboru tohoto počítače.");
    else
        state = QStringLiteral("Vorliny jsou na serveru kanceláře; změny kolegů se ukazují hned.");
    if (readOnly)
        state += QStringLiteral(" Server vám dovoluje knihovnu jen číst.");
    StateLabel->setText(state);
}

void LibraryGroup::applyClick()
{
    LibraryAddress chosen;
    if (ServerRadio->isChecked()) {
        chosen.server = AddressEdit->text().trimmed();
        if (chosen.server.isEmpty())
            throw Error(QStringLiteral("Zadejte adresu serveru kanceláře, například postgresql://server/vorlin."));
    }
    chosen.user = UserEdit->text().trimmed();
    // The settings change only when the library could be opened.
    struct ShownAfter {
        LibraryGroup* group;
        ~ShownAfter() { group->showCurrent(); }
    } shownAfter{this};
    data_.switchLibrary(chosen);
    SettingsFile& ini = programSettings();
    writeLibrary(ini, chosen);
}

void LibraryGroup::uploadClick()
{
    db::Store& store = data_.ADOConnection1.store();
    if (!store.takesUploads())
        return;
    data_.Vorlin_ADOQuery.checkBrowseMode();
    const db::Store::Upload done = uploadLocalLibrary(libraryFileIn(paths().dataDir), store);
    data_.Vorlin_ADOQuery.refreshFromStore();
    inform(QStringLiteral("Na server kanceláře se nahrálo vorlinů: %1, přeskočeno (na serveru už byly): %2.")
               .arg(done.sent)
               .arg(done.skipped));
}

}  // namespace vorlin
