#include "ui/import/Import_Unit.h"

#include "common/Paths.h"
#include "common/PrivateFiles.h"
#include "common/TextFile.h"
#include "common/Win1250.h"
#include "data/DM_Unit.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/ErrorBox.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"
#include "import/Candidates.h"
#include "import/FileSetRun.h"
#include "platform/PrivateOfficeConverter.h"
#include "ui/widgets/FolderDialog.h"
#include "ui/widgets/Named.h"
#include "regex/RegExpr.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QShortcut>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include <vector>

namespace vorlin {


namespace {

// A box with the message and OK, no icon, the program's title.
void showMessage(QWidget* parent, const QString& text)
{
    MessageBox::tell(parent, MessageBox::NoIcon, kApplicationTitle.toString(), text);
}

QPushButton* twoLineButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setMinimumHeight(button->fontMetrics().lineSpacing() * 2 + 10);
    return button;
}

}  // namespace

TImport_Form::TImport_Form(TDM& data, KindsList& kinds, ImportWindowServices services, QWidget* parent)
    : ui::SecondaryWindow(parent), data_(data), kinds_(kinds), services_(std::move(services))
{
    setObjectName(QStringLiteral("Import_Form"));
    setWindowTitle(QStringLiteral("Import"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Import_Memo1"));
    Memo1->setFixedHeight(145);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setAccessibleName(QStringLiteral("Text k prohledání"));

    items = ui::named(new ReviewListModel(this), "items");
    CheckListBox1 = new QListView(this);
    CheckListBox1->setModel(items);
    CheckListBox1->setUniformItemSizes(true);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setAccessibleName(QStringLiteral("Nalezené záznamy"));

    Panel1 = new QWidget(this);
    Panel1->setFixedWidth(168);
    Button2 = ui::named(new QPushButton(QStringLiteral("Otevřít vstup txt"), Panel1), "Button2");
    Button3 = ui::named(new QPushButton(QStringLiteral("Zpracovat text výše"), Panel1), "Button3");
    Button4 = ui::named(twoLineButton(QStringLiteral("Zpracovat sadu souborů\ndoc, docx, txt"), Panel1), "Button4");
    Zastavit_Button = ui::named(new QPushButton(QStringLiteral("Zastavit"), Panel1), "Zastavit_Button");
    Button1 = ui::named(new QPushButton(QStringLiteral("Uložit označené záznamy"), Panel1), "Button1");
    Button5 = twoLineButton(QStringLiteral("Otevřít adresář\nse šablonami"), Panel1);
    Zastavit_Button->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    Zastavit_Button->setEnabled(false);
    auto* panel = new QVBoxLayout(Panel1);
    panel->setContentsMargins(4, 0, 0, 0);
    for (QPushButton* button : {Button2, Button3, Button4, Zastavit_Button, Button1, Button5})
        panel->addWidget(button);
    panel->addStretch(1);

    Button6 = ui::named(new QPushButton(QStringLiteral("vše"), this), "Button6");
    Button7 = ui::named(new QPushButton(QStringLiteral("nic"), this), "Button7");
    for (QPushButton* button : {Button6, Button7})
        button->setFixedSize(button->fontMetrics().horizontalAdvance(QStringLiteral("vše")) + 16, 20);
    auto* ticks = new QVBoxLayout;
    ticks->addWidget(Button6);
    ticks->addWidget(Button7);
    ticks->addStretch(1);

    StatusBar1 = ui::named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    PopupMenu1 = ui::named(new QMenu(this), "PopupMenu1");

    auto* middle = new QHBoxLayout;
    middle->addWidget(CheckListBox1, 1);
    middle->addLayout(ticks);
    middle->addWidget(Panel1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(Memo1);
    layout->addLayout(middle, 1);
    layout->addWidget(StatusBar1);

    connect(Button2, &QPushButton::clicked, this, ui::guarded(this, &TImport_Form::Button2Click));
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(Button3); }));
    connect(Button4, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(Button4); }));
    connect(Zastavit_Button, &QPushButton::clicked, this, ui::guarded(this, &TImport_Form::Zastavit_ButtonClick));
    // The window's cancel button: Esc presses it while it is enabled.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (Zastavit_Button->isEnabled())
            Zastavit_Button->click();
    });
    connect(Button1, &QPushButton::clicked, this, ui::guarded(this, &TImport_Form::Button1Click));
    connect(Button5, &QPushButton::clicked, this, ui::guarded(this, &TImport_Form::Button5Click));
    connect(Button6, &QPushButton::clicked, this, ui::guarded(this, &TImport_Form::Button6Click));
    connect(Button7, &QPushButton::clicked, this, ui::guarded(this, &TImport_Form::Button7Click));

    if (!services_.chooseInputFile)
        services_.chooseInputFile = [this] {
            return QFileDialog::getOpenFileName(this, QStringLiteral("Otevřít vstup txt"), QString(),
                                                QStringLiteral("*.txt"));
        };
    if (!services_.openFolder)
        services_.openFolder = [](const QString& folder) {
            withUsersFileMask([&] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); });
        };
    if (!services_.chooseFolder)
        services_.chooseFolder = [this] {
            return ui::FolderDialog::choose(this, QStringLiteral("Vyberte složku s dokumenty"), QDir::homePath());
        };
    if (!services_.makeConverter)
        services_.makeConverter = [] { return std::make_unique<platform::PrivateOfficeConverter>(); };

    resize(782, 460);
}

void TImport_Form::showEmptied()
{
    showOver(home());
    if (runInProgress_)
        return;  // shown as the run has it
    Memo1->clear();
    items->clear();
}

bool TImport_Form::refusedDuringRun()
{
    if (!runInProgress_)
        return false;
    showMessage(this, QStringLiteral("Právě probíhá zpracování sady souborů. "
                                     "Počkejte na jeho konec, nebo ho ukončete tlačítkem Zastavit."));
    return true;
}

void TImport_Form::Button2Click()
{
    if (refusedDuringRun())
        return;
    const QString file = services_.chooseInputFile();
    if (file.isEmpty())
        return;
    Memo1->clear();
    Memo1->setPlainText(splitLines(decodeForeignText(readWholeFile(file))).join(u'\n'));
}

QStringList TImport_Form::filterFiles() const
{
    // Directly in the folder, "*.txt" without regard to letter case.
    return QDir(paths().filterDir)
        .entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
}

void TImport_Form::Button3Click(QPushButton* pressed)
{
    if (refusedDuringRun())
        return;
    PopupMenu1->clear();
    for (const QString& file : filterFiles()) {
        // The menu takes "&" for an accelerator mark: doubled, it stays a "&".
        QString caption = file;
        caption.replace(u'&', QStringLiteral("&&"));
        QAction* item = PopupMenu1->addAction(caption);
        item->setData(file);
        if (pressed == Button3)
            connect(item, &QAction::triggered, this, ui::guarded([this, file] { PopupMenuItemsClick(file); }));
        else
            connect(item, &QAction::triggered, this, ui::guarded([this, file] { PopupMenuItemsClick2(file); }));
    }
    PopupMenu1->popup(pressed->mapToGlobal(QPoint(pressed->width(), pressed->height())));
}

void TImport_Form::PopupMenuItemsClick(const QString& fileName)
{
    TRegExpr engine;
    const QList<QByteArray> patterns = filterPatterns(paths().filterDir + fileName);
    items->clear();
    QString text = Memo1->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    const QByteArray input = win1250::encode(text);
    try {
        for (const QByteArray& pattern : patterns) {
            engine.setExpression(pattern);
            for (bool found = engine.exec(input); found; found = engine.execNext())
                items->add(win1250::decode(engine.match()));
        }
    } catch (...) {
        items->flush();  // what was found before the error stays
        throw;
    }
    items->flush();
}

void TImport_Form::Button1Click()
{
    if (refusedDuringRun())
        return;
    LastKind.clear();
    db::Query& query = data_.Vorlin_ADOQuery;
    for (int row = 0; row < items->count(); ++row) {
        if (!items->isChecked(row))
            continue;
        const QString text = candidates::storedText(candidates::textOf(items->text(row)));
        query.insert();
        query.setValue(QStringLiteral("nazev"), text);
        query.setValue(QStringLiteral("obsah"), text);
        QString kind = askKind(LastKind);
        kinds_.add(kind);
        query.setValue(QStringLiteral("druh"), kind);
        LastKind = query.value(QStringLiteral("druh")).toString();
        query.post();
    }
    hide();
}

QString TImport_Form::askKind(const QString& preset)
{
    QInputDialog prompt(this);
    prompt.setWindowTitle(QStringLiteral("Zadejte druh záznamu"));
    prompt.setLabelText(QStringLiteral("Druh"));
    prompt.setTextValue(preset);
    // Wide enough for the whole title in the window's frame: the dialog
    // keeps the size its contents ask for, so the box is made wider.
    if (auto* box = prompt.findChild<QLineEdit*>())
        box->setMinimumWidth(prompt.fontMetrics().horizontalAdvance(prompt.windowTitle()) * 2 + 60);
    return ui::runDialog(prompt) == QDialog::Accepted ? prompt.textValue() : preset;
}

void TImport_Form::PopupMenuItemsClick2(const QString& fileName)
{
    if (refusedDuringRun())
        return;
    runInProgress_ = true;
    const struct RunEnds {
        bool& running;
        ~RunEnds() { running = false; }
    } runEnds{runInProgress_};

    // The office starts while the user looks for the folder, and a second
    // one beside it where two convert at once; a folder without documents,
    // or none chosen, ends them unused.
    std::vector<std::unique_ptr<platform::DocumentConverter>> early;
    early.push_back(services_.makeConverter());
    if (early.front()->convertsBesideAnother())
        early.push_back(services_.makeConverter());
    for (const auto& office : early)
        office->prepare();
    const auto converter = [&] {
        if (early.empty())
            return services_.makeConverter();
        std::unique_ptr<platform::DocumentConverter> next = std::move(early.front());
        early.erase(early.begin());
        return next;
    };

    QString folder = services_.chooseFolder();
    if (!folder.isEmpty()) {
        if (!folder.endsWith(u'/'))
            folder += u'/';
        StopRequested = false;
        Zastavit_Button->setEnabled(true);
        FileSetRun::Hooks hooks;
        hooks.status = [this](const QString& text) { setStatus(text); };
        hooks.notice = [this](const QString& text) { showMessage(this, text); };
        hooks.deleteGeneratedFiles = [this] {
            return MessageBox::askYesNo(this, MessageBox::NoIcon, kApplicationTitle.toString(),
                                        QStringLiteral("Chcete vymazat vygenerované soubory txt?"), MessageBox::NoButton);
        };
        hooks.showFilteredText = [this](const QString& text) { Memo1->setPlainText(text); };
        // Between the documents the window repaints and "Zastavit" acts;
        // during a conversion the wait for it serves them.
        hooks.serveEvents = [] { QCoreApplication::processEvents(); };
        hooks.listComplete = [this] { CheckListBox1->repaint(); };
        FileSetRun(std::move(hooks), *items, converter, conversionTimeoutMs)
            .run(folder, paths().filterDir + fileName, StopRequested);
    }
    if (StopRequested)
        showMessage(this, QStringLiteral("Průběh byl zastaven."));
    Zastavit_Button->setEnabled(false);
    StopRequested = false;
}

void TImport_Form::setStatus(const QString& text)
{
    StatusBar1->showMessage(text);
    // Drawn at once: the run serves no events until its next point, and the
    // line names the document being worked on now.
    StatusBar1->repaint();
}

void TImport_Form::Zastavit_ButtonClick()
{
    StopRequested = true;
}

void TImport_Form::Button5Click()
{
    services_.openFolder(paths().filterDir);
}

void TImport_Form::Button6Click()
{
    items->setAllChecked(true);
}

void TImport_Form::Button7Click()
{
    items->setAllChecked(false);
}

}  // namespace vorlin
