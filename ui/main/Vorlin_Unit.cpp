#include "ui/main/Vorlin_Unit.h"

#include "ui/shell/ErrorBox.h"
#include "ui/shell/Guarded.h"
#include "common/Error.h"
#include "common/Integer.h"
#include "common/Paths.h"
#include "data/IniFile.h"
#include "data/KindsFile.h"
#include "data/SearchLines.h"
#include "output/EditorDiscovery.h"
#include "output/EditorInsertion.h"
#include "data/Settings.h"
#include "ui/Icons.h"
#include "ui/widgets/EditShortcuts.h"
#include "ui/widgets/GroupFrame.h"
#include "ui/widgets/RichEditActions.h"
#include "ui/widgets/WrappedCheckBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace vorlin {

TVorlin_Form* Vorlin_Form = nullptr;

namespace {

// Colours of the two right-hand groups, as 0x00BBGGRR values.
constexpr Color kExportGroupColour = 15137510;  // light green
constexpr Color kOtherWorkColour = 16763594;    // light blue


const char kHelpText[] =
    "Pokud je zatržena možnost \"použít zkratku ctrl+v po uplynutí času\", program začne odpočítávat počet "
    "sekund uvedený napravo od této možnosti. \r\n"
    "Po uplynutí tohoto časového intervalu program odešle klávesovou zkratku ctrl+v. \r\n"
    "Pokud tedy necháte zatrženou tuto možnost, tak jakmile kliknete na tlačítko \"Kopírovat do schránky\", "
    "přepněte se do programového okna, kde chcete požadovaný text vložit, a vyčkejte, než bude text vložen.\r\n"
    "Typický příklad použití - potřebuji vložit nějaký často používaný text do emailu. Předvytvořím si okno "
    "emailu, nastavím si kurzor v místě emailu, kde chci text vložit, v programu Vorlin si najdu požadovaný "
    "text, nechám zatrženou možnost použít zkratku ctrl+v, stisknu tlačítko kopírovat do schránky a přepnu se "
    "zpět do emailu. Text se vloží.";

const char kQuitLosingEditQuestion[] =
    "Změny rozpracovaného záznamu se nepodařilo uložit. Chcete přesto Vorlin ukončit a změny ztratit?";

}  // namespace

TVorlin_Form::TVorlin_Form(db::DataSource* dataSource, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Vorlin_Form"));
    setWindowTitle(QStringLiteral("Vorlin"));
    setWindowIcon(ui::icons::application());

    auto* columns = new QHBoxLayout(this);
    // A larger window gives the list and the editor more room; the export
    // controls keep their width.
    columns->addWidget(buildLeftColumn(dataSource), 3);
    columns->addWidget(buildMiddleColumn(dataSource), 4);
    columns->addWidget(buildRightColumn(), 0);

    ui::addEditShortcuts(this, dataSource);
    // What a screen reader says of the controls that show no caption of their own.
    const std::pair<QWidget*, const char*> names[] = {
        {DBGrid1, "Seznam záznamů"},
        {Jmeno_Edit, "Vyhledávání v názvu a v klíčových slovech"},
        {ListBox1, "Druh záznamu pro vyhledávání"},
        {DBRichEdit1, "Text záznamu"},
        {Word_ListBox, "Spuštěné textové editory"},
        {BitBtn6, "Nápověda ke zkratce ctrl+v"},
        {Edit1, "Časový interval v sekundách"},
        {UpDown1, "Časový interval"},
    };
    for (const auto& [control, name] : names)
        control->setAccessibleName(QString::fromUtf8(name));
    // The day starts with a search.
    Jmeno_Edit->setFocus(Qt::OtherFocusReason);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->addAction(QStringLiteral("Ukázat okno"), this, &TVorlin_Form::Ukzatokno1Click);
    PopupMenu1->addAction(QStringLiteral("Skrýt okno"), this, &TVorlin_Form::Skrt1Click);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(QStringLiteral("Ukončit"), this, &TVorlin_Form::Ukonit1Click);

    Timer1 = new WindowTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &WindowTimer::timeout, this, ui::guarded(this, &TVorlin_Form::Timer1Timer));

    TrayIcon = new QSystemTrayIcon(this);
    TrayIcon->setIcon(ui::icons::application());
    TrayIcon->setToolTip(QStringLiteral("Vorlin"));
    TrayIcon->setContextMenu(PopupMenu1);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, ui::guarded(this, &TVorlin_Form::TrayIconActivated));

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TVorlin_Form::~TVorlin_Form()
{
    if (DM)
        DM->setBodyEditor(nullptr);
}

QWidget* TVorlin_Form::buildLeftColumn(db::DataSource* dataSource)
{
    auto* column = new QWidget(this);
    column->setMinimumWidth(330);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    DBNavigator1 = new ui::DBNavigator(dataSource, column);
    layout->addWidget(DBNavigator1);
    DBGrid1 = new ui::DBGrid(dataSource, {{QStringLiteral("Název"), QStringLiteral("nazev")},
                                          {QStringLiteral("Druh"), QStringLiteral("druh")}},
                             column);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setMinimumHeight(520);
    layout->addWidget(DBGrid1, 1);
    connect(DBGrid1, &ui::DBGrid::rowDoubleClicked, this, ui::guarded(this, &TVorlin_Form::DBGrid1DblClick));
    connect(DBGrid1, &ui::DBGrid::titleClicked, this,
            ui::guarded([this](int, const QString& field) { DBGrid1TitleClick(field); }));
    return column;
}

QWidget* TVorlin_Form::buildMiddleColumn(db::DataSource* dataSource)
{
    auto* column = new QWidget(this);
    column->setMinimumWidth(440);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    GroupBox1 = new QGroupBox(QStringLiteral("Vyhledávání"), column);
    ui::frameGroup(GroupBox1);
    auto* search = new QHBoxLayout(GroupBox1);
    auto* words = new QVBoxLayout;
    Label3 = new QLabel(QStringLiteral("zde vyhledáváte v názvu a v klíčových slovech"), GroupBox1);
    Label3->setWordWrap(true);
    Jmeno_Edit = new QLineEdit(GroupBox1);
    Jmeno_Edit->setObjectName(QStringLiteral("Jmeno_Edit"));
    words->addWidget(Label3);
    words->addWidget(Jmeno_Edit);
    words->addStretch(1);
    ListBox1 = new QListWidget(GroupBox1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->addItems(kinds::choicesWithEmptyFirst(kinds::initialKinds()));
    ListBox1->setFixedSize(140, 96);
    Jmeno_Edit->installEventFilter(this);
    connect(Jmeno_Edit, &QLineEdit::textChanged, this, ui::guarded(this, &TVorlin_Form::Jmeno_EditChange));
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, ui::guarded(this, &TVorlin_Form::Jmeno_EditChange));
    search->addLayout(words, 1);
    search->addWidget(ListBox1);
    layout->addWidget(GroupBox1);

    auto* panel = new QWidget(column);
    auto* editor = new QVBoxLayout(panel);
    editor->setContentsMargins(0, 0, 0, 0);
    ToolBar1 = new QToolBar(panel);
    ToolBar1->setIconSize(QSize(18, 18));
    editor->addWidget(ToolBar1);
    DBRichEdit1 = new ui::DBRichEdit(panel);
    DBRichEdit1->setObjectName(QStringLiteral("DBRichEdit1"));
    DBRichEdit1->link().setField(QStringLiteral("obsah"));
    DBRichEdit1->link().setDataSource(dataSource);
    DBRichEdit1->setMinimumHeight(300);
    editor->addWidget(DBRichEdit1, 1);
    buildEditorToolBar();

    auto* fields = new QFormLayout;
    Jmeno_DBEdit = new ui::DBEdit(panel);
    Jmeno_DBEdit->setObjectName(QStringLiteral("Jmeno_DBEdit"));
    Jmeno_DBEdit->link().setField(QStringLiteral("nazev"));
    Jmeno_DBEdit->link().setDataSource(dataSource);
    DBComboBox1 = new ui::DBComboBox(panel);
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    DBComboBox1->setItems(kinds::initialKinds());
    DBComboBox1->link().setField(QStringLiteral("druh"));
    DBComboBox1->link().setDataSource(dataSource);
    Tag_DBEdit = new ui::DBEdit(panel);
    Tag_DBEdit->setObjectName(QStringLiteral("Tag_DBEdit"));
    Tag_DBEdit->link().setField(QStringLiteral("tag"));
    Tag_DBEdit->link().setDataSource(dataSource);
    fields->addRow(QStringLiteral("Název"), Jmeno_DBEdit);
    fields->addRow(QStringLiteral("Druh"), DBComboBox1);
    fields->addRow(QStringLiteral("Klíčová slova"), Tag_DBEdit);
    editor->addLayout(fields);
    layout->addWidget(panel, 1);
    return column;
}

void TVorlin_Form::buildEditorToolBar()
{
    auto* actions = new ui::RichEditActions(DBRichEdit1);
    RichEditAlignLeft1 = actions->alignLeft;
    RichEditAlignCenter1 = actions->alignCenter;
    RichEditAlignRight1 = actions->alignRight;
    RichEditBold1 = actions->bold;
    RichEditItalic1 = actions->italic;
    RichEditUnderline1 = actions->underline;
    actions->addTo(ToolBar1);
    ToolBar1->addSeparator();
    ToolButton8 = ToolBar1->addAction(ui::icons::glyph(ui::icons::Glyph::Font), QStringLiteral("Písmo"));
    ToolBar1->addSeparator();
    Button4 = new QPushButton(QStringLiteral("Náhled"), ToolBar1);
    ToolBar1->addWidget(Button4);
    connect(ToolButton8, &QAction::triggered, this, ui::guarded(this, &TVorlin_Form::ToolButton8Click));
    connect(Button4, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button4Click));
}

QWidget* TVorlin_Form::buildRightColumn()
{
    auto* column = new QWidget(this);
    column->setFixedWidth(280);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    GroupBox19 = new QGroupBox(QStringLiteral("Export do textových editorů"), column);
    ui::frameGroup(GroupBox19, toQColor(kExportGroupColour));
    auto* export_ = new QVBoxLayout(GroupBox19);
    Word_ListBox = new QListWidget(GroupBox19);
    Word_ListBox->setObjectName(QStringLiteral("Word_ListBox"));
    Word_ListBox->setFixedHeight(110);
    export_->addWidget(Word_ListBox);
    auto* row = new QHBoxLayout;
    Button36 = new QPushButton(QStringLiteral("Spuštěné MS Word"), GroupBox19);
    Button35 = new QPushButton(QStringLiteral("Vložit"), GroupBox19);
    row->addWidget(Button36);
    row->addWidget(Button35);
    export_->addLayout(row);
    Button2 = new QPushButton(QStringLiteral("Spuštěné OO Writer"), GroupBox19);
    export_->addWidget(Button2);
    CheckBox4 = new QCheckBox(QStringLiteral("Vložit text i s jeho formátováním"), GroupBox19);
    CheckBox1 = new QCheckBox(QStringLiteral("Přepnout do okna text. editoru"), GroupBox19);
    CheckBox2 = new QCheckBox(QStringLiteral("Minimalizovat Vorlin vedle hodin"), GroupBox19);
    for (QCheckBox* box : {CheckBox4, CheckBox1, CheckBox2}) {
        box->setChecked(true);
        export_->addWidget(box);
    }
    connect(Button36, &QPushButton::clicked, this, ui::guarded([this] { Button36Click(EditorKind::Word); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button36Click(EditorKind::Writer); }));
    connect(Button35, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button35Click));
    layout->addWidget(GroupBox19);

    GroupBox2 = new QGroupBox(QStringLiteral("Jiná práce s textem"), column);
    ui::frameGroup(GroupBox2, toQColor(kOtherWorkColour));
    auto* other = new QGridLayout(GroupBox2);
    Button3 = new QPushButton(QStringLiteral("Kopírovat text do schránky"), GroupBox2);
    connect(Button3, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button3Click));
    BitBtn6 = new QToolButton(GroupBox2);
    BitBtn6->setIcon(ui::icons::glyph(ui::icons::Glyph::Help));
    BitBtn6->setAutoRaise(true);
    connect(BitBtn6, &QToolButton::clicked, this, ui::guarded(this, &TVorlin_Form::BitBtn6Click));
    CheckBox3 = new ui::WrappedCheckBox(QStringLiteral("a použít zkratku ctrl+v po uplynutí časového intervalu"),
                                        GroupBox2);
    Edit1 = new QLineEdit(QStringLiteral("4"), GroupBox2);
    Edit1->setFixedWidth(44);
    // Whole seconds only: "2,5" would stop every later copy and start.
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), Edit1));
    UpDown1 = new ui::UpDown(Edit1, 0, 100, GroupBox2);
    UpDown1->setPosition(4);
    auto* interval = new QHBoxLayout;
    interval->addWidget(Edit1);
    interval->addWidget(UpDown1);
    interval->addWidget(new QLabel(QStringLiteral("s"), GroupBox2));
    interval->addStretch(1);
    other->addWidget(Button3, 0, 0, 1, 2);
    other->addWidget(BitBtn6, 0, 2, Qt::AlignTop | Qt::AlignRight);
    other->addWidget(CheckBox3, 1, 0, 1, 2);
    other->addLayout(interval, 2, 0, 1, 3);
    layout->addWidget(GroupBox2);

    layout->addStretch(1);
    Button5 = new QPushButton(QStringLiteral("Speciální import"), column);
    Button5->setVisible(false);
    connect(Button5, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button5Click));
    // The button stays invisible; its window opens from the keyboard too.
    auto* importShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), this);
    connect(importShortcut, &QShortcut::activated, this, ui::guarded(this, &TVorlin_Form::Button5Click));
    layout->addWidget(Button5);
    Button1 = new QPushButton(QStringLiteral("Nastavení, o programu"), column);
    connect(Button1, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button1Click));
    layout->addWidget(Button1);
    return column;
}

void TVorlin_Form::SetupHackedNavigator(ui::DBNavigator* navigator)
{
    const char* captions[ui::DBNavigator::ButtonCount] = {"První",  "Předchozí", "Další",  "Poslední",  "Přidat",
                                                          "Smazat", "Upravit",   "Uložit", "Neukládat", "Obnovit"};
    for (int i = 0; i < ui::DBNavigator::ButtonCount; ++i) {
        QToolButton* button = navigator->button(ui::DBNavigator::Button(i));
        button->setText(QString::fromUtf8(captions[i]));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    navigator->setVisibleButtons({ui::DBNavigator::Insert, ui::DBNavigator::Delete, ui::DBNavigator::Edit,
                                  ui::DBNavigator::Post, ui::DBNavigator::Cancel});
}

void TVorlin_Form::FormCreate()
{
    SetupHackedNavigator(DBNavigator1);

    TrayIcon->show();

    {
        const IniFile ini(settings::filePath(paths().dataDir));
        // A value that is no number is reported, and the rest of the window
        // is made all the same: nothing else is lost for it.
        runShowingErrors([&] {
            UpDown1->setPosition(
                parseInteger(ini.readString(settings::kSection, settings::kPasteIntervalKey,
                                            settings::kPasteIntervalDefault.toString())));
        });
        CheckBox3->setChecked(ini.readBool(settings::kSection, settings::kUseCtrlVKey, settings::kUseCtrlVDefault));
    }

    setKindChoices(kinds::choicesWithEmptyFirst(kinds::load(kinds::filePath(paths().dataDir))));

    Button4->setEnabled(bool(showPreviewWindow));
    Button1->setEnabled(bool(showSettingsWindow));
}

void TVorlin_Form::listKindsOf(KindsList& kinds)
{
    connect(&kinds, &KindsList::saved, this,
            [this](const QStringList& saved) { setKindChoices(kinds::choicesWithEmptyFirst(saved)); });
}

void TVorlin_Form::setKindChoices(const QStringList& choices)
{
    DBComboBox1->setItems(choices);
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    ListBox1->addItems(choices);
}

bool TVorlin_Form::Jmeno_EditKeyPress(QKeyEvent* event)
{
    // A typed blank separates words: the box shows "%" in its place.
    if (event->text() != QStringLiteral(" "))
        return false;
    QKeyEvent separator(QEvent::KeyPress, Qt::Key_Percent, event->modifiers(), QStringLiteral("%"));
    QCoreApplication::sendEvent(Jmeno_Edit, &separator);
    return true;
}

void TVorlin_Form::Jmeno_EditChange()
{
    search_.words = search::searchWords(Jmeno_Edit->text());
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    search_.kind = selected.isEmpty() ? QString() : selected.first()->text();
    // What the user typed into the row is saved before the list is replaced;
    // when that fails, the row stays in editing and the search waits.
    DM->Vorlin_ADOQuery.checkBrowseMode();
    runSearch();
}

void TVorlin_Form::DBGrid1TitleClick(const QString& field)
{
    DM->Vorlin_ADOQuery.checkBrowseMode();
    search_.sortBy(field);
    runSearch();
}

void TVorlin_Form::runSearch()
{
    db::Query& query = DM->Vorlin_ADOQuery;
    query.close();
    const search::SearchStatement statement = search::statementOf(search_);
    query.setSqlLine(search::kWhereLine, statement.where);
    query.setSqlLine(search::kWordsLine, statement.words);
    query.setSqlLine(search::kKindLine, statement.kind);
    query.setSqlLine(search::kOrderLine, statement.orderBy);
    query.setSqlLine(search::kDirectionLine, statement.direction);
    query.setParameters(statement.parameters);
    query.open();
}

bool TVorlin_Form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Jmeno_Edit && event->type() == QEvent::KeyPress
        && Jmeno_EditKeyPress(static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TVorlin_Form::FormDestroy()
{
    {
        IniFile ini(settings::filePath(paths().dataDir));
        ini.writeString(settings::kSection, settings::kPasteIntervalKey, Edit1->text());
        ini.writeBool(settings::kSection, settings::kUseCtrlVKey, CheckBox3->isChecked());
    }
    TrayIcon->hide();
}

void TVorlin_Form::focusBodyEditor()
{
    if (!isVisible() || !isEnabled() || !DBRichEdit1->isVisible() || !DBRichEdit1->isEnabled())
        throw Error(QStringLiteral("Cannot focus a disabled or invisible window"));
    if (!isActiveWindow())
        activateWindow();
    DBRichEdit1->setFocus(Qt::OtherFocusReason);
}

void TVorlin_Form::setBodyEditorFont(const Font& font)
{
    DBRichEdit1->setTypingFont(font);
}

void TVorlin_Form::ToolButton8Click()
{
    if (!FontDialog1.execute(this))
        return;
    db::Query& query = DM->Vorlin_ADOQuery;
    if (!query.isEditing())
        query.edit();
    DBRichEdit1->applyFont(FontDialog1.font());
}

void TVorlin_Form::Button36Click(EditorKind kind)
{
    Word_ListBox->clear();
    QStringList titles;
    ListEditorWindows(titles, kind, *desktopWindows);
    Word_ListBox->addItems(titles);
    if (Word_ListBox->count() > 0)
        Word_ListBox->setCurrentRow(0);
}

void TVorlin_Form::Button35Click()
{
    const QList<QListWidgetItem*> chosen = Word_ListBox->selectedItems();
    if (chosen.isEmpty())
        return;
    const QString title = chosen.first()->text();
    const std::optional<EditorKind> kind = insertionKind(title);
    if (!kind)
        return;
    CopySnippetToClipboard();
    const bool shown = ShowEditorWindow(title, *desktopWindows);
    if (*kind == EditorKind::Word) {
        word->pasteIntoActiveDocument(CheckBox4->isChecked());
    } else {
        const Hourglass hourglass;
        office->pasteInto(title, CheckBox4->isChecked(), shown);
    }
    if (CheckBox1->isChecked())
        MaximizeEditorWindow(title, *desktopWindows);
    if (CheckBox2->isChecked())
        hide();
}

void TVorlin_Form::CopySnippetToClipboard()
{
    DBRichEdit1->selectAll();
    DBRichEdit1->copy();
    QTextCursor cursor = DBRichEdit1->textCursor();
    cursor.movePosition(QTextCursor::Start);
    DBRichEdit1->setTextCursor(cursor);
    DBRichEdit1->ensureCursorVisible();
}

void TVorlin_Form::Button3Click()
{
    CopySnippetToClipboard();
    if (!CheckBox3->isChecked())
        return;
    const std::int32_t seconds = parseInteger(Edit1->text());
    // Counted in 32 bits as unsigned milliseconds: -1 gives 4294966296.
    Timer1->setInterval(std::uint32_t(seconds) * 1000u);
    Timer1->setEnabled(true);
}

void TVorlin_Form::Timer1Timer()
{
    keyboard->sendChord(Qt::Key_V, Qt::ControlModifier);
    Timer1->setEnabled(false);
}

void TVorlin_Form::BitBtn6Click()
{
    QMessageBox::information(this, QStringLiteral("Information"), QString::fromUtf8(kHelpText));
}

void TVorlin_Form::Ukzatokno1Click()
{
    show();
    raise();
    activateWindow();
}

void TVorlin_Form::Skrt1Click()
{
    hide();
}

void TVorlin_Form::Ukonit1Click()
{
    close();
}

void TVorlin_Form::Button1Click()
{
    if (showSettingsWindow)
        showSettingsWindow();
}

void TVorlin_Form::Button4Click()
{
    if (showPreviewWindow)
        showPreviewWindow();
}

void TVorlin_Form::Button5Click()
{
    if (showImportWindow)
        showImportWindow();
}

void TVorlin_Form::DBGrid1DblClick()
{
    if (showPreviewWindow)
        showPreviewWindow();
}

void TVorlin_Form::TrayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger)
        return;
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    Ukzatokno1Click();
}

bool TVorlin_Form::hidesIntoTray() const
{
    return TrayIcon->isVisible() && trayAvailable();
}

void TVorlin_Form::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Minimising puts the window away into the notification area; without one
    // the window minimises as usual, so that it can always be found again.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && hidesIntoTray()) {
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            hide();
        });
    }
}

bool TVorlin_Form::endEditBeforeExit()
{
    if (!DM)
        return true;
    try {
        DM->Vorlin_ADOQuery.checkBrowseMode();
        return true;
    } catch (...) {
        showErrorBox(exceptionMessage(std::current_exception()));
    }
    return QMessageBox::warning(this, QStringLiteral("Warning"), QString::fromUtf8(kQuitLosingEditQuestion),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void TVorlin_Form::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, once the row being edited is
    // saved or the user has chosen to lose its change.
    if (!endEditBeforeExit()) {
        event->ignore();
        return;
    }
    event->accept();
    // A run that serves the window's events meanwhile (the import's file
    // set) ends at its next point instead of going on in a closed program.
    if (stopRunsAtExit)
        stopRunsAtExit();
    QApplication::quit();
}

}  // namespace vorlin
