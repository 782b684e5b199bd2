#include "ui/settings/About_Unit.h"

#include "common/VersionFile.h"
#include "common/Error.h"
#include "common/Paths.h"
#include "common/PrivateFiles.h"
#include "common/TextFile.h"
#include "data/DM_Unit.h"
#include "data/FontText.h"
#include "data/SettingsFile.h"
#include "data/KindsFile.h"
#include "data/Settings.h"
#include "db/Sqlite.h"
#include "ui/settings/FolderCopy.h"
#include "ui/settings/LibraryGroup.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"
#include "ui/richtext/FontFormat.h"
#include "ui/widgets/FolderDialog.h"
#include "ui/widgets/GroupFrame.h"
#include "ui/widgets/Named.h"
#include "ui/settings/Product.h"
#include "updlink/updlink.h"
#include "ui/widgets/PlainLabel.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QUrl>
#include <QVBoxLayout>

namespace vorlin {


const QString TAbout_Form::kBulkQuestion = QStringLiteral(
    "Opravdu chcete pokračovat?\r\nTímto provedete nenávratnou změnu písma u všech záznamů v databázi. "
    "Bude nastaveno zvolené písmo jednotně pro všechny záznamy. ");

namespace {

QLabel* linkLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

bool askYesNo(QWidget* parent, MessageBox::Icon icon, const QString& title, const QString& text,
              MessageBox::Button preferred = MessageBox::Yes)
{
    return MessageBox::askYesNo(parent, icon, title, text, preferred);
}

void inform(QWidget* parent, const QString& text)
{
    MessageBox::tell(parent, MessageBox::Information, QStringLiteral("Information"), text);
}

}  // namespace

TAbout_Form::TAbout_Form(TDM& data, KindsList& kinds, SettingsWindowServices services, QWidget* parent)
    : ui::SecondaryWindow(parent), data_(data), kinds_(kinds), services_(std::move(services)),
      quickShortcut_(services_.quickShortcut)
{
    setObjectName(QStringLiteral("About_Form"));
    setWindowTitle(QStringLiteral("Nastavení, o programu"));

    GroupBox2 = new QGroupBox(QStringLiteral("Informace o produktu :  "), this);
    auto* product = new QGridLayout(GroupBox2);
    Label6 = new QLabel(QStringLiteral("Autor : ") + product::kAuthor, GroupBox2);
    Label7 = new QLabel(QStringLiteral("e-mail : "), GroupBox2);
    Label10 = linkLabel(product::kMail, GroupBox2);
    Label8 = new QLabel(QStringLiteral("web : "), GroupBox2);
    Label9 = linkLabel(product::kWeb, GroupBox2);
    Label14 = new QLabel(QStringLiteral("verze programu:"), GroupBox2);
    verze_label = ui::plainLabel(GroupBox2);
    verze_label->setObjectName(QStringLiteral("verze_label"));
    CheckBox1 = ui::named(new QCheckBox(QStringLiteral("Kontrolovat po startu"), GroupBox2), "CheckBox1");
    Aktualizace_Button = ui::named(new QPushButton(QStringLiteral("Kontrola aktualizací"), GroupBox2), "Aktualizace_Button");
    product->addWidget(Label6, 0, 0, 1, 2);
    product->addWidget(Label7, 1, 0);
    product->addWidget(Label10, 1, 1);
    product->addWidget(Label8, 2, 0);
    product->addWidget(Label9, 2, 1);
    product->addWidget(Label14, 3, 0);
    product->addWidget(verze_label, 3, 1);
    product->addWidget(CheckBox1, 4, 0);
    product->addWidget(Aktualizace_Button, 4, 1, Qt::AlignLeft);
    product->setColumnStretch(1, 1);

    GroupBox3 = new QGroupBox(QStringLiteral("Písmo"), this);
    auto* fonts = new QVBoxLayout(GroupBox3);
    Button1 = ui::named(new QPushButton(QStringLiteral("Nastavit výchozí font programu"), GroupBox3), "Button1");
    Button3 = ui::named(new QPushButton(QStringLiteral("Změnit hromadně písmo u všech\nzadaných záznamů"), GroupBox3), "Button3");
    fonts->addWidget(Button1);
    fonts->addWidget(Button3);
    fonts->addStretch(1);

    GroupBox4 = new QGroupBox(QStringLiteral("Druhy vorlinů"), this);
    auto* kindsColumn = new QVBoxLayout(GroupBox4);
    Memo1 = new QPlainTextEdit(GroupBox4);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    setMemoLines(kinds_.working());
    // The memo is the working list: its edits are the list's, and what
    // others add to the list shows in it.
    connect(Memo1, &QPlainTextEdit::textChanged, this, ui::guarded([this] { kinds_.setWorking(memoLines()); }));
    connect(&kinds_, &KindsList::workingChanged, this, [this](const QStringList& kinds) {
        if (memoLines() != kinds)
            setMemoLines(kinds);
    });
    Button4 = ui::named(new QPushButton(QStringLiteral("Uložit"), GroupBox4), "Button4");
    kindsColumn->addWidget(Memo1, 1);
    kindsColumn->addWidget(Button4, 0, Qt::AlignRight);

    GroupBox5 = new QGroupBox(QStringLiteral("Správa databáze programu"), this);
    auto* store = new QVBoxLayout(GroupBox5);
    Button6 = ui::named(new QPushButton(QStringLiteral("Záloha databázových souborů"), GroupBox5), "Button6");
    Button5 = ui::named(new QPushButton(QStringLiteral("Vymazat databázi vorlinů"), GroupBox5), "Button5");
    QPalette red = Button5->palette();
    red.setColor(QPalette::ButtonText, Qt::red);
    Button5->setPalette(red);
    store->addWidget(Button6);
    store->addWidget(Button5);

    GroupBox6 = new QGroupBox(QStringLiteral("Rychlé vložení"), this);
    auto* quick = new QGridLayout(GroupBox6);
    QuickShortcutEdit = new QKeySequenceEdit(GroupBox6);
    QuickShortcutEdit->setObjectName(QStringLiteral("QuickShortcutEdit"));
    QuickShortcutEdit->setClearButtonEnabled(true);
    // The keys are typed into the box inside it, which a screen reader names.
    for (QWidget* box : std::initializer_list<QWidget*>{QuickShortcutEdit, QuickShortcutEdit->findChild<QLineEdit*>()})
        if (box)
            box->setAccessibleName(QStringLiteral("Klávesová zkratka rychlého vložení"));
    QuickRestoreCheck = new QCheckBox(QStringLiteral("Po vložení vrátit předchozí obsah schránky"), GroupBox6);
    QuickRestoreCheck->setObjectName(QStringLiteral("QuickRestoreCheck"));
    QuickShortcutState = ui::named(ui::plainLabel(GroupBox6), "QuickShortcutState");
    QuickShortcutState->setObjectName(QStringLiteral("QuickShortcutState"));
    QuickShortcutState->setWordWrap(true);
    QuickShortcutState->setTextInteractionFlags(Qt::TextSelectableByMouse);
    quick->addWidget(new QLabel(QStringLiteral("Klávesová zkratka:"), GroupBox6), 0, 0);
    quick->addWidget(QuickShortcutEdit, 0, 1);
    quick->addWidget(QuickShortcutState, 1, 0, 1, 2);
    quick->addWidget(QuickRestoreCheck, 2, 0, 1, 2);
    quick->setColumnStretch(1, 1);

    GroupBox7 = ui::named(new LibraryGroup(data_, this), "GroupBox7");

    GroupBox8 = new QGroupBox(QStringLiteral("Pole vorlinů"), this);
    auto* register_ = new QVBoxLayout(GroupBox8);
    RegisterAddressEdit = ui::named(new QLineEdit(GroupBox8), "RegisterAddressEdit");
    RegisterAddressEdit->setAccessibleName(QStringLiteral("Adresa registru ARES"));
    RegisterAddressEdit->setPlaceholderText(QStringLiteral("prázdná: IČO se nevyhledává"));
    register_->addWidget(new QLabel(QStringLiteral("Adresa registru ARES (údaje firmy k IČO):"), GroupBox8));
    register_->addWidget(RegisterAddressEdit);

    for (QGroupBox* group :
         {GroupBox2, GroupBox3, GroupBox4, GroupBox5, GroupBox6, static_cast<QGroupBox*>(GroupBox7), GroupBox8})
        ui::frameGroup(group);
    store->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(GroupBox2, 0, 0, 1, 2);
    layout->addWidget(GroupBox3, 1, 0);
    layout->addWidget(GroupBox5, 2, 0);
    layout->addWidget(GroupBox4, 1, 1);
    layout->addWidget(GroupBox8, 2, 1);
    // Side by side: the window fits a laptop's screen under its panel.
    layout->addWidget(GroupBox6, 3, 0);
    layout->addWidget(GroupBox7, 3, 1);
    layout->setRowStretch(2, 1);

    connect(CheckBox1, &QCheckBox::toggled, this, ui::guarded(this, &TAbout_Form::CheckBox1Click));
    connect(Aktualizace_Button, &QPushButton::clicked, this, ui::guarded(this, &TAbout_Form::Aktualizace_ButtonClick));
    connect(Button1, &QPushButton::clicked, this, ui::guarded(this, &TAbout_Form::Button1Click));
    connect(Button3, &QPushButton::clicked, this, ui::guarded(this, &TAbout_Form::Button3Click));
    connect(Button4, &QPushButton::clicked, this, ui::guarded(this, &TAbout_Form::Button4Click));
    connect(Button5, &QPushButton::clicked, this, ui::guarded(this, &TAbout_Form::Button5Click));
    connect(Button6, &QPushButton::clicked, this, ui::guarded(this, &TAbout_Form::Button6Click));
    connect(QuickShortcutEdit, &QKeySequenceEdit::editingFinished, this,
            ui::guarded(this, &TAbout_Form::quickShortcutEdited));
    connect(QuickShortcutEdit, &QKeySequenceEdit::keySequenceChanged, this, [this](const QKeySequence& keys) {
        if (keys.isEmpty())  // the clear button
            ui::guarded(this, &TAbout_Form::quickShortcutEdited)();
    });
    connect(QuickRestoreCheck, &QCheckBox::toggled, this, ui::guarded(this, &TAbout_Form::quickRestoreClick));
    connect(RegisterAddressEdit, &QLineEdit::editingFinished, this,
            ui::guarded(this, &TAbout_Form::registerAddressEdited));
    connect(&quickShortcut_, &platform::GlobalShortcut::stateChanged, this, &TAbout_Form::showShortcutState);
    Label9->installEventFilter(this);
    Label10->installEventFilter(this);

    if (!services_.queryUpdate)
        services_.queryUpdate = [](bool interactive) {
            SetUpdateReporter([](const char* message) {
                MessageBox::tell(QApplication::activeWindow(), MessageBox::Information, QStringLiteral("Vorlin"),
                                 QString::fromUtf8(message));
            });
            const QByteArray version = product::updateUrl().toLatin1();
            const QByteArray local = QFile::encodeName(paths().exeDir + QStringLiteral("vorlin.txt"));
            const QByteArray download = product::downloadUrl().toLatin1();
            const QByteArray data = QFile::encodeName(paths().dataDir);
            unsigned char newer = 0;
            QueryUpdate(version.constData(), local.constData(), download.constData(), data.constData(),
                        interactive ? 1 : 0, &newer);
            return newer == 1;
        };
    // The same chooser as the import's: a typed new folder is created after asking.
    if (!services_.chooseBackupFolder)
        services_.chooseBackupFolder = [this] {
            return ui::FolderDialog::choose(this, QStringLiteral("Záloha databázových souborů"), QDir::homePath());
        };
    if (!services_.openUrl)
        services_.openUrl = [](const QString& url) {
            withUsersFileMask([&] { QDesktopServices::openUrl(QUrl(url)); });
        };

    adjustSize();
}

void TAbout_Form::showWindow()
{
    GroupBox7->showCurrent();
    showOver(home());
}

QStringList TAbout_Form::memoLines() const
{
    return splitLines(Memo1->toPlainText());
}

void TAbout_Form::setMemoLines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + u'\n';
    Memo1->setPlainText(text);
}

void TAbout_Form::FormCreate()
{
    setMemoLines(kinds::load(kinds::filePath(paths().dataDir)));

    bool newer = false;
    try {
        const SettingsFile& ini = programSettings();
        CheckBox1->setChecked(
            ini.readBool(settings::kSection, settings::kCheckAtStartKey, settings::kCheckAtStartDefault));
        if (CheckBox1->isChecked())
            newer = services_.queryUpdate(false);
    } catch (...) {
        // The settings and the check at start are optional: the start goes on.
    }
    if (newer && askYesNo(this, MessageBox::Question, QStringLiteral("Confirm"),
                          QStringLiteral("Chcete načíst stránku ke stažení na internetu?")))
        services_.openUrl(product::downloadUrl());

    try {
        const SettingsFile& ini = programSettings();
        const QSignalBlocker quiet(QuickShortcutEdit);
        const QSignalBlocker quietToo(QuickRestoreCheck);
        QuickShortcutEdit->setKeySequence(QKeySequence::fromString(
            ini.readString(settings::kSection, settings::kQuickShortcutKey, settings::kQuickShortcutDefault.toString()),
            QKeySequence::PortableText));
        QuickRestoreCheck->setChecked(ini.readBool(settings::kSection, settings::kQuickRestoreClipboardKey,
                                                   settings::kQuickRestoreClipboardDefault));
        RegisterAddressEdit->setText(ini.readString(settings::kSection, settings::kRegisterAddressKey,
                                                    settings::kRegisterAddressDefault.toString()));
    } catch (...) {
        // An unreadable settings file leaves the defaults in the window.
    }
    showShortcutState(quickShortcut_.state());

    // Without a version file the label stays empty.
    if (const auto version = installedVersion(paths().exeDir))
        verze_label->setText(QStringLiteral("Verze ") + *version);
}

void TAbout_Form::CheckBox1Click()
{
    programSettings()
        .writeBool(settings::kSection, settings::kCheckAtStartKey, CheckBox1->isChecked());
}

void TAbout_Form::quickShortcutEdited()
{
    // One chord: the editor would go on collecting a sequence of them.
    QKeySequence keys = QuickShortcutEdit->keySequence();
    const QKeyCombination chord = keys.isEmpty() ? QKeyCombination() : keys[0];
    if (keys.count() > 1) {
        const QSignalBlocker quiet(QuickShortcutEdit);
        QuickShortcutEdit->setKeySequence(QKeySequence(chord));
        keys = QKeySequence(chord);
    }
    programSettings()
        .writeString(settings::kSection, settings::kQuickShortcutKey, keys.toString(QKeySequence::PortableText));
    showShortcutState(quickShortcut_.bind(chord.key(), chord.keyboardModifiers()));
}

void TAbout_Form::quickRestoreClick()
{
    programSettings()
        .writeBool(settings::kSection, settings::kQuickRestoreClipboardKey, QuickRestoreCheck->isChecked());
}

void TAbout_Form::registerAddressEdited()
{
    programSettings().writeString(settings::kSection, settings::kRegisterAddressKey,
                                  RegisterAddressEdit->text().trimmed());
}

void TAbout_Form::showShortcutState(platform::ShortcutState state)
{
    // A shortcut that does not work stands out.
    QPalette palette = QuickShortcutState->palette();
    palette.setColor(QPalette::WindowText, state == platform::ShortcutState::TakenByOther || state == platform::ShortcutState::Refused ? QColor(Qt::red).darker(130)
                                                                                           : this->palette().color(QPalette::WindowText));
    QuickShortcutState->setPalette(palette);
    switch (state) {
    case platform::ShortcutState::Off:
        QuickShortcutState->setText(QStringLiteral("Zkratka není nastavena. Okno rychlého vložení otevře také příkaz "
                                                   "vorlin --quick-insert."));
        break;
    case platform::ShortcutState::Registered:
        QuickShortcutState->setText(QStringLiteral("Zkratka je zaregistrována a funguje v každém okně."));
        break;
    case platform::ShortcutState::TakenByOther:
        QuickShortcutState->setText(QStringLiteral("Zkratku už používá jiný program"));
        break;
    case platform::ShortcutState::Asking:
        QuickShortcutState->setText(QStringLiteral("Plocha se ptá, zda zkratku povolit…"));
        break;
    case platform::ShortcutState::Refused:
        QuickShortcutState->setText(QStringLiteral("Plocha zkratku nepovolila. V nastavení klávesnice plochy můžete "
                                                   "klávesám přiřadit příkaz: vorlin --quick-insert"));
        break;
    case platform::ShortcutState::NotOffered:
        QuickShortcutState->setText(
            QStringLiteral("Tato plocha programům vlastní zkratky nedovoluje. V nastavení klávesnice plochy přiřaďte "
                           "zkratce příkaz: vorlin --quick-insert"));
        break;
    }
}

void TAbout_Form::Aktualizace_ButtonClick()
{
    if (services_.queryUpdate(true) && askYesNo(this, MessageBox::Question, QStringLiteral("Confirm"),
                                      QStringLiteral("Chcete přejít na stránku ke stažení?")))
        services_.openUrl(product::downloadUrl());
}

void TAbout_Form::Button1Click()
{
    FontDialog1.setFont(TDM::defaultFont());
    if (!FontDialog1.execute(this))
        return;
    programSettings()
        .writeString(settings::kSection, settings::kFontKey, fontSpecText(FontDialog1.font()));
}

void TAbout_Form::Button3Click()
{
    FontDialog1.setFont(TDM::defaultFont());
    if (!FontDialog1.execute(this))
        return;
    if (!askYesNo(this, MessageBox::Warning, QStringLiteral("Warning"), kBulkQuestion,
                  MessageBox::No))  // a stray Enter never rewrites every listed snippet
        return;
    db::Query& query = data_.Vorlin_ADOQuery;
    const Font font = FontDialog1.font();
    query.checkBrowseMode();  // an unsaved edit of the current row is saved first
    query.awaitTable();
    // Each row is found by its key: a colleague's change read between two
    // rows moves the others in the list, and a row deleted meanwhile is
    // passed over.
    QList<QVariant> keys;
    for (int row = 0; row < query.recordCount(); ++row)
        keys << query.valueAt(row, QStringLiteral("ID"));
    const int count = int(keys.size());

    // Long lists show how far the change is; nothing but repaints is handled
    // meanwhile.
    QProgressDialog progress(QStringLiteral("Mění se písmo záznamů…"), QString(), 0, count, this);
    progress.setWindowTitle(windowTitle());
    progress.setMinimumDuration(500);
    progress.setWindowModality(Qt::NonModal);
    const QString body = QStringLiteral("obsah");
    // The editors do not show every row on the way.
    const db::HeldControls held(data_.Vorlin_DataSource);
    for (int row = 0; row < count; ++row) {
        if (!query.locate(QStringLiteral("ID"), keys[row]))
            continue;
        const QString stored = query.value(body).toString();
        const QString changed = ui::bodyWithFont(stored, font, palette());
        if (changed != stored) {
            query.edit();
            query.setValue(body, changed);
            query.post();
        }
        if (row % 50 == 49) {
            // The rows are the window's query's, walked here on its thread:
            // the progress is drawn between them, no input taken meanwhile.
            progress.setValue(row + 1);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    progress.reset();
    inform(this, QStringLiteral("Změna písma byla ukončena."));
}

void TAbout_Form::Button4Click()
{
    kinds_.setWorking(memoLines());
    kinds_.save();
}

void TAbout_Form::Button5Click()
{
    if (!askYesNo(this, MessageBox::Warning, QStringLiteral("Warning"),
                  QStringLiteral("Opravdu chcete vymazat všechna data z databáze? Tuto akci již nepůjde vzít zpět."),
                  MessageBox::No))  // a stray Enter never wipes the library
        return;
    data_.ADOCommand1.setCommandText(QStringLiteral("DELETE * FROM vorlin"));
    data_.ADOCommand1.execute();
    data_.Vorlin_ADOQuery.close();
    data_.Vorlin_ADOQuery.open();
}

namespace {

// Whether the folder is the other one or lies inside it, links resolved.
bool isInside(const QString& folder, const QString& other)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    const QString outer = QFileInfo(other).canonicalFilePath();
    return !path.isEmpty() && !outer.isEmpty() && (path == outer || path.startsWith(outer + u'/'));
}

}  // namespace

void TAbout_Form::Button6Click()
{
    const QString folder = services_.chooseBackupFolder();
    if (folder.isEmpty())
        return;
    if (isInside(folder, paths().dataDir)) {
        inform(this, QStringLiteral("Zálohu nelze uložit do složky s daty programu (%1): každá další záloha "
                                    "by v ní kopírovala i ty předchozí. Vyberte jinou složku.")
                         .arg(QDir::toNativeSeparators(paths().dataDir)));
        return;
    }
    QString reason;
    if (!backUpInto(folder, &reason)) {
        inform(this, QStringLiteral("Došlo k problému při záloze.\n%1").arg(reason));
        return;
    }
    // The office library lives on its server: this computer holds only a copy.
    inform(this, data_.library.isServer()
                     ? QStringLiteral("Záloha byla provedena.\nKnihovna vorlinů je na serveru kanceláře „%1“ a "
                                      "zálohuje ji jeho správce; záloha obsahuje data tohoto počítače a poslední "
                                      "kopii knihovny, kterou tento počítač viděl.")
                           .arg(data_.library.shownServer())
                     : QStringLiteral("Záloha byla provedena."));
}

bool TAbout_Form::backUpInto(const QString& folder, QString* reason)
{
    const QString source = paths().dataDir;
    const QString database = QDir::cleanPath(libraryFileIn(source));
    FolderCopy copy;
    QProgressDialog progress(QStringLiteral("Zálohují se databázové soubory…"), QStringLiteral("Storno"), 0, 1000,
                             this);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    copy.progress = [&progress](qint64 done, qint64 total) {
        progress.setValue(total > 0 ? int(done * 1000 / total) : 1000);
        return !progress.wasCanceled();
    };
    copy.askReplace = [this](const QString& target) {
        switch (MessageBox::ask(this, MessageBox::Question, windowTitle(),
                                QStringLiteral("Soubor \"%1\" už v záloze je. Chcete jej nahradit?").arg(target),
                                MessageBox::Yes | MessageBox::YesToAll | MessageBox::No | MessageBox::Cancel,
                                MessageBox::NoButton)) {
        case MessageBox::Yes: return FolderCopy::Answer::Yes;
        case MessageBox::YesToAll: return FolderCopy::Answer::YesToAll;
        case MessageBox::No: return FolderCopy::Answer::No;
        default: return FolderCopy::Answer::Cancel;
        }
    };
    // The databases are copied by the engine: whole, consistent files, even
    // while the copy of the office library is being written. Their passing
    // journals stay behind: next to a whole copy, one would be rolled back
    // into it.
    const QString serverCopy = QDir::cleanPath(source + QStringLiteral("knihovna_serveru.mdb"));
    copy.copySpecial = [this, database, serverCopy](const QString& file, const QString& temporary) {
        const QString path = QDir::cleanPath(file);
        if (path == serverCopy) {
            db::Database(path).copyTo(temporary);
            return true;
        }
        if (path != database || !data_.ADOConnection1.isConnected() || !data_.ADOConnection1.isLocalFile())
            return false;
        data_.Vorlin_ADOQuery.checkBrowseMode();
        data_.ADOConnection1.database().copyTo(temporary);
        return true;
    };
    copy.leaveOut = [database, serverCopy](const QString& file) {
        const QString path = QDir::cleanPath(file);
        return path == database + QStringLiteral("-journal") || path == serverCopy + QStringLiteral("-journal");
    };
    const QString target = QDir(folder).filePath(QDir(source).dirName());
    try {
        const bool copied = copy.copy(source, target);
        if (reason)
            *reason = copy.error();
        return copied;
    } catch (const Error& error) {
        if (reason)
            *reason = error.message();
        return false;
    }
}

void TAbout_Form::Label9Click()
{
    services_.openUrl(product::kWeb);
}

void TAbout_Form::Label10Click()
{
    services_.openUrl(QStringLiteral("mailto:") + product::kMail);
}

bool TAbout_Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label9)
            Label9Click();
        else if (watched == Label10)
            Label10Click();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vorlin
