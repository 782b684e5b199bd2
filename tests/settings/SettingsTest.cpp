// The settings window over the main window and the store.
#include "data/FontText.h"
#include "rtf/Rtf.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"
#include "ui/settings/About_Unit.h"
#include "ui/settings/LibraryGroup.h"
#include "ui/richtext/FontFormat.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>
#include <QAbstractItemView>
#include <QFontDialog>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextFragment>

using namespace vorlin;
using namespace vorlin::test;
using State = db::Query::State;

namespace {

// The settings window's controls.
struct SettingsControls : FoundControls {
    using FoundControls::FoundControls;
    QCheckBox* CheckBox1 = find<QCheckBox>("CheckBox1");
    QLabel* verze_label = find<QLabel>("verze_label");
    QPushButton* Aktualizace_Button = find<QPushButton>("Aktualizace_Button");
    QPushButton* Button1 = find<QPushButton>("Button1");
    QPushButton* Button3 = find<QPushButton>("Button3");
    QPushButton* Button4 = find<QPushButton>("Button4");
    QPushButton* Button5 = find<QPushButton>("Button5");
    QPushButton* Button6 = find<QPushButton>("Button6");
    LibraryGroup* GroupBox7 = find<LibraryGroup>("GroupBox7");
};

class Settings : public MainWindow {
protected:
    void open(bool withRows = true)
    {
        start(withRows);
        about = std::make_unique<TAbout_Form>(*dm, *kindsList, settingsServices());
        shown = std::make_unique<SettingsControls>(about.get());
    }

    // The world outside as the tests give it: the update's answer, the
    // addresses opened, the folder chosen for a backup.
    SettingsWindowServices settingsServices()
    {
        SettingsWindowServices given;
        given.queryUpdate = [this](bool interactive) {
            updateChecks << interactive;
            return newerVersion;
        };
        given.openUrl = [this](const QString& url) { opened << url; };
        given.chooseBackupFolder = [this] { return backupFolder; };
        return given;
    }

    void TearDown() override
    {
        shown.reset();
        about.reset();
        MainWindow::TearDown();
    }

    // Chooses the font in the dialog.
    static ModalAnswerer::Answer chooseFont(const QFont& font)
    {
        return [font](QWidget* dialog) {
            if (auto* fonts = dialog->findChild<QFontDialog*>()) {
                fonts->setCurrentFont(font);
                static_cast<QDialog*>(dialog)->accept();
            }
        };
    }

    // Answers the question that follows with the button, or as a stray
    // Enter does (NoButton); a message with its OK.
    static ModalAnswerer::BoxAnswer answer(MessageBox::Button button)
    {
        return [button](const MessageBox::Shown& box) {
            if (button == MessageBox::NoButton)
                return box.preferred;
            return box.indexOf(button) >= 0 ? box.indexOf(button) : box.indexOf(MessageBox::Ok);
        };
    }

    // Every character run of a stored body: its text, family, size, bold,
    // italic, underline; and the first block's alignment.
    struct Body {
        QString text;
        QStringList families;
        QList<bool> bold, italic, underline;
        Qt::Alignment alignment;
    };
    Body storedBody(qint64 id)
    {
        QTextDocument document;
        rtf::loadBody(valueInFile(id, QStringLiteral("obsah")).toString(), document);
        Body body{document.toPlainText(), {}, {}, {}, {}, document.begin().blockFormat().alignment()};
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                body.families << format.fontFamilies().toStringList().value(0);
                body.bold << (format.fontWeight() >= QFont::Bold);
                body.italic << format.fontItalic();
                body.underline << format.fontUnderline();
            }
        return body;
    }

    void bulkChangeRewritesOnlyTheListedSnippetsAndKeepsAlignment();

    std::unique_ptr<TAbout_Form> about;
    std::unique_ptr<SettingsControls> shown;
    QList<bool> updateChecks;
    bool newerVersion = false;
    QStringList opened;
    QString backupFolder;
};

const char* kFormatted = "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}}\\qc\\f0\\fs24 {\\b tu\\'e8n\\'e9} {\\i kurz\\'edva} "
                         "{\\ul podtr\\'9een\\'e9}\\par}";

}  // namespace

TEST_F(Settings, CreationLoadsKindsChecksAtStartAndShowsTheVersion)
{
    struct Case {
        const char* stored;  // "kontrolovat_po_startu", or null when missing
        bool ticked;
        int checks;
        const char* written;
    };
    const Case cases[] = {
        {nullptr, true, 1, "1"},
        {"1", true, 1, "1"},
        {"0", false, 0, "0"},
    };
    for (const Case& c : cases) {
        restartWithFreshStore();
        QFile::remove(settings::filePath(dataDir));
        if (c.stored)
            writeSetting(settings::kCheckAtStartKey, QString::fromUtf8(c.stored));
        const QDateTime before = QFileInfo(settings::filePath(dataDir)).lastModified();
        about = std::make_unique<TAbout_Form>(*dm, *kindsList, settingsServices());
        shown = std::make_unique<SettingsControls>(about.get());
        updateChecks.clear();
        about->FormCreate();
        EXPECT_EQ(shown->CheckBox1->isChecked(), c.ticked) << (c.stored ? c.stored : "missing");
        EXPECT_EQ(updateChecks.size(), c.checks);
        EXPECT_EQ(readSetting(settings::kCheckAtStartKey), QString::fromUtf8(c.written));
        if (!c.ticked) {  // nothing written when the box stays unticked
            EXPECT_EQ(QFileInfo(settings::filePath(dataDir)).lastModified(), before);
        }
        EXPECT_EQ(about->memoLines(), kinds::load(kinds::filePath(dataDir)));
        EXPECT_EQ(shown->verze_label->text(), QStringLiteral("Verze 1.0"));
    }
}

TEST_F(Settings, ANewerVersionAtStartOffersTheDownloadPage)
{
    open();
    newerVersion = true;
    {
        ModalAnswerer yes(ModalAnswerer::press(MessageBox::Yes));
        about->FormCreate();
        ASSERT_EQ(yes.seen().size(), 1);
        EXPECT_EQ(yes.seen()[0].text, QStringLiteral("Chcete načíst stránku ke stažení na internetu?"));
    }
    EXPECT_EQ(opened.size(), 1);
    {
        ModalAnswerer no(ModalAnswerer::press(MessageBox::No));
        shown->Aktualizace_Button->click();
        ASSERT_EQ(no.seen().size(), 1);
        EXPECT_EQ(no.seen()[0].text, QStringLiteral("Chcete přejít na stránku ke stažení?"));
    }
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(updateChecks, (QList<bool>{false, true}));
}

TEST_F(Settings, AMissingKindsFileIsReportedAndTheRestIsSkipped)
{
    open();
    QFile::remove(kinds::filePath(dataDir));
    EXPECT_THROW(about->FormCreate(), FileError);
    EXPECT_EQ(about->memoLines(), (QStringList{"adresa", "petit", "podpis"}));
    EXPECT_TRUE(updateChecks.isEmpty());
    EXPECT_TRUE(shown->verze_label->text().isEmpty());
}

TEST_F(Settings, TheDefaultFontGoesIntoTheSettingsAndTheNextNewSnippet)
{
    open();
    // The dialog opens on the font stored, here a family this computer does
    // not have (the office's), which an OK without a choice keeps.
    writeSetting(settings::kFontKey, QStringLiteral("\"Times New Roman\", 11, [], [clWindowText]"));
    QFont opened;
    QString family;
    {
        ModalAnswerer unchanged([&](QWidget* dialog) {
            opened = dialog->findChild<QFontDialog*>()->currentFont();
            family = dialog->findChild<QLineEdit*>(QStringLiteral("FamilyEdit"))->text();
            static_cast<QDialog*>(dialog)->accept();
        });
        shown->Button1->click();
    }
    EXPECT_EQ(family, QStringLiteral("Times New Roman"));
    EXPECT_TRUE(opened.pointSize() == 11 && !opened.bold() && !opened.italic());
    Font stored;
    readFontSpec(readSetting(settings::kFontKey), stored);
    EXPECT_EQ(stored.face, QStringLiteral("Times New Roman"));

    QFont arial(QStringLiteral("DejaVu Serif"));
    arial.setPointSize(13);
    arial.setBold(true);
    {
        ModalAnswerer answerer(answer(MessageBox::Ok), chooseFont(arial));
        shown->Button1->click();
    }
    readFontSpec(readSetting(settings::kFontKey), stored);
    EXPECT_EQ(stored.face, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(stored.size, 13);
    // A name typed with a comma, a size chosen after it, then Enter or Esc
    // in the chooser itself: the whole dialog ends, as it would by its
    // buttons.
    for (const bool enter : {true, false}) {
        ModalAnswerer typing([&](QWidget* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("FamilyEdit"))->setText(QStringLiteral("DejaVu Sans, Condensed"));
            auto* chooser = dialog->findChild<QFontDialog*>();
            QFont sized = chooser->currentFont();
            sized.setPointSize(enter ? 15 : 16);
            chooser->setCurrentFont(sized);
            QTest::keyClick(chooser->findChildren<QAbstractItemView*>().constFirst(), enter ? Qt::Key_Return : Qt::Key_Escape);
            EXPECT_FALSE(dialog->isVisible());
        });
        shown->Button1->click();
        readFontSpec(readSetting(settings::kFontKey), stored);
        EXPECT_EQ(stored.face, QStringLiteral("DejaVu Sans, Condensed"));
        EXPECT_EQ(stored.size, 15);
    }
    controls->DBNavigator1->press(ui::DBNavigator::Insert);
    EXPECT_EQ(controls->DBRichEdit1->currentCharFormat().fontPointSize(), 15);
}

// The bulk change's walk over the listed snippets, on either store.
void Settings::bulkChangeRewritesOnlyTheListedSnippetsAndKeepsAlignment()
{
    addRows({{"Formátovaný", "petit", QString::fromLatin1(kFormatted), "x"}});
    open();
    const qint64 untouched = idInFile(QStringLiteral("Podpis"));  // not listed below
    const qint64 formatted = idInFile(QStringLiteral("Formátovaný"));
    const qint64 address = idInFile(QStringLiteral("Adresa soudu"));
    controls->Jmeno_Edit->setText(QStringLiteral("a"));  // "Adresa soudu" and "Formátovaný"
    ASSERT_EQ(listedNames(), (QStringList{"Adresa soudu", "Formátovaný"}));
    // An unsaved edit of the current row is saved first.
    query().edit();
    query().setValue(QStringLiteral("tag"), QStringLiteral("uloženo"));
    QFont plain(QStringLiteral("Tahoma"));
    plain.setPointSize(11);
    const Body before = storedBody(formatted);
    {
        ModalAnswerer stray(answer(MessageBox::NoButton), chooseFont(plain));  // "Ne" is the default
        shown->Button3->click();
        EXPECT_EQ(storedBody(formatted).families, before.families);
    }
    ModalAnswerer answerer(answer(MessageBox::Yes), chooseFont(plain));
    shown->Button3->click();
    ASSERT_EQ(answerer.seen().size(), 3);  // the dialog, the question, the final message
    EXPECT_EQ(answerer.seen()[1].text, TAbout_Form::kBulkQuestion);
    EXPECT_EQ(answerer.seen()[2].text, QStringLiteral("Změna písma byla ukončena."));
    EXPECT_EQ(valueInFile(address, QStringLiteral("tag")).toString(), QStringLiteral("uloženo"));
    for (const qint64 id : {address, formatted}) {
        const Body body = storedBody(id);
        for (const QString& family : body.families)
            EXPECT_EQ(family, QStringLiteral("Tahoma")) << id;
        EXPECT_FALSE(body.bold.contains(true)) << id;
        EXPECT_FALSE(body.italic.contains(true)) << id;
        EXPECT_FALSE(body.underline.contains(true)) << id;
    }
    EXPECT_EQ(storedBody(formatted).alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(storedBody(formatted).text, QStringLiteral("tučné kurzíva podtržené"));
    EXPECT_EQ(valueInFile(untouched, QStringLiteral("obsah")).toString(), QStringLiteral("JUDr. Jan Novák"));
    // The editor, left alone during the walk, shows the row it ended on as changed.
    QTextCursor shown(controls->DBRichEdit1->document());
    shown.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(controls->DBRichEdit1->toPlainText(), storedBody(query().value(QStringLiteral("ID")).toLongLong()).text);
    EXPECT_EQ(shown.charFormat().fontFamilies().toStringList(), QStringList{QStringLiteral("Tahoma")});
}

TEST_F(Settings, TheBulkChangeRewritesOnlyTheListedSnippetsAndKeepsAlignment)
{
    bulkChangeRewritesOnlyTheListedSnippetsAndKeepsAlignment();
}

TEST_F(Settings, TheBulkChangeRewritesOnlyTheListedSnippetsOnTheOfficeServer)
{
    useServer();
    bulkChangeRewritesOnlyTheListedSnippetsAndKeepsAlignment();
}

TEST_F(Settings, TheBulkChangeOnAnEmptyListCreatesNoRow)
{
    open(false);
    ModalAnswerer answerer(answer(MessageBox::Yes), chooseFont(QFont(QStringLiteral("DejaVu Sans"))));
    shown->Button3->click();
    EXPECT_EQ(rowsInFile(), 0);
    EXPECT_EQ(query().state(), State::Browse);
    ASSERT_EQ(answerer.seen().size(), 3);
    EXPECT_EQ(answerer.seen()[2].text, QStringLiteral("Změna písma byla ukončena."));
}

TEST_F(Settings, SavedKindsFillBothListsBehindTheEmptyEntry)
{
    open();
    about->setMemoLines({QStringLiteral("adresa"), QString(), QStringLiteral("žaloba")});
    controls->ListBox1->setCurrentRow(1);
    shown->Button4->click();
    EXPECT_EQ(kinds::load(kinds::filePath(dataDir)), (QStringList{"adresa", "", "žaloba"}));
    EXPECT_EQ(items(controls->ListBox1), (QStringList{"", "adresa", "", "žaloba"}));
    EXPECT_EQ(items(controls->DBComboBox1), (QStringList{"", "adresa", "", "žaloba"}));
    ASSERT_EQ(controls->ListBox1->selectedItems().size(), 1);  // the chosen kind stays chosen
    EXPECT_EQ(controls->ListBox1->selectedItems()[0]->text(), QStringLiteral("adresa"));
}

TEST_F(Settings, EveryControlHasACzechNameOfItsOwnAndTheWindowFitsALaptopScreen)
{
    open();
    about->show();
    expectEveryControlNamedOnce(about.get());
    // 1366 × 768 under a panel and the window's title.
    EXPECT_LE(about->minimumSizeHint().width(), 1366);
    EXPECT_LE(about->minimumSizeHint().height(), 700);
}

TEST_F(Settings, TheWipeEmptiesTheWholeTableWhateverIsListed)
{
    open();
    controls->Jmeno_Edit->setText(QStringLiteral("podpis"));
    for (const auto key : {Qt::Key_Return, Qt::Key_Space}) {  // "Ne" is the default
        ModalAnswerer stray([key](QWidget* box) {
            box->show();
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key);
        });
        shown->Button5->click();
        EXPECT_EQ(rowsInFile(), 2) << key;
    }
    ModalAnswerer yes(ModalAnswerer::press(MessageBox::Yes));
    shown->Button5->click();
    ASSERT_EQ(yes.seen().size(), 1);
    EXPECT_EQ(yes.seen()[0].text,
              QStringLiteral("Opravdu chcete vymazat všechna data z databáze? Tuto akci již nepůjde vzít zpět."));
    EXPECT_EQ(rowsInFile(), 0);
    EXPECT_TRUE(query().isActive());
    EXPECT_EQ(query().recordCount(), 0);
}

TEST_F(Settings, ABackupTwiceIntoOneFolderAsksBeforeReplacingAndCopiesAWholeDatabase)
{
    open();
    writeSetting(settings::kPasteIntervalKey, QStringLiteral("7"));
    const QDateTime written(QDate(2021, 3, 4), QTime(5, 6, 7));
    for (const char* name : {"nastaveni.ini", "vorlin.mdb"}) {
        QFile file(dataDir + QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(written, QFileDevice::FileModificationTime));
    }
    TempDir target;
    backupFolder = target.path();
    const QString copied = target.path() + QDir(dataDir).dirName() + u'/';
    {
        ModalAnswerer answerer;
        shown->Button6->click();
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("Záloha byla provedena."));
    }
    EXPECT_TRUE(QFile::exists(copied + QStringLiteral("hledani")));
    for (const char* name : {"nastaveni.ini", "vorlin.mdb"})  // the copies keep their times
        EXPECT_EQ(QFileInfo(copied + QString::fromUtf8(name)).lastModified(), written) << name;
    {
        db::Database backup(copied + QStringLiteral("vorlin.mdb"));
        db::Statement check(backup, QStringLiteral("PRAGMA integrity_check"));
        ASSERT_TRUE(check.step());
        EXPECT_EQ(check.column(0).toString(), QStringLiteral("ok"));
        db::Statement count(backup, QStringLiteral("SELECT count(*) FROM vorlin"));
        ASSERT_TRUE(count.step());
        EXPECT_EQ(count.column(0).toInt(), 2);
    }
    // The second backup meets the first one's files: "No" keeps the old one.
    target.write(QDir(dataDir).dirName() + QStringLiteral("/nastaveni.ini"), "stará záloha");
    QStringList asked;
    ModalAnswerer answerer([&asked](const MessageBox::Shown& box) {
        if (box.indexOf(MessageBox::YesToAll) < 0)
            return box.indexOf(MessageBox::Ok);
        asked << box.text;
        return box.indexOf(box.text.contains(QStringLiteral("nastaveni.ini")) ? MessageBox::No : MessageBox::Yes);
    });
    shown->Button6->click();
    EXPECT_GE(asked.size(), 2);
    EXPECT_EQ(answerer.seen().last().text, QStringLiteral("Záloha byla provedena."));
    EXPECT_EQ(target.read(QDir(dataDir).dirName() + QStringLiteral("/nastaveni.ini")), QByteArray("stará záloha"));
    EXPECT_TRUE(QDir(copied).entryList({QStringLiteral("*.vorlin-part")}, QDir::Files).isEmpty());
}

TEST_F(Settings, ABackupWhileTheLibraryIsOnTheServerCopiesThisComputersDataAndSaysWhereTheLibraryIs)
{
    useServer();
    open();
    // The copy of the office library being written: its passing journal.
    QFile journal(dataDir + QStringLiteral("knihovna_serveru.mdb-journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.close();
    TempDir target;
    backupFolder = target.path();
    ModalAnswerer answerer;
    shown->Button6->click();
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].text,
              QStringLiteral("Záloha byla provedena.\nKnihovna vorlinů je na serveru kanceláře „%1“ a zálohuje ji "
                             "jeho správce; záloha obsahuje data tohoto počítače a poslední kopii knihovny, kterou "
                             "tento počítač viděl.")
                  .arg(serverLibrary().server));
    const QString copied = target.path() + QDir(dataDir).dirName() + u'/';
    EXPECT_TRUE(QFile::exists(copied + QStringLiteral("vorlin.mdb")));
    EXPECT_FALSE(QFile::exists(copied + QStringLiteral("knihovna_serveru.mdb-journal")));
    db::Database serverCopy(copied + QStringLiteral("knihovna_serveru.mdb"));
    db::Statement rows(serverCopy, QStringLiteral("SELECT count(*) FROM vorlin"));
    ASSERT_TRUE(rows.step());
    EXPECT_EQ(rows.column(0).toInt(), 2);
}

TEST_F(Settings, ACancelledBackupIsAProblem)
{
    open();
    TempDir target;
    backupFolder = target.path();
    {
        ModalAnswerer ok;
        shown->Button6->click();
    }
    ModalAnswerer answerer([](const MessageBox::Shown& box) {
        return box.indexOf(MessageBox::Cancel) >= 0 ? box.indexOf(MessageBox::Cancel) : box.indexOf(MessageBox::Ok);
    });
    shown->Button6->click();
    EXPECT_EQ(answerer.seen().last().text, QStringLiteral("Došlo k problému při záloze.\nZáloha byla přerušena."));
}

TEST_F(Settings, ABackupSaysWhyItFailedRefusesTheDataFolderAndRemovesKilledPieces)
{
    open();
    TempDir target;
    const QString name = QDir(dataDir).dirName();
    struct Case {
        const char* name;
        std::function<QString()> folder;  // prepares and names the chosen folder
        QString message;
    };
    const QList<Case> cases{
        {"a folder inside the data folder", [&] { QDir().mkpath(dataDir + QStringLiteral("zalohy")); return dataDir + QStringLiteral("zalohy"); },
         QStringLiteral("Zálohu nelze uložit do složky s daty programu (%1): každá další záloha by v ní kopírovala i ty "
                        "předchozí. Vyberte jinou složku.").arg(dataDir)},
        {"a file where the copy's folder should be",
         [&] { target.write(QStringLiteral("blok/") + name, "soubor"); return target.file(QStringLiteral("blok")); },
         QStringLiteral("Došlo k problému při záloze.\nSložku \"%1\" nelze vytvořit.").arg(target.file(QStringLiteral("blok/")) + name)},
        {"pieces of a killed backup",
         [&] { target.write(QStringLiteral("stara/") + name + QStringLiteral("/vorlin.mdb.vorlin-part"), "půl"); return target.file(QStringLiteral("stara")); },
         QStringLiteral("Záloha byla provedena.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = c.folder();
        backupFolder = folder;
        ModalAnswerer answerer;
        shown->Button6->click();
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_EQ(answerer.seen()[0].text, c.message);
    }
    EXPECT_FALSE(QFile::exists(dataDir + QStringLiteral("zalohy/") + name)) << "nothing copied into the data folder";
    EXPECT_FALSE(QFile::exists(target.file(QStringLiteral("stara/") + name + QStringLiteral("/vorlin.mdb.vorlin-part"))));
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("stara/") + name + QStringLiteral("/vorlin.mdb"))));
}

namespace {

// Bodies of one to four paragraphs in assorted faces, sizes, styles, colours
// and alignments, Czech letters and a tab among them.
QString generatedBody(QRandomGenerator& random)
{
    static const char* const texts[] = {"Krajský soud v Brně", "Žďár nad Sázavou", "JUDr. Jan Novák\\tadvokát",
                                        "Rozsudek", "čj. 25 Cdo 1234/2008", ""};
    static const char* const faces[] = {"Tahoma", "DejaVu Serif", "Arial"};
    QString body = QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 %1;}"
                                  "{\\f1\\fnil\\fcharset238 %2;}}{\\colortbl ;\\red200\\green0\\blue0;}")
                       .arg(QString::fromLatin1(faces[random.bounded(3)]), QString::fromLatin1(faces[random.bounded(3)]));
    for (int paragraph = random.bounded(1, 5); paragraph > 0; --paragraph) {
        body += QStringLiteral("\\pard%1\\f%2\\fs%3%4%5%6 ")
                    .arg(QString::fromLatin1(random.bounded(3) == 0 ? "\\qc" : ""))
                    .arg(random.bounded(2))
                    .arg(16 + 2 * random.bounded(8))
                    .arg(QString::fromLatin1(random.bounded(2) ? "\\b" : ""))
                    .arg(QString::fromLatin1(random.bounded(3) == 0 ? "\\i" : ""))
                    .arg(QString::fromLatin1(random.bounded(4) == 0 ? "\\cf1" : ""));
        body += QString::fromUtf8(texts[random.bounded(6)]) + QStringLiteral("\\par ");
    }
    return body + u'}';
}

}  // namespace

TEST_F(Settings, TheBulkChangeOverStoredBodiesGivesWhatTheEditorsWalkGave)
{
    QRandomGenerator random(23);
    QList<Snippet> corpus{{"Prostý", "adresa", "prostý text bez RTF", ""}};
    for (int i = 0; i < 150; ++i)
        corpus << Snippet{QStringLiteral("Vzor %1").arg(i), QStringLiteral("petit"), generatedBody(random), QString()};
    addRows(corpus);
    open(false);
    Font plain;
    plain.setFace(QStringLiteral("Tahoma"));
    Font styled;
    styled.setFace(QStringLiteral("DejaVu Serif"));
    styled.size = 14;
    styled.styles = FontStyle::Bold | FontStyle::Italic | FontStyle::Underline;
    styled.color = colors::clMaroon;
    Font unsized;
    unsized.setFace(QStringLiteral("Arial"));
    unsized.size = 0;
    unsized.styles = FontStyle::Strikeout;
    for (const Font& font : {plain, styled, unsized}) {
        SCOPED_TRACE(font.face.toStdString());
        QMap<qint64, QString> expected;
        for (qint64 id = 1; id <= corpus.size(); ++id) {
            const QString stored = valueInFile(id, QStringLiteral("obsah")).toString();
            expected[id] = ui::bodyWithFont(stored, font, controls->DBRichEdit1->palette());
            // The automatic colour stays automatic: no colour is stored.
            if (font.color == colors::clWindowText && expected[id] != stored)
                EXPECT_FALSE(expected[id].contains(QStringLiteral("\\cf"))) << expected[id].toStdString();
        }
        // The walk through the main window's editor, row by row, as the
        // change was first made.
        db::Query& q = query();
        q.first();
        for (int row = 0; row < q.recordCount(); ++row) {
            const QVariant id = q.value(QStringLiteral("ID"));
            q.edit();
            controls->DBRichEdit1->selectAll();
            controls->DBRichEdit1->applyFont(font);
            controls->DBRichEdit1->moveCursor(QTextCursor::Start);
            q.post();
            q.locate(QStringLiteral("ID"), id);
            q.next();
        }
        for (qint64 id = 1; id <= corpus.size(); ++id)
            ASSERT_EQ(valueInFile(id, QStringLiteral("obsah")).toString().toStdString(), expected[id].toStdString()) << id;
    }
}

TEST_F(Settings, TheLibraryGoesToTheServerTakesTheLocalSnippetsOnceAndComesBack)
{
    open();
    useServer();  // an empty library on the office's server
    LibraryGroup& library = *shown->GroupBox7;
    QStringList reports;
    library.inform = [&](const QString& text) { reports << text; };
    library.ServerRadio->setChecked(true);
    library.AddressEdit->setText(serverLibrary().server);
    library.UserEdit->setText(serverLibrary().user);
    library.applyClick();
    EXPECT_TRUE(dm->library.isServer());
    EXPECT_TRUE(query().isEmpty());
    EXPECT_TRUE(library.UploadButton->isEnabled());

    for (const char* expected : {"nahrálo vorlinů: 2, přeskočeno (na serveru už byly): 0",
                                 "nahrálo vorlinů: 0, přeskočeno (na serveru už byly): 2"}) {
        library.uploadClick();
        EXPECT_TRUE(reports.takeLast().contains(QString::fromUtf8(expected))) << expected;
        EXPECT_EQ(listedNames(), (QStringList{"Adresa soudu", "Podpis"}));
        EXPECT_EQ(rowsInFile(), 2);  // on the server
    }

    // A server that cannot be reached leaves the library as it was.
    library.AddressEdit->setText(QStringLiteral("postgresql://127.0.0.1:1/vorlin"));
    EXPECT_THROW(library.applyClick(), db::DatabaseError);
    EXPECT_EQ(dm->library, serverLibrary());
    EXPECT_EQ(query().recordCount(), 2);
    EXPECT_EQ(library.AddressEdit->text(), serverLibrary().server);

    library.HereRadio->setChecked(true);
    library.applyClick();
    EXPECT_FALSE(dm->library.isServer());
    EXPECT_FALSE(library.UploadButton->isEnabled());
    const IniFile ini(settings::filePath(dataDir));
    EXPECT_EQ(ini.readString(settings::kSection, settings::kLibraryKey, QString()), QStringLiteral("pocitac"));
    EXPECT_EQ(ini.readString(settings::kSection, settings::kLibraryServerKey, QString()), serverLibrary().server);
}


