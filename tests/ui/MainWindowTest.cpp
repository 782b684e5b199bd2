#include "app/QuitOnSignals.h"
#include "common/Win1250.h"
#include "data/FontText.h"
#include "data/IniFile.h"
#include "data/KindsFile.h"
#include "rtf/Rtf.h"
#include "data/Settings.h"
#include "support/ModalAnswerer.h"
#include "support/PostgresServer.h"
#include "support/RecordingOutput.h"
#include "support/StoreFixture.h"
#include "ui/MainWindowFixture.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/preview/Nahled_Unit.h"
#include "ui/widgets/WrappedCheckBox.h"

#include "ui/shell/ErrorBox.h"

#include <QAccessible>
#include <QDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTextBlock>
#include <QTextFragment>

#include <csignal>

using namespace vorlin;
using namespace vorlin::test;
using State = db::Query::State;
using Nav = ui::DBNavigator;


TEST_F(MainWindow, TheIntervalIsReadAtStartAndItsTextWrittenAtExit)
{
    writeSetting(settings::kPasteIntervalKey, QStringLiteral("12"));
    writeSetting(settings::kUseCtrlVKey, QStringLiteral("0"));
    start();
    EXPECT_TRUE(createdOk);
    EXPECT_EQ(controls->Edit1->text(), QStringLiteral("12"));
    EXPECT_FALSE(controls->CheckBox3->isChecked());

    controls->Edit1->setText(QStringLiteral("7 s"));  // written as shown, not checked
    controls->CheckBox3->setChecked(true);
    form->FormDestroy();
    EXPECT_EQ(readSetting(settings::kPasteIntervalKey), QStringLiteral("7 s"));
    EXPECT_EQ(readSetting(settings::kUseCtrlVKey), QStringLiteral("1"));
    EXPECT_FALSE(controls->TrayIcon->isVisible());
}

TEST_F(MainWindow, AnIntervalThatIsNoNumberIsReportedAndNothingElseIsLost)
{
    writeSetting(settings::kPasteIntervalKey, QStringLiteral("2,5"));
    writeSetting(settings::kUseCtrlVKey, QStringLiteral("1"));
    kinds::save(kinds::filePath(dataDir), {QStringLiteral("jiný druh")});
    ModalAnswerer answerer;
    start();
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("'2,5' is not a valid integer value."));
    EXPECT_EQ(controls->Edit1->text(), QStringLiteral("4"));
    EXPECT_TRUE(controls->CheckBox3->isChecked());
    EXPECT_EQ(items(controls->ListBox1), (QStringList{"", "jiný druh"}));
    // The box takes digits only; a Czech decimal comma does not get in.
    controls->Edit1->clear();
    for (const QChar c : QStringLiteral("2,5 s"))
        QTest::sendKeyEvent(QTest::Click, controls->Edit1, Qt::Key_unknown, QString(c), {});
    EXPECT_EQ(controls->Edit1->text(), QStringLiteral("25"));
    form->FormDestroy();
    EXPECT_EQ(readSetting(settings::kUseCtrlVKey), QStringLiteral("1"));
}

TEST_F(MainWindow, KindListsHaveAnEmptyEntryFirstAndKeepEmptyLines)
{
    kinds::save(kinds::filePath(dataDir), {QStringLiteral("adresa"), QString(), QStringLiteral("žaloba")});
    start();
    EXPECT_TRUE(createdOk);
    EXPECT_EQ(items(controls->ListBox1), (QStringList{"", "adresa", "", "žaloba"}));
    EXPECT_EQ(items(controls->DBComboBox1), (QStringList{"", "adresa", "", "žaloba"}));
    EXPECT_TRUE(controls->CheckBox3->isChecked());  // the default
    EXPECT_EQ(controls->Edit1->text(), QStringLiteral("4"));
}

// On the office library the kinds colleagues gave their snippets can be
// chosen too, the one chosen staying chosen as more arrive.
TEST_F(MainWindow, AServerLibraryOffersTheKindsItsSnippetsCarry)
{
    kinds::save(kinds::filePath(dataDir), {QStringLiteral("adresa"), QStringLiteral("žaloba")});
    useServer();
    addRows({{"Dopis klientovi", "dopis", "text", ""}, {"Plná moc", "plná moc", "text", ""},
             {"Adresa 2", "ADRESA", "x", ""}, {"Čestné prohlášení", "čestné prohlášení", "x", ""}});
    start();
    const QStringList offered{"", "adresa", "žaloba", "čestné prohlášení", "dopis", "plná moc", "podpis"};
    EXPECT_EQ(items(controls->ListBox1), offered);
    EXPECT_EQ(items(controls->DBComboBox1), offered);
    controls->ListBox1->item(4)->setSelected(true);
    ASSERT_EQ(listedNames(), QStringList{"Dopis klientovi"});
    runInFile(QStringLiteral("INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Usnesení', 'usnesení', 'x', '')"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return items(controls->ListBox1).contains(QStringLiteral("usnesení")); }, 5000));
    EXPECT_EQ(controls->ListBox1->selectedItems().value(0)->text(), QStringLiteral("dopis"));
    EXPECT_EQ(listedNames(), QStringList{"Dopis klientovi"});
}

TEST_F(MainWindow, AMissingKindsFileIsReportedAndTheListsKeepTheirItems)
{
    seedKinds = false;
    ModalAnswerer answerer;
    start();
    EXPECT_FALSE(createdOk);
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_TRUE(answerer.seen()[0].text.startsWith(QStringLiteral("Cannot open file \"")));
    EXPECT_EQ(items(controls->ListBox1), (QStringList{"", "adresa", "petit", "podpis"}));
    EXPECT_EQ(controls->Edit1->text(), QStringLiteral("4"));
    EXPECT_TRUE(controls->CheckBox3->isChecked());  // read before the kinds
}

TEST_F(MainWindow, ControlsCarryTheirCaptionsAndInitialStates)
{
    start();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Vorlin"));
    const char* shown[] = {"Přidat", "Smazat", "Upravit", "Uložit", "Neukládat"};
    const char* hidden[] = {"První", "Předchozí", "Další", "Poslední", "Obnovit"};
    int visible = 0;
    for (int i = 0; i < Nav::ButtonCount; ++i) {
        QToolButton* button = controls->DBNavigator1->button(Nav::Button(i));
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_FALSE(button->icon().isNull());
        if (!button->isHidden())
            EXPECT_EQ(button->text(), QString::fromUtf8(shown[visible++]));
        else
            EXPECT_TRUE(std::find_if(std::begin(hidden), std::end(hidden), [&](const char* c) {
                            return button->text() == QString::fromUtf8(c);
                        }) != std::end(hidden));
    }
    EXPECT_EQ(visible, 5);
    EXPECT_EQ(controls->GroupBox1->title(), QStringLiteral("Vyhledávání"));
    EXPECT_EQ(controls->GroupBox19->title(), QStringLiteral("Export do textových editorů"));
    EXPECT_EQ(controls->GroupBox2->title(), QStringLiteral("Jiná práce s textem"));
    EXPECT_EQ(controls->GroupBox19->palette().color(QPalette::Window), QColor(0xE6, 0xFA, 0xE6));
    EXPECT_EQ(controls->GroupBox2->palette().color(QPalette::Window), QColor(0xCA, 0xCA, 0xFF));
    EXPECT_TRUE(controls->CheckBox4->isChecked());
    EXPECT_TRUE(controls->CheckBox1->isChecked());
    EXPECT_TRUE(controls->CheckBox2->isChecked());
    EXPECT_TRUE(controls->Button5->isHidden());
    EXPECT_EQ(controls->Button5->text(), QStringLiteral("Speciální import"));
    EXPECT_EQ(controls->Button4->text(), QStringLiteral("Náhled"));
    EXPECT_EQ(controls->DBRichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(controls->RichEditAlignLeft1->isChecked());
    EXPECT_EQ(controls->TrayIcon->toolTip(), QStringLiteral("Vorlin"));
    EXPECT_FALSE(controls->Timer1->isEnabled());
    EXPECT_EQ(controls->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Název"));
    EXPECT_EQ(controls->DBGrid1->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Druh"));
}

TEST_F(MainWindow, ControlsShowTheCurrentRow)
{
    start();
    EXPECT_EQ(controls->Jmeno_DBEdit->text(), QStringLiteral("Adresa soudu"));
    EXPECT_EQ(controls->DBComboBox1->currentText(), QStringLiteral("adresa"));
    EXPECT_EQ(controls->Tag_DBEdit->text(), QStringLiteral("soud"));
    EXPECT_EQ(controls->DBRichEdit1->toPlainText(), QStringLiteral("Krajský soud"));
    controls->DBGrid1->setCurrentIndex(controls->DBGrid1->model()->index(1, 0));
    EXPECT_EQ(query().recNo(), 2);
    EXPECT_EQ(controls->Jmeno_DBEdit->text(), QStringLiteral("Podpis"));
    EXPECT_EQ(controls->DBRichEdit1->toPlainText(), QStringLiteral("JUDr. Jan Novák"));  // plain text body
    EXPECT_EQ(controls->DBGrid1->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("▶"));
}

TEST_F(MainWindow, AddInsertsWithTheDefaultFont)
{
    struct Case {
        const char* stored;
        Font expected;
    };
    const Case cases[] = {
        {"\"Arial\", 12, [Bold], [clRed]", {QStringLiteral("Arial"), 12, FontStyle::Bold, colors::clRed}},
        {nullptr, Font::platformDefault()},
    };
    for (const Case& c : cases) {
        QFile::remove(settings::filePath(dataDir));
        if (c.stored)
            writeSetting(settings::kFontKey, QString::fromUtf8(c.stored));
        form.reset();
        dm.reset();
        QFile::remove(databaseFile());
        QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin.mdb"), databaseFile());
        QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
        start(false);
        controls->DBNavigator1->press(Nav::Insert);
        EXPECT_EQ(query().state(), State::Insert);
        const QTextCharFormat format = controls->DBRichEdit1->currentCharFormat();
        const QFont font = c.expected.toQFont();
        EXPECT_EQ(format.font().family(), font.family()) << (c.stored ? c.stored : "none");
        EXPECT_EQ(format.font().pointSize(), c.expected.size);
        EXPECT_EQ(format.font().bold(), font.bold());
        EXPECT_EQ(format.foreground().color(), toQColor(c.expected.color, controls->DBRichEdit1->palette()));
        controls->DBRichEdit1->setFocus();
        type(controls->DBRichEdit1, QStringLiteral("Nový"));
        controls->DBNavigator1->press(Nav::Post);
        QTextDocument back;
        rtf::loadBody(valueInFile(query().value(QStringLiteral("ID")).toLongLong(), QStringLiteral("obsah")).toString(),
                      back);
        EXPECT_EQ(back.toPlainText(), QStringLiteral("Nový"));
        EXPECT_EQ(back.begin().begin().fragment().charFormat().fontPointSize(), c.expected.size);
    }
}

TEST_F(MainWindow, NavigatorButtonsFollowTheState)
{
    start();
    auto enabled = [this] {
        QString mask;
        for (const Nav::Button b : {Nav::Insert, Nav::Delete, Nav::Edit, Nav::Post, Nav::Cancel})
            mask += controls->DBNavigator1->button(b)->isEnabled() ? u'1' : u'0';
        return mask;
    };
    EXPECT_EQ(enabled(), QStringLiteral("11100"));
    controls->DBNavigator1->press(Nav::Edit);
    EXPECT_EQ(enabled(), QStringLiteral("11011"));  // deleting an edited row drops the edit
    controls->DBNavigator1->press(Nav::Cancel);
    EXPECT_EQ(enabled(), QStringLiteral("11100"));
    controls->DBNavigator1->press(Nav::Insert);
    EXPECT_EQ(enabled(), QStringLiteral("11011"));
    controls->DBNavigator1->press(Nav::Cancel);
    query().close();
    EXPECT_EQ(enabled(), QStringLiteral("00000"));
}

TEST_F(MainWindow, CtrlDeleteAsksAndDeletesOnlyOnOk)
{
    addRows({{"Výzva", "petit", "text", ""}});
    start();
    {
        ModalAnswerer cancel(ModalAnswerer::press(MessageBox::Cancel));
        QTest::keyClick(controls->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(cancel.seen().size(), 1);
        EXPECT_EQ(cancel.seen()[0].text, QStringLiteral("Delete record?"));
    }
    EXPECT_EQ(rowsInFile(), 3);
    {
        ModalAnswerer ok(ModalAnswerer::press(MessageBox::Ok));
        QTest::keyClick(controls->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(ok.seen().size(), 1);
    }
    EXPECT_EQ(rowsInFile(), 2);
    EXPECT_EQ(controls->Jmeno_DBEdit->text(), QStringLiteral("Podpis"));
    // In a cell being edited the key asks the same; Cancel keeps the cell's text.
    QTest::keyClick(controls->DBGrid1, Qt::Key_F2);
    QWidget* cell = controls->DBGrid1->indexWidget(controls->DBGrid1->currentIndex());
    ASSERT_TRUE(cell);
    for (const auto answer : {MessageBox::Cancel, MessageBox::Ok}) {
        ModalAnswerer answerer(ModalAnswerer::press(answer));
        QTest::keyClick(cell, Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(answerer.seen().size(), 1) << answer;
        EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("Delete record?"));
        EXPECT_EQ(rowsInFile(), answer == MessageBox::Ok ? 1 : 2);
        if (answer == MessageBox::Cancel) {
            EXPECT_EQ(static_cast<QLineEdit*>(cell)->text(), QStringLiteral("Podpis"));
        }
    }
    EXPECT_EQ(listedNames(), QStringList{"Výzva"});
    {
        ModalAnswerer ok(ModalAnswerer::press(MessageBox::Ok));
        controls->DBNavigator1->press(Nav::Delete);
    }
    EXPECT_EQ(rowsInFile(), 0);
}

TEST_F(MainWindow, TheFontButtonOnAnEmptyListStartsANewRow)
{
    start(false);
    ModalAnswerer accept([](QWidget* dialog) {
        auto* fonts = dialog->findChild<QFontDialog*>();
        ASSERT_NE(fonts, nullptr);
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPointSize(14);
        font.setItalic(true);
        fonts->setCurrentFont(font);
        static_cast<QDialog*>(dialog)->accept();
    });
    controls->ToolButton8->trigger();
    EXPECT_EQ(query().state(), State::Insert);
    const QTextCharFormat format = controls->DBRichEdit1->currentCharFormat();
    EXPECT_EQ(format.fontPointSize(), 14);
    EXPECT_TRUE(format.fontItalic());
    EXPECT_EQ(form->fontDialog().font().face, QStringLiteral("DejaVu Serif"));
}

TEST_F(MainWindow, ABodyTypedAndLeftIsSavedAsRtfWithItsFormatting)
{
    start();
    controls->DBRichEdit1->setFocus();
    controls->DBRichEdit1->moveCursor(QTextCursor::End);
    QTest::keyClick(controls->DBRichEdit1, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(query().state(), State::Edit);
    type(controls->DBRichEdit1, QStringLiteral(" v Brně"));
    controls->RichEditAlignCenter1->trigger();
    const qint64 id = query().value(QStringLiteral("ID")).toLongLong();
    controls->DBGrid1->setCurrentIndex(controls->DBGrid1->model()->index(1, 0));  // leaving the row saves it
    EXPECT_EQ(query().state(), State::Browse);

    const QString stored = valueInFile(id, QStringLiteral("obsah")).toString();
    EXPECT_TRUE(stored.startsWith(QStringLiteral("{\\rtf1"))) << stored.toStdString();
    QTextDocument back;
    rtf::loadBody(stored, back);
    EXPECT_EQ(back.toPlainText(), QStringLiteral("Krajský soud v Brně"));
    EXPECT_EQ(back.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    bool boldFound = false;
    for (auto it = back.begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().text().contains(QStringLiteral("Brně")))
            boldFound = it.fragment().charFormat().fontWeight() == QFont::Bold;
    EXPECT_TRUE(boldFound);
}

TEST_F(MainWindow, FieldEditsAreSavedWhenTheRowIsPosted)
{
    start();
    controls->Jmeno_DBEdit->setFocus();
    controls->Jmeno_DBEdit->selectAll();
    type(controls->Jmeno_DBEdit, QStringLiteral("Okresní soud"));
    EXPECT_EQ(query().state(), State::Edit);
    controls->DBComboBox1->setFocus();
    type(controls->DBComboBox1->lineEdit(), QStringLiteral("x"));
    controls->DBNavigator1->press(Nav::Post);
    const qint64 id = query().value(QStringLiteral("ID")).toLongLong();
    EXPECT_EQ(valueInFile(id, QStringLiteral("nazev")).toString(), QStringLiteral("Okresní soud"));
    EXPECT_EQ(valueInFile(id, QStringLiteral("druh")).toString(), QStringLiteral("adresax"));
    EXPECT_EQ(controls->DBGrid1->model()->index(0, 0).data().toString(), QStringLiteral("Okresní soud"));
}

TEST_F(MainWindow, GridCellsAreEditedInPlaceAndSavedWhenLeavingTheRow)
{
    start();
    QTableView* grid = controls->DBGrid1;
    const QModelIndex kind = grid->model()->index(0, 1);
    grid->setCurrentIndex(kind);
    grid->edit(kind);
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("soud"));
    grid->setCurrentIndex(grid->model()->index(1, 1));  // commits the cell, then leaves the row
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(query().recNo(), 2);
    EXPECT_EQ(valueInFile(idInFile(QStringLiteral("Adresa soudu")), QStringLiteral("druh")).toString(), QStringLiteral("soud"));

    // The list read again under an open cell keeps the cell as typed, and
    // "Přidat" (no focus of its own) stores the cell's row before the new row.
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->indexWidget(grid->currentIndex()));
    static_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()))->setText(QStringLiteral("konec!"));
    dm->Vorlin_DataSource.holdControls();
    dm->Vorlin_DataSource.releaseControls();
    auto* reopened = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->text(), QStringLiteral("konec!"));
    controls->DBNavigator1->press(Nav::Insert);
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_EQ(valueInFile(idInFile(QStringLiteral("Podpis")), QStringLiteral("druh")).toString(), QStringLiteral("konec!"));
    controls->DBNavigator1->press(Nav::Cancel);

    // A click on the current row, then at once into "Název" and typing:
    // the cell the click set off stays shut, every key goes into the box.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(2 * QApplication::doubleClickInterval());  // since the cell above closed
    grid->setFocus();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->currentIndex()).center());
    controls->Jmeno_DBEdit->setFocus();
    controls->Jmeno_DBEdit->setCursorPosition(0);
    for (const QString& word : {QStringLiteral("Moje "), QStringLiteral("verze ")}) {
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, word, Qt::NoModifier);
        QTest::qWait(2 * QApplication::doubleClickInterval());
    }
    EXPECT_EQ(grid->indexWidget(grid->currentIndex()), nullptr);
    EXPECT_TRUE(controls->Jmeno_DBEdit->text().startsWith(QStringLiteral("Moje verze ")));
}

TEST_F(MainWindow, AHugeNameIsShownByItsBeginningAndKeptWholeThroughAnEdit)
{
    // As another client of the office library can write it.
    const QString huge = QStringLiteral("Jméno ") + QString(10 << 20, u'x');
    addRows({{huge, "adresa", "{\\rtf1 Text}", "soud"}});
    start(false);
    const QString shown = controls->DBGrid1->model()->index(0, 0).data().toString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Jméno xxx")) && shown.size() <= 501) << shown.size();
    EXPECT_FALSE(controls->DBGrid1->model()->flags(controls->DBGrid1->model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(controls->Jmeno_DBEdit->isReadOnly());
    EXPECT_TRUE(controls->Jmeno_DBEdit->text().startsWith(QStringLiteral("Jméno xxx")));
    controls->Jmeno_DBEdit->setFocus();
    type(controls->Jmeno_DBEdit, QStringLiteral("ab"));
    controls->Tag_DBEdit->setFocus();
    controls->Tag_DBEdit->selectAll();
    type(controls->Tag_DBEdit, QStringLiteral("nový"));
    controls->DBNavigator1->press(Nav::Post);
    const qint64 id = query().value(QStringLiteral("ID")).toLongLong();
    EXPECT_EQ(valueInFile(id, QStringLiteral("nazev")).toString(), huge);
    EXPECT_EQ(valueInFile(id, QStringLiteral("tag")).toString(), QStringLiteral("nový"));
}

TEST_F(MainWindow, MinimisingHidesIntoTheTrayAndALeftClickShows)
{
    startWith({.trayAvailable = [] { return true; }});
    form->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isHidden(); }));  // a QTRY_ failure would pass
    Q_EMIT controls->TrayIcon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    Q_EMIT controls->TrayIcon->activated(QSystemTrayIcon::Trigger);  // does not toggle
    EXPECT_TRUE(form->isVisible());
    controls->menuEntry(QStringLiteral("Skrýt okno"))->trigger();
    EXPECT_TRUE(form->isHidden());
    controls->menuEntry(QStringLiteral("Ukázat okno"))->trigger();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(MainWindow, WithoutANotificationAreaMinimisingDoesNotStrandTheWindow)
{
    startWith({.trayAvailable = [] { return false; }});
    form->showMinimized();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_FALSE(form->isHidden());
}

TEST_F(MainWindow, InsertWhileTheWindowIsHiddenAddsTheRowFocusingNothing)
{
    start();
    form->hide();
    ModalAnswerer answerer;
    EXPECT_TRUE(runShowingErrors([this] { controls->DBNavigator1->press(Nav::Insert); }));
    EXPECT_TRUE(answerer.seen().isEmpty());
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_TRUE(form->isHidden());
}

TEST_F(MainWindow, HelpButtonShowsTheHelpText)
{
    start();
    ModalAnswerer answerer;
    controls->BitBtn6->click();
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("Information"));
    EXPECT_EQ(answerer.seen()[0].icon, MessageBox::Information);
    const QStringList lines = answerer.seen()[0].text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("této možnosti. ")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("ctrl+v. ")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("Text se vloží.")));
}

TEST_F(MainWindow, TheDelayedPasteBoxCarriesItsCaptionWithTheBoxOnTheRight)
{
    start();
    auto* box = qobject_cast<ui::WrappedCheckBox*>(controls->CheckBox3);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("a použít zkratku ctrl+v po uplynutí časového intervalu"));
    EXPECT_GE(box->indicatorRect().left(), box->captionRect(box->width()).right());
    EXPECT_GT(box->captionRect(box->width()).height(), box->fontMetrics().height());  // wrapped
    const bool before = box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));  // on the caption
    EXPECT_NE(box->isChecked(), before);
    QTest::mouseClick(box, Qt::LeftButton, {}, box->indicatorRect().center());
    EXPECT_EQ(box->isChecked(), before);
}

TEST_F(MainWindow, OpeningTheKindListAndPressingEscapeChangesNothing)
{
    start();
    controls->DBComboBox1->setFocus();
    controls->DBComboBox1->showPopup();
    QApplication::processEvents();
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(controls->DBComboBox1->currentText(), QStringLiteral("adresa"));
    controls->DBGrid1->setCurrentIndex(controls->DBGrid1->model()->index(1, 0));
    EXPECT_EQ(valueInFile(1, QStringLiteral("druh")).toString(), QStringLiteral("adresa"));
}

TEST_F(MainWindow, AnInPlaceGridEditShowsTheEditingMarker)
{
    start();
    QTableView* grid = controls->DBGrid1;
    const QModelIndex name = grid->model()->index(0, 0);
    grid->setCurrentIndex(name);
    grid->edit(name);
    EXPECT_EQ(query().state(), State::Edit);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("I"));
}

TEST_F(MainWindow, TheNameColumnTakesTheFreeWidthUntilTheUserSizesAColumn)
{
    addRows({{"Velmi dlouhý název snippetu, který se do sloupce nevejde celý", "odstavec smlouvy", "x", ""}});
    start();
    ui::DBGrid* grid = controls->DBGrid1;
    QHeaderView* header = grid->horizontalHeader();
    const auto fills = [&] { return header->sectionSize(0) + header->sectionSize(1) == grid->viewport()->width(); };
    EXPECT_TRUE(fills());
    EXPECT_GE(header->sectionSize(1), grid->fontMetrics().horizontalAdvance(QStringLiteral("odstavec smlouvy")));

    const int narrowLeft = grid->width();
    form->resize(form->width() + 600, form->height() + 200);
    QApplication::processEvents();
    EXPECT_GT(grid->width(), narrowLeft + 150);  // the list shares the new width
    EXPECT_GT(controls->DBRichEdit1->width(), 440);   // and so does the editor
    EXPECT_TRUE(fills());

    header->resizeSection(1, 60);  // as the user drags it
    const int name = header->sectionSize(0);
    form->resize(form->width() - 300, form->height());
    QApplication::processEvents();
    EXPECT_EQ(header->sectionSize(1), 60);
    EXPECT_EQ(header->sectionSize(0), name);
}

// As the window opens, and at 960 px (a tiling desktop's half of a full-HD
// screen) on a laptop's 768 px under a panel: every control inside the
// window and no caption cut.
TEST_F(MainWindow, NoCaptionIsClipped)
{
    start();
    EXPECT_LE(form->minimumSizeHint().width(), 960);
    EXPECT_LE(form->minimumSizeHint().height(), 700);
    // As opened, at 960 px, and at a tiling desktop's half of a laptop's
    // screen and below: every control is inside the window.
    for (const QSize size : {QSize(), QSize(960, 700), QSize(683, 740), QSize(640, 740)}) {
        SCOPED_TRACE(size.width());
        if (size.isValid())
            form->resize(size);
        QApplication::processEvents();
        EXPECT_EQ(form->size(), size.isValid() ? size : form->size());
        for (QWidget* control : form->findChildren<QWidget*>()) {
            if (control->isVisibleTo(form.get()) && !control->isWindow() && control->parentWidget()->isVisibleTo(form.get()))
                EXPECT_TRUE(form->rect().contains(QRect(control->mapTo(form.get(), QPoint()), control->size())))
                    << control->objectName().toStdString();
        }
        for (QPushButton* button : form->findChildren<QPushButton*>()) {
            if (button->isHidden())
                continue;
            const int text = button->fontMetrics().horizontalAdvance(button->text().remove(u'&'));
            EXPECT_LE(text + 8, button->width()) << button->text().toStdString();
        }
        for (QGroupBox* group : form->findChildren<QGroupBox*>()) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
            EXPECT_GE(label.left(), 2) << group->title().toStdString();  // clear of the frame's edge
            EXPECT_LE(label.right(), group->width() - 2) << group->title().toStdString();
            EXPECT_GE(label.width(), group->fontMetrics().horizontalAdvance(group->title())) << group->title().toStdString();
        }
        for (QCheckBox* box : form->findChildren<QCheckBox*>()) {
            if (qobject_cast<ui::WrappedCheckBox*>(box))
                continue;
            EXPECT_GE(box->width(), box->sizeHint().width()) << box->text().toStdString();
        }
    }
}

TEST_F(MainWindow, TheListingButtonsFillTheListTopmostFirstAndSelectTheFirst)
{
    CallLog log;
    RecordingDesktop desktop{log};
    desktop.windows = {{"Dopis.odt - LibreOffice Writer", "libreoffice-writer"},
                       {"Dokument1 - Microsoft Word", "OpusApp"},
                       {"Smlouva.odt - LibreOffice Writer", "libreoffice-writer"}};
    // The office also shows a document whose window the walk cannot see.
    FakeOffice office;
    office.documents = {{"Dopis.odt - LibreOffice Writer", ""}, {"Skrytý.odt - LibreOffice Writer", ""}};
    startWith({.desktopWindows = desktop, .office = office});
    EXPECT_TRUE(controls->Button36->isEnabled());
    EXPECT_TRUE(controls->Button2->isEnabled());
    controls->Button36->click();
    EXPECT_EQ(items(controls->Word_ListBox), QStringList{"Dokument1 - Microsoft Word"});
    EXPECT_EQ(controls->Word_ListBox->currentRow(), 0);
    controls->Button2->click();  // replaces the Word entries: the walk's order, then the office's own
    EXPECT_EQ(items(controls->Word_ListBox), (QStringList{"Dopis.odt - LibreOffice Writer", "Smlouva.odt - LibreOffice Writer",
                                                         "Skrytý.odt - LibreOffice Writer"}));
    EXPECT_EQ(controls->Word_ListBox->currentRow(), 0);
    desktop.windows.clear();  // a desktop without a walk (Wayland): the office's list
    controls->Button2->click();
    EXPECT_EQ(items(controls->Word_ListBox),
              (QStringList{"Dopis.odt - LibreOffice Writer", "Skrytý.odt - LibreOffice Writer"}));
    office.running = false;  // nothing at all: an empty list, nothing selected
    controls->Button2->click();
    EXPECT_EQ(controls->Word_ListBox->count(), 0);
    EXPECT_EQ(controls->Word_ListBox->currentRow(), -1);
}

TEST_F(MainWindow, EveryControlHasACzechNameOfItsOwn)
{
    start();
    form->show();
    expectEveryControlNamedOnce(form.get());
    // The kind filter's empty first item is named too.
    QAccessibleInterface* kinds = QAccessible::queryAccessibleInterface(form->findChild<QListWidget*>(QStringLiteral("ListBox1")));
    ASSERT_TRUE(kinds && kinds->childCount() > 0);
    EXPECT_EQ(kinds->child(0)->text(QAccessible::Name), QStringLiteral("Všechny druhy"));
}

TEST_F(MainWindow, TheCopyOffersHtmlThatKeepsTheFormattingForBrowsersAndMail)
{
    addRows({{"Formát", "adresa",
              "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}}{\\colortbl ;\\red200\\green0\\blue0;}"
              "\\pard\\qc\\f0\\fs28 {\\b tu\\'e8n\\'e9} {\\i\\ul \\'9e\\'ed\\'e1r} {\\cf1 \\'e8erven\\'e9}\\par}",
              "f"}});
    start(false);
    controls->CheckBox3->setChecked(false);
    controls->Button3->click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasHtml());
    const QString html = data->html();
    for (const char* kept : {"tučné", "žíár", "červené", "font-weight:700", "font-style:italic", "text-decoration: underline",
                             "color:#c80000", "Tahoma", "font-size:14pt", "align=\"center\""})
        EXPECT_TRUE(html.contains(QString::fromUtf8(kept))) << kept << "\n" << html.toStdString();
}

TEST_F(MainWindow, ALibraryTheServerLetsOnlyBeReadSaysWhyAndTakesNoTyping)
{
    useServer();
    addRows({{"Adresa soudu", "adresa", "Krajský soud", "soud"}});
    PostgresServer::shared().run(serverDatabase,
                                 QStringLiteral("CREATE ROLE ctenar LOGIN; GRANT SELECT ON vorlin, vorlin_smazane TO ctenar"));
    serverUser = QStringLiteral("ctenar");
    start(false);
    EXPECT_EQ(listedNames(), QStringList{"Adresa soudu"});
    const auto* why = form->findChild<QLabel*>(QStringLiteral("LibraryLabel"));
    EXPECT_TRUE(why->isVisible());
    EXPECT_TRUE(why->text().startsWith(QStringLiteral("Server kanceláře vám dovoluje knihovnu jen číst")));
    for (const auto button : {ui::DBNavigator::Insert, ui::DBNavigator::Delete, ui::DBNavigator::Edit})
        EXPECT_FALSE(controls->DBNavigator1->button(button)->isEnabled()) << button;
    EXPECT_TRUE(form->findChild<ui::DBRichEdit*>(QStringLiteral("DBRichEdit1"))->isReadOnly());
    EXPECT_FALSE(form->findChild<ui::DBEdit*>(QStringLiteral("Jmeno_DBEdit"))->isEnabled());
}

// A colleague changed or deleted the snippet while the user edited it: the
// save asks, and whatever the answer, neither text is lost unseen.
TEST_F(MainWindow, ASaveThatFindsTheSnippetChangedByAColleagueAsksAndLosesNoText)
{
    struct Case {
        const char* colleague;  // SQL on the snippet %1
        const char* button;
        const char* storedBody;  // afterwards; empty: the row is gone
        bool stillEditing;
        const char* status;
        bool byMoving = false;  // the save on the way to the row above, which follows
    };
    const Case cases[] = {
        {"UPDATE vorlin SET obsah = 'verze kolegy' WHERE \"ID\" = %1", "Ponechat verzi kolegy", "verze kolegy", false,
         "Vaše verze vorlinu „Podpis“ je ve schránce; platí verze kolegy."},
        {"UPDATE vorlin SET obsah = 'verze kolegy' WHERE \"ID\" = %1", "Přepsat mou verzí", "moje verze: Přepsat mou verzí", false, ""},
        {"UPDATE vorlin SET obsah = 'verze kolegy' WHERE \"ID\" = %1", "Pokračovat v úpravách", "verze kolegy", true, ""},
        {"DELETE FROM vorlin WHERE \"ID\" = %1", "Uložit jako nový", "", false, ""},
        {"UPDATE vorlin SET obsah = 'verze kolegy' WHERE \"ID\" = %1", "Přepsat mou verzí", "moje verze: Přepsat mou verzí", false, "", true},
    };
    useServer();
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        ASSERT_TRUE(query().locate(QStringLiteral("nazev"), QStringLiteral("Podpis")));
        const qint64 id = query().value(QStringLiteral("ID")).toLongLong();
        const QString mine = QStringLiteral("moje verze: ") + QString::fromUtf8(c.button);
        form->findChild<QLabel*>(QStringLiteral("StatusLabel"))->clear();
        query().edit();
        query().setValue(QStringLiteral("obsah"), mine);
        query().setValue(QStringLiteral("tag"), QStringLiteral("moje slova"));
        runInFile(QString::fromUtf8(c.colleague).arg(id));
        ModalAnswerer answerer([&](const MessageBox::Shown& box) { return box.indexOf(QString::fromUtf8(c.button)); });
        EXPECT_EQ(runShowingErrors([&] { c.byMoving ? query().prior() : query().post(); }), !c.stillEditing);
        EXPECT_EQ(query().value(QStringLiteral("nazev")).toString() != QStringLiteral("Podpis"), c.byMoving);
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_TRUE(answerer.seen()[0].text.contains(QStringLiteral("„Podpis“ mezitím")));
        EXPECT_EQ(query().isEditing(), c.stillEditing);
        if (*c.storedBody) {
            EXPECT_EQ(valueInFile(id, QStringLiteral("obsah")).toString(), QString::fromUtf8(c.storedBody));
        } else {
            EXPECT_EQ(PostgresServer::shared().run(serverDatabase, QStringLiteral("SELECT count(*) FROM vorlin WHERE obsah = '%1'").arg(mine)), QStringLiteral("1"));
        }
        EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(), QString::fromUtf8(c.status));
        if (*c.status) {  // the whole version, its fields above its body
            EXPECT_EQ(QGuiApplication::clipboard()->text(),
                      QStringLiteral("Název: Podpis\nDruh: podpis\nKlíčová slova: moje slova\n\n") + mine);
            EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/rtf")).contains("moje slova"));
        }
        if (query().isEditing())
            query().cancel();
        QTest::qWait(50);  // the refresh that follows
    }
}

// A logout (SIGTERM, SIGHUP) or Ctrl+C ends the program within a moment
// whatever dialog is open: each dialog ends unanswered, the edit is saved
// (beside a colleague's change), nothing is asked.
TEST_F(MainWindow, ASignalEndsTheProgramWhateverDialogIsOpenSavingTheEdit)
{
    struct Case {
        const char* dialog;
        int signal;
        std::function<void()> open;  // from the running program's event loop
        int rowsAdded = 0;
    };
    start();
    TNahled_Form preview(*dm, form->fontDialog());
    QObject::connect(form.get(), &TVorlin_Form::previewRequested, &preview, &TNahled_Form::showWindow);
    static TVorlin_Form* signalled = form.get();
    closeOnTerminationSignals([] { signalled->endAskingNothing(); });
    const Case cases[] = {
        {"the conflict question", SIGTERM, [&] {
             runInFile(QStringLiteral("UPDATE vorlin SET nazev = 'kolegův' WHERE \"ID\" = %1").arg(idInFile(QStringLiteral("Adresa soudu"))));
             controls->DBNavigator1->press(Nav::Post);
         }, 1},
        {"a message", SIGHUP, [&] { controls->BitBtn6->click(); }},
        {"the font dialog", SIGINT, [&] { controls->ToolButton8->trigger(); }},
        {"the preview's question", SIGTERM, [&] {
             controls->Button4->click();
             type(preview.findChild<ui::DBRichEdit*>(QStringLiteral("Nahled_DBRichEdit1")), QStringLiteral("z náhledu "));
             preview.close();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        query().first();
        const int rowsBefore = rowsInFile();
        const QString name = QStringLiteral("před odhlášením: ") + QString::fromUtf8(c.dialog);
        controls->Jmeno_DBEdit->setFocus();
        controls->Jmeno_DBEdit->selectAll();
        type(controls->Jmeno_DBEdit, name);
        QTimer signalWhenShown;  // once a dialog shows; the program must end within 10 s
        QObject::connect(&signalWhenShown, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget()) {
                signalWhenShown.stop();
                ::raise(c.signal);
            }
        });
        signalWhenShown.start(20);
        QTimer::singleShot(10000, &signalWhenShown, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, form.get(), c.open);
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_FALSE(signalWhenShown.isActive());  // a dialog was open
        EXPECT_EQ(query().state(), State::Browse);
        EXPECT_NE(idInFile(name), -1);
        EXPECT_EQ(rowsInFile(), rowsBefore + c.rowsAdded);
    }
}

// "Pole" writes a field at the caret through its dialog, and the body is
// saved with it; Storno writes nothing.
TEST_F(MainWindow, TheFieldButtonWritesAFieldAtTheCaret)
{
    start();
    auto* button = form->findChild<QPushButton*>(QStringLiteral("FieldButton"));
    ASSERT_TRUE(button);
    controls->DBRichEdit1->moveCursor(QTextCursor::End);
    for (const bool accepted : {false, true}) {
        ModalAnswerer answerer([&](QWidget* dialog) {
            auto* type = dialog->findChild<QComboBox*>();
            ASSERT_TRUE(type);
            type->setCurrentText(QStringLiteral("lhůta"));
            for (QLineEdit* line : dialog->findChildren<QLineEdit*>())
                if (line->accessibleName() == QStringLiteral("Možnosti pole"))
                    line->setText(QStringLiteral("15 dnů od doručení"));
            QTest::keyClick(dialog, accepted ? Qt::Key_Return : Qt::Key_Escape);
        });
        button->click();
    }
    EXPECT_EQ(controls->DBRichEdit1->toPlainText(), QStringLiteral("Krajský soud{{lhůta: 15 dnů od doručení}}"));
    const qint64 id = query().value(QStringLiteral("ID")).toLongLong();
    controls->DBNavigator1->press(ui::DBNavigator::Post);
    QTextDocument stored;
    rtf::loadBody(valueInFile(id, QStringLiteral("obsah")).toString(), stored);
    EXPECT_EQ(stored.toPlainText(), QStringLiteral("Krajský soud{{lhůta: 15 dnů od doručení}}"));
}
