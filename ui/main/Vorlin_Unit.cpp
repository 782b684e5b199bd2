#include "ui/main/Vorlin_Unit.h"

#include "common/WindowTimer.h"
#include "ui/shell/ErrorBox.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"
#include "common/Error.h"
#include "common/Integer.h"
#include "common/Paths.h"
#include "data/SettingsFile.h"
#include "data/KindsFile.h"
#include "data/SnippetSearch.h"
#include "output/EditorDiscovery.h"
#include "output/EditorInsertion.h"
#include "rtf/Rtf.h"
#include "data/Settings.h"
#include "ui/Icons.h"
#include "ui/fields/FieldDialog.h"
#include "ui/fields/FieldForm.h"
#include "ui/datacontrols/DBComboBox.h"
#include "ui/datacontrols/DBEdit.h"
#include "ui/datacontrols/DBGrid.h"
#include "ui/datacontrols/DBNavigator.h"
#include "ui/richtext/DBRichEdit.h"
#include "ui/datacontrols/EditShortcuts.h"
#include "ui/widgets/GroupFrame.h"
#include "ui/widgets/Named.h"
#include "ui/richtext/RichEditActions.h"
#include "ui/widgets/ShownText.h"
#include "ui/widgets/UpDown.h"
#include "ui/widgets/WrappedCheckBox.h"
#include "ui/widgets/PlainLabel.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace vorlin {

using ui::named;

namespace {

// Colours of the two right-hand groups, as 0x00BBGGRR values.
constexpr Color kExportGroupColour = 15137510;  // light green
constexpr Color kOtherWorkColour = 16763594;    // light blue

// The delayed Ctrl+V: the countdown's default and the most it may be.
constexpr int kDefaultPasteSeconds = 4;
constexpr int kMostPasteSeconds = 100;
constexpr int kMillisecondsPerSecond = 1000;
constexpr int kRoomyWidth = 1084;  // the width the window opens with where it fits


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

// Narrower than this, the export controls go under the list and the editor.
constexpr int kThreeColumnsWidth = 960;
// The list and the editor side by side, the export controls under them.
constexpr int kNarrowestWidth = 600;

const char kQuitLosingEditQuestion[] =
    "Změny rozpracovaného záznamu se nepodařilo uložit. Chcete přesto Vorlin ukončit a změny ztratit?";

}  // namespace

TVorlin_Form::TVorlin_Form(TDM& data, const MainWindowServices& services, QWidget* parent)
    : QWidget(parent),
      data_(data),
      services_(services),
      insertion_({{services.keyboard, services.desktopWindows, services.office, services.clipboardControl}, services.word},
                 &ui::FieldForm::bodyToInsert)
{
    setObjectName(QStringLiteral("Vorlin_Form"));
    setWindowTitle(QStringLiteral("Vorlin"));
    setWindowIcon(ui::icons::application());

    auto* rows = new QVBoxLayout(this);
    // The window's smallest size is set by the arrangement in force (below),
    // not by the word-wrapped captions' height at every width.
    rows->setSizeConstraint(QLayout::SetNoConstraint);
    columns_ = new QHBoxLayout;
    rows->addLayout(columns_, 1);
    underColumns_ = new QVBoxLayout;
    rows->addLayout(underColumns_, 0);
    leftColumn_ = buildLeftColumn();
    middleColumn_ = buildMiddleColumn();
    rightColumn_ = buildRightColumn();
    arrangeColumns(true);

    ui::addEditShortcuts(this, &data_.Vorlin_DataSource);
    connect(&data_.Vorlin_ADOQuery, &db::Query::tableArrived, this, ui::guarded([this] {
                if (searchAwaitsTable_)
                    runSearch();
                offerLibraryKinds();
            }));
    // A colleague's snippet may bring a kind this computer does not list.
    for (const auto change : {&db::Query::dataSetChanged, &db::Query::rowsRefreshed})
        connect(&data_.Vorlin_ADOQuery, change, this, ui::guarded(this, &TVorlin_Form::offerLibraryKinds));
    connect(&data_.Vorlin_ADOQuery, &db::Query::rowsInserted, this, ui::guarded(this, &TVorlin_Form::offerLibraryKinds));
    data_.Vorlin_ADOQuery.askAboutConflict = [this](db::SaveOutcome conflict) {
        return askAboutConflict(conflict.rowIsGone());
    };
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

    Timer1 = new WindowTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kMillisecondsPerSecond);
    connect(Timer1, &WindowTimer::timeout, this, ui::guarded(this, &TVorlin_Form::Timer1Timer));
    buildTrayIcon();

    // Roomy where the screen allows; every control shows down to the
    // layout's minimum (a half of a full-HD screen, a laptop's height).
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(QSize(kRoomyWidth, height()).boundedTo(available.size()).expandedTo(minimumSizeHint()));
        move(available.center() - rect().center());
    }
}

TVorlin_Form::~TVorlin_Form()
{
    data_.setBodyEditor(nullptr);
    data_.Vorlin_ADOQuery.askAboutConflict = nullptr;
}

QWidget* TVorlin_Form::buildLeftColumn()
{
    db::DataSource* source = &data_.Vorlin_DataSource;
    auto* column = new QWidget(this);
    column->setMinimumWidth(260);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    DBNavigator1 = named(new ui::DBNavigator(source, column), "DBNavigator1");
    layout->addWidget(DBNavigator1);
    DBGrid1 = named(new ui::DBGrid(source, {{QStringLiteral("Název"), QStringLiteral("nazev")},
                                           {QStringLiteral("Druh"), QStringLiteral("druh")}},
                                   column),
                    "DBGrid1");
    DBGrid1->setMinimumHeight(520);
    layout->addWidget(DBGrid1, 1);
    LibraryLabel = named(ui::plainLabel(column), "LibraryLabel");
    LibraryLabel->setWordWrap(true);
    LibraryLabel->setVisible(false);
    layout->addWidget(LibraryLabel);
    // Whether the library may be written shows with every opening.
    connect(source, &db::DataSource::activeChanged, this, &TVorlin_Form::showLibraryState);
    connect(source, &db::DataSource::stateChanged, this, &TVorlin_Form::showLibraryState);
    connect(DBGrid1, &ui::DBGrid::rowDoubleClicked, this, ui::guarded(this, &TVorlin_Form::DBGrid1DblClick));
    connect(DBGrid1, &ui::DBGrid::titleClicked, this,
            ui::guarded([this](int, const QString& field) { DBGrid1TitleClick(field); }));
    return column;
}

QWidget* TVorlin_Form::buildMiddleColumn()
{
    db::DataSource* source = &data_.Vorlin_DataSource;
    auto* column = new QWidget(this);
    column->setMinimumWidth(380);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    GroupBox1 = named(new QGroupBox(QStringLiteral("Vyhledávání"), column), "GroupBox1");
    ui::frameGroup(GroupBox1);
    auto* search = new QHBoxLayout(GroupBox1);
    auto* words = new QVBoxLayout;
    auto* hint = named(new QLabel(QStringLiteral("zde vyhledáváte v názvu a v klíčových slovech"), GroupBox1), "Label3");
    hint->setWordWrap(true);
    Jmeno_Edit = named(new QLineEdit(GroupBox1), "Jmeno_Edit");
    words->addWidget(hint);
    words->addWidget(Jmeno_Edit);
    words->addStretch(1);
    ListBox1 = named(new QListWidget(GroupBox1), "ListBox1");
    listedKinds_ = kinds::initialKinds();
    ListBox1->addItems(kinds::choicesWithEmptyFirst(listedKinds_));
    ListBox1->item(0)->setData(Qt::AccessibleTextRole, QStringLiteral("Všechny druhy"));
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
    ToolBar1 = named(new QToolBar(panel), "ToolBar1");
    ToolBar1->setIconSize(QSize(18, 18));
    editor->addWidget(ToolBar1);
    DBRichEdit1 = named(new ui::DBRichEdit(panel), "DBRichEdit1");
    DBRichEdit1->link().setField(QStringLiteral("obsah"));
    DBRichEdit1->link().setDataSource(source);
    DBRichEdit1->setMinimumHeight(300);
    editor->addWidget(DBRichEdit1, 1);
    buildEditorToolBar();

    auto* fields = new QFormLayout;
    Jmeno_DBEdit = named(new ui::DBEdit(panel), "Jmeno_DBEdit");
    Jmeno_DBEdit->link().setField(QStringLiteral("nazev"));
    Jmeno_DBEdit->link().setDataSource(source);
    DBComboBox1 = named(new ui::DBComboBox(panel), "DBComboBox1");
    DBComboBox1->setItems(kinds::initialKinds());
    DBComboBox1->link().setField(QStringLiteral("druh"));
    DBComboBox1->link().setDataSource(source);
    Tag_DBEdit = named(new ui::DBEdit(panel), "Tag_DBEdit");
    Tag_DBEdit->link().setField(QStringLiteral("tag"));
    Tag_DBEdit->link().setDataSource(source);
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
    named(actions->alignLeft, "RichEditAlignLeft1");
    named(actions->alignCenter, "RichEditAlignCenter1");
    named(actions->alignRight, "RichEditAlignRight1");
    named(actions->bold, "RichEditBold1");
    named(actions->italic, "RichEditItalic1");
    named(actions->underline, "RichEditUnderline1");
    actions->addTo(ToolBar1);
    ToolBar1->addSeparator();
    ToolButton8 = named(ToolBar1->addAction(ui::icons::glyph(ui::icons::Glyph::Font), QStringLiteral("Písmo")),
                        "ToolButton8");
    ToolBar1->addSeparator();
    Button4 = named(new QPushButton(QStringLiteral("Náhled"), ToolBar1), "Button4");
    ToolBar1->addWidget(Button4);
    auto* field = named(new QPushButton(QStringLiteral("Pole"), ToolBar1), "FieldButton");
    field->setToolTip(QStringLiteral("Vložit do textu pole, které se vyplní při vkládání"));
    ToolBar1->addWidget(field);
    connect(field, &QPushButton::clicked, this, ui::guarded([this] { ui::FieldDialog::insertInto(*DBRichEdit1, this); }));
    connect(ToolButton8, &QAction::triggered, this, ui::guarded(this, &TVorlin_Form::ToolButton8Click));
    connect(Button4, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button4Click));
}

QWidget* TVorlin_Form::buildRightColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    // The groups stand one under another, or side by side under the list
    // and the editor when the window is narrow.
    exportGroups_ = new QBoxLayout(QBoxLayout::TopToBottom);
    layout->addLayout(exportGroups_);

    GroupBox19 = named(new QGroupBox(QStringLiteral("Export do textových editorů"), column), "GroupBox19");
    ui::frameGroup(GroupBox19, toQColor(kExportGroupColour));
    auto* export_ = new QVBoxLayout(GroupBox19);
    Word_ListBox = named(new QListWidget(GroupBox19), "Word_ListBox");
    Word_ListBox->setFixedHeight(110);
    export_->addWidget(Word_ListBox);
    auto* row = new QHBoxLayout;
    Button36 = named(new QPushButton(QStringLiteral("Spuštěné MS Word"), GroupBox19), "Button36");
    Button35 = named(new QPushButton(QStringLiteral("Vložit"), GroupBox19), "Button35");
    row->addWidget(Button36);
    row->addWidget(Button35);
    export_->addLayout(row);
    Button2 = named(new QPushButton(QStringLiteral("Spuštěné OO Writer"), GroupBox19), "Button2");
    export_->addWidget(Button2);
    CheckBox4 = named(new QCheckBox(QStringLiteral("Vložit text i s jeho formátováním"), GroupBox19), "CheckBox4");
    CheckBox1 = named(new QCheckBox(QStringLiteral("Přepnout do okna text. editoru"), GroupBox19), "CheckBox1");
    CheckBox2 = named(new QCheckBox(QStringLiteral("Minimalizovat Vorlin vedle hodin"), GroupBox19), "CheckBox2");
    for (QCheckBox* box : {CheckBox4, CheckBox1, CheckBox2}) {
        box->setChecked(true);
        export_->addWidget(box);
    }
    connect(Button36, &QPushButton::clicked, this, ui::guarded([this] { Button36Click(EditorKind::Word); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button36Click(EditorKind::Writer); }));
    connect(Button35, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button35Click));
    exportGroups_->addWidget(GroupBox19);

    GroupBox2 = named(new QGroupBox(QStringLiteral("Jiná práce s textem"), column), "GroupBox2");
    ui::frameGroup(GroupBox2, toQColor(kOtherWorkColour));
    auto* other = new QGridLayout(GroupBox2);
    Button3 = named(new QPushButton(QStringLiteral("Kopírovat text do schránky"), GroupBox2), "Button3");
    connect(Button3, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button3Click));
    BitBtn6 = named(new QToolButton(GroupBox2), "BitBtn6");
    BitBtn6->setIcon(ui::icons::glyph(ui::icons::Glyph::Help));
    BitBtn6->setAutoRaise(true);
    connect(BitBtn6, &QToolButton::clicked, this, ui::guarded(this, &TVorlin_Form::BitBtn6Click));
    CheckBox3 = named(new ui::WrappedCheckBox(QStringLiteral("a použít zkratku ctrl+v po uplynutí časového intervalu"),
                                              GroupBox2),
                      "CheckBox3");
    Edit1 = named(new QLineEdit(QString::number(kDefaultPasteSeconds), GroupBox2), "Edit1");
    Edit1->setFixedWidth(44);
    // Whole seconds only: "2,5" would stop every later copy and start.
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), Edit1));
    UpDown1 = named(new ui::UpDown(Edit1, 0, kMostPasteSeconds, GroupBox2), "UpDown1");
    UpDown1->setPosition(kDefaultPasteSeconds);
    auto* interval = new QHBoxLayout;
    interval->addWidget(Edit1);
    interval->addWidget(UpDown1);
    interval->addWidget(new QLabel(QStringLiteral("s"), GroupBox2));
    interval->addStretch(1);
    other->addWidget(Button3, 0, 0, 1, 2);
    other->addWidget(BitBtn6, 0, 2, Qt::AlignTop | Qt::AlignRight);
    other->addWidget(CheckBox3, 1, 0, 1, 2);
    other->addLayout(interval, 2, 0, 1, 3);
    exportGroups_->addWidget(GroupBox2, 0, Qt::AlignTop);
    // What the program could not do for the user, said where it is seen.
    StatusLabel = named(ui::plainLabel(column), "StatusLabel");
    StatusLabel->setWordWrap(true);
    layout->addWidget(StatusLabel);

    layout->addStretch(1);
    Button5 = named(new QPushButton(QStringLiteral("Speciální import"), column), "Button5");
    Button5->setVisible(false);
    connect(Button5, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button5Click));
    // The button stays invisible; its window opens from the keyboard too.
    auto* importShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), this);
    connect(importShortcut, &QShortcut::activated, this, ui::guarded(this, &TVorlin_Form::Button5Click));
    layout->addWidget(Button5);
    Button1 = named(new QPushButton(QStringLiteral("Nastavení, o programu"), column), "Button1");
    connect(Button1, &QPushButton::clicked, this, ui::guarded(this, &TVorlin_Form::Button1Click));
    layout->addWidget(Button1);
    return column;
}

void TVorlin_Form::arrangeColumns(bool threeColumns)
{
    if (columnsArranged_ && threeColumns == threeColumns_)
        return;
    columnsArranged_ = true;
    threeColumns_ = threeColumns;
    // A larger window gives the list and the editor more room; the export
    // controls keep their width. Narrower than the three columns take (a
    // laptop's half screen), the export controls go under the list and the
    // editor, which give up some height for them.
    if (columns_->indexOf(leftColumn_) < 0) {
        columns_->addWidget(leftColumn_, 3);
        columns_->addWidget(middleColumn_, 4);
    }
    columns_->removeWidget(rightColumn_);
    underColumns_->removeWidget(rightColumn_);
    if (threeColumns)
        columns_->addWidget(rightColumn_, 0);
    else
        underColumns_->addWidget(rightColumn_);
    exportGroups_->setDirection(threeColumns ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    rightColumn_->setMinimumWidth(threeColumns ? 280 : 0);
    rightColumn_->setMaximumWidth(threeColumns ? 280 : QWIDGETSIZE_MAX);
    leftColumn_->setMinimumWidth(threeColumns ? 260 : 240);
    middleColumn_->setMinimumWidth(threeColumns ? 380 : 300);
    DBGrid1->setMinimumHeight(threeColumns ? 520 : 160);
    DBRichEdit1->setMinimumHeight(threeColumns ? 300 : 120);
    Word_ListBox->setFixedHeight(threeColumns ? 110 : 48);
    ListBox1->setFixedHeight(threeColumns ? 96 : 64);
    // Measured now, not once the layouts' own requests come round.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    layout()->invalidate();
    const QSize needed = layout()->minimumSize();
    if (threeColumns)
        threeColumnsWidth_ = std::min(kThreeColumnsWidth, needed.width());
    // Narrow enough to go over to the other arrangement, as tall as this one needs.
    setMinimumSize(std::min(needed.width(), kNarrowestWidth), needed.height());
}

void TVorlin_Form::resizeEvent(QResizeEvent* event)
{
    arrangeColumns(event->size().width() >= threeColumnsWidth_);
    QWidget::resizeEvent(event);
}

void TVorlin_Form::buildTrayIcon()
{
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    PopupMenu1->addAction(QStringLiteral("Ukázat okno"), this, ui::guarded(this, &TVorlin_Form::Ukzatokno1Click));
    PopupMenu1->addAction(QStringLiteral("Skrýt okno"), this, ui::guarded(this, &TVorlin_Form::Skrt1Click));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(QStringLiteral("Ukončit"), this, ui::guarded(this, &TVorlin_Form::Ukonit1Click));

    TrayIcon = named(new QSystemTrayIcon(this), "TrayIcon");
    TrayIcon->setIcon(ui::icons::application());
    TrayIcon->setToolTip(kApplicationTitle.toString());
    TrayIcon->setContextMenu(PopupMenu1);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, ui::guarded(this, &TVorlin_Form::TrayIconActivated));
}

void TVorlin_Form::setupNavigator()
{
    const char* captions[ui::DBNavigator::ButtonCount] = {"První",  "Předchozí", "Další",  "Poslední",  "Přidat",
                                                          "Smazat", "Upravit",   "Uložit", "Neukládat", "Obnovit"};
    for (int i = 0; i < ui::DBNavigator::ButtonCount; ++i) {
        QToolButton* button = DBNavigator1->button(ui::DBNavigator::Button(i));
        button->setText(QString::fromUtf8(captions[i]));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    DBNavigator1->setVisibleButtons({ui::DBNavigator::Insert, ui::DBNavigator::Delete, ui::DBNavigator::Edit,
                                     ui::DBNavigator::Post, ui::DBNavigator::Cancel});
}

void TVorlin_Form::FormCreate()
{
    setupNavigator();

    TrayIcon->show();

    {
        const SettingsFile& ini = programSettings();
        // A value that is no number is reported, and the rest of the window
        // is made all the same: nothing else is lost for it.
        runShowingErrors([&] {
            UpDown1->setPosition(
                parseInteger(ini.readString(settings::kSection, settings::kPasteIntervalKey,
                                            settings::kPasteIntervalDefault.toString())));
        });
        CheckBox3->setChecked(ini.readBool(settings::kSection, settings::kUseCtrlVKey, settings::kUseCtrlVDefault));
    }

    setKindChoices(kinds::load(kinds::filePath(paths().dataDir)));

    // Windows that are not there cannot be opened.
    Button4->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&TVorlin_Form::previewRequested)));
    Button1->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&TVorlin_Form::settingsRequested)));
}

std::optional<db::ConflictChoice> TVorlin_Form::askAboutConflict(bool rowIsGone)
{
    const QString name = ui::shownPrefix(data_.Vorlin_ADOQuery.value(QStringLiteral("nazev")).toString());
    const int pressed = MessageBox::choose(
        this, MessageBox::Warning, QStringLiteral("Vorlin"),
        (rowIsGone ? QStringLiteral("Vorlin „%1“ mezitím smazal jiný uživatel. Co s vašimi úpravami?")
                   : QStringLiteral("Vorlin „%1“ mezitím změnil jiný uživatel. Co s vašimi úpravami?"))
            .arg(name),
        {{rowIsGone ? QStringLiteral("Ponechat smazání") : QStringLiteral("Ponechat verzi kolegy"),
          MessageBox::Choice::Destructive},
         {rowIsGone ? QStringLiteral("Uložit jako nový") : QStringLiteral("Přepsat mou verzí")},
         {QStringLiteral("Pokračovat v úpravách"), MessageBox::Choice::Reject}},
        2, 2);
    enum { keep, overwrite };
    if (pressed == overwrite)
        return db::ConflictChoice::Overwrite;
    if (pressed != keep)
        return std::nullopt;
    // The user's own version is not lost: it waits on the clipboard whole.
    copyVersionToClipboard();
    StatusLabel->setText(QStringLiteral("Vaše verze vorlinu „%1“ je ve schránce; platí %2.")
                             .arg(name, rowIsGone ? QStringLiteral("smazání kolegou") : QStringLiteral("verze kolegy")));
    return db::ConflictChoice::KeepTheirs;
}

void TVorlin_Form::showLibraryState()
{
    const QString restriction = data_.libraryRestriction();
    LibraryLabel->setText(restriction);
    LibraryLabel->setVisible(!restriction.isEmpty());
    setWindowTitle(data_.libraryIsAway() ? QStringLiteral("Vorlin — ") + restriction : QStringLiteral("Vorlin"));
    // The fields of a library that cannot be written take no typing; an
    // edit begun before keeps its fields until it is saved.
    const bool writable = restriction.isEmpty() || data_.Vorlin_ADOQuery.isEditing();
    for (QWidget* field : std::initializer_list<QWidget*>{Jmeno_DBEdit, Tag_DBEdit, DBComboBox1})
        field->setEnabled(writable);
    DBRichEdit1->setReadOnly(!writable);
}

void TVorlin_Form::FormDestroy()
{
    writeSettings();
    TrayIcon->hide();
}

void TVorlin_Form::writeSettings()
{
    SettingsFile& ini = programSettings();
    ini.writeString(settings::kSection, settings::kPasteIntervalKey, Edit1->text());
    ini.writeBool(settings::kSection, settings::kUseCtrlVKey, CheckBox3->isChecked());
}

void TVorlin_Form::saveWithoutDisplay()
{
    // No window can show a failure now: the terminal or the session's log
    // keeps it. An edit that meets a colleague's change is kept beside it.
    const auto saveKeepingBoth = [this] {
        db::Query& query = data_.Vorlin_ADOQuery;
        if (const db::SaveOutcome outcome = query.saveEdit(); outcome.isConflict())
            query.saveAfterConflict(outcome, db::ConflictChoice::KeepBoth);
    };
    for (const auto& step : {std::function<void()>(saveKeepingBoth),
                             std::function<void()>([this] { writeSettings(); })}) {
        try {
            step();
        } catch (...) {
            std::fprintf(stderr, "Vorlin: %s\n", qPrintable(exceptionMessage(std::current_exception())));
        }
    }
}

void TVorlin_Form::endAskingNothing()
{
    saveWithoutDisplay();
    Q_EMIT ending();
    // Every event loop of the GUI thread ends, each dialog's included (it
    // returns as if cancelled), and none opens any more.
    QCoreApplication::exit(0);
}

void TVorlin_Form::listKindsOf(KindsList& kinds)
{
    connect(&kinds, &KindsList::saved, this,
            ui::guarded([this](const QStringList& saved) { setKindChoices(saved); }));
}

void TVorlin_Form::setKindChoices(const QStringList& listed)
{
    listedKinds_ = listed;
    const db::TableCopy& table = data_.snippetTable;
    const int kindColumn = table.columns().indexOf(QStringLiteral("druh"));
    const bool shared = data_.library.isServer() && !table.table().isEmpty() && kindColumn >= 0;
    kindsOfTable_ = table.version();
    const QStringList choices =
        kinds::choicesWithEmptyFirst(shared ? kinds::withKindsOfRows(listed, table.rows(), kindColumn) : listed);
    QStringList shown;
    for (int i = 0; i < ListBox1->count(); ++i)
        shown.append(ListBox1->item(i)->text());
    if (choices == shown)
        return;
    DBComboBox1->setItems(choices);
    const QSignalBlocker quiet(ListBox1);
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    const QString chosen = selected.isEmpty() ? QString() : selected.first()->text();
    ListBox1->clear();
    ListBox1->addItems(choices);
    if (!selected.isEmpty() && choices.contains(chosen))
        ListBox1->item(int(choices.indexOf(chosen)))->setSelected(true);
    // The empty choice at the top shows nothing; a screen reader says what it does.
    if (ListBox1->count() > 0 && ListBox1->item(0)->text().isEmpty())
        ListBox1->item(0)->setData(Qt::AccessibleTextRole, QStringLiteral("Všechny druhy"));
}

void TVorlin_Form::offerLibraryKinds()
{
    if (data_.snippetTable.version() != kindsOfTable_)
        setKindChoices(listedKinds_);
}

bool TVorlin_Form::typeSeparatorFor(QKeyEvent* event)
{
    if (event->text() != QStringLiteral(" "))
        return false;
    QKeyEvent separator(QEvent::KeyPress, Qt::Key_Percent, event->modifiers(), QStringLiteral("%"));
    QCoreApplication::sendEvent(Jmeno_Edit, &separator);
    return true;
}

void TVorlin_Form::searchAsTyped()
{
    search_.words = search::searchWords(Jmeno_Edit->text());
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    search_.kind = selected.isEmpty() ? QString() : selected.first()->text();
    // What the user typed into the row is saved before the list is replaced;
    // when that fails, the row stays in editing and the search waits.
    data_.Vorlin_ADOQuery.checkBrowseMode();
    runSearch();
}

void TVorlin_Form::sortBy(const QString& field)
{
    data_.Vorlin_ADOQuery.checkBrowseMode();
    search_.sortBy(field);
    runSearch();
}

void TVorlin_Form::runSearch()
{
    // Keys typed in the first moment of a start show at once: the search
    // they make waits for the whole table instead of the window.
    if (data_.Vorlin_ADOQuery.isReadingBehind()) {
        searchAwaitsTable_ = true;
        return;
    }
    searchAwaitsTable_ = false;
    data_.Vorlin_ADOQuery.reselect(search::selectionOf(search_));
}

bool TVorlin_Form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Jmeno_Edit && event->type() == QEvent::KeyPress
        && typeSeparatorFor(static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TVorlin_Form::focusBodyEditor()
{
    // A row added while the window rests in the notification area (the
    // import stores its rows so) is added all the same; the editor gets the
    // focus when the window is shown.
    if (!isVisible() || !isEnabled() || !DBRichEdit1->isVisible() || !DBRichEdit1->isEnabled())
        return;
    if (!isActiveWindow())
        activateWindow();
    DBRichEdit1->setFocus(Qt::OtherFocusReason);
}

void TVorlin_Form::setBodyEditorFont(const Font& font)
{
    DBRichEdit1->setTypingFont(font);
}

void TVorlin_Form::takeBody(const QByteArray& rtf)
{
    DBRichEdit1->replaceWithRtf(rtf);
}

void TVorlin_Form::chooseBodyFont()
{
    if (!FontDialog1.execute(this))
        return;
    db::Query& query = data_.Vorlin_ADOQuery;
    if (!query.isEditing())
        query.edit();
    DBRichEdit1->applyFont(FontDialog1.font());
}

void TVorlin_Form::listEditorWindows(EditorKind kind)
{
    Word_ListBox->clear();
    QStringList titles;
    ListEditorWindows(titles, kind, services_.desktopWindows);
    // The office lists its documents itself where the desktop shows no
    // windows (Wayland); an office that fails to answer leaves the walk's
    // list standing.
    const auto showTitles = [&] {
        Word_ListBox->clear();
        Word_ListBox->addItems(titles);
        if (Word_ListBox->count() > 0)
            Word_ListBox->setCurrentRow(0);
    };
    showTitles();
    if (kind == EditorKind::Writer) {
        AppendUnlistedDocuments(titles, services_.office.openDocuments());
        showTitles();
    }
}

void TVorlin_Form::insertIntoChosenEditor()
{
    const QList<QListWidgetItem*> chosen = Word_ListBox->selectedItems();
    if (chosen.isEmpty())
        return;
    // A snippet with fields is filled in first; Esc in the form inserts nothing.
    const SnippetInsertion::IntoEditor how{chosen.first()->text(), CheckBox4->isChecked(), CheckBox1->isChecked()};
    if (insertion_.intoEditor(*DBRichEdit1->document(), this, how) && CheckBox2->isChecked())
        putAway();
}

void TVorlin_Form::putAway()
{
    // Without a notification area a hidden window could not be found again.
    if (hidesIntoTray())
        hide();
    else
        showMinimized();
}

void TVorlin_Form::copyVersionToClipboard()
{
    // The name, the kind and the keywords as lines above the body, in
    // every form the clipboard offers.
    const db::Query& query = data_.Vorlin_ADOQuery;
    const QString fields = QStringLiteral("Název: %1\nDruh: %2\nKlíčová slova: %3\n\n")
                               .arg(query.value(QStringLiteral("nazev")).toString(), query.value(QStringLiteral("druh")).toString(),
                                    query.value(QStringLiteral("tag")).toString());
    const std::unique_ptr<QTextDocument> version(DBRichEdit1->document()->clone());
    QTextCursor start(version.get());
    start.insertText(fields, QTextCharFormat());
    QGuiApplication::clipboard()->setMimeData(ui::DBRichEdit::mimeDataOf(*version, version->toPlainText()));
}

void TVorlin_Form::copyAndScheduleCtrlV()
{
    StatusLabel->clear();
    if (!insertion_.ontoClipboard(*DBRichEdit1->document(), this))
        return;
    // The editor shows the start of the body, as after a copy of all of it.
    DBRichEdit1->moveCursor(QTextCursor::Start);
    DBRichEdit1->ensureCursorVisible();
    if (!CheckBox3->isChecked())
        return;
    const std::int32_t seconds = parseInteger(Edit1->text());
    // Counted in 32 bits as unsigned milliseconds: -1 gives 4294966296.
    Timer1->setInterval(std::uint32_t(seconds) * std::uint32_t(kMillisecondsPerSecond));
    Timer1->setEnabled(true);
}

void TVorlin_Form::typeCtrlV()
{
    // Once: the checks below let the window's events run meanwhile.
    Timer1->setEnabled(false);
    if (const QString failure = insertion_.typeCtrlV(); !failure.isEmpty())
        StatusLabel->setText(failure);
}

void TVorlin_Form::explainDelayedPaste()
{
    MessageBox::tell(this, MessageBox::Information, QStringLiteral("Information"), QString::fromUtf8(kHelpText));
}

void TVorlin_Form::showFromTray()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TVorlin_Form::TrayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        showFromTray();
}

bool TVorlin_Form::hidesIntoTray() const
{
    return TrayIcon->isVisible() && services_.trayAvailable();
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
    try {
        data_.Vorlin_ADOQuery.checkBrowseMode();
        return true;
    } catch (const Abort&) {
        return false;  // the user goes on editing
    } catch (...) {
        showErrorBox(exceptionMessage(std::current_exception()));
    }
    return MessageBox::askYesNo(this, MessageBox::Warning, QStringLiteral("Warning"),
                                QString::fromUtf8(kQuitLosingEditQuestion), MessageBox::No);
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
    Q_EMIT ending();
    QApplication::quit();
}

}  // namespace vorlin
