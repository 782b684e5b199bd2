// The import window: the memo run over filter files, and saving the ticked
// candidates as snippets.
#include "common/Win1250.h"
#include "ui/import/Import_Unit.h"
#include "regex/ERegExpr.h"
#include "ImportFixture.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include "ui/settings/About_Unit.h"

#include <QDir>
#include <QInputDialog>
#include <QLineEdit>

using namespace vorlin;
using namespace vorlin::test;


TEST_F(Import, TheFilterMenuListsTheTxtFilesOfTheFilterFolder)
{
    filter("a", "První.txt");
    filter("b", "druhý.TXT");
    filter("c", "pozn.md");
    dir.write(QStringLiteral("Jan Novák/Data (účetní)/hledani/pod/vnořený.txt"), "d");
    filter("e", "A&B.txt");
    QStringList files = import->filterFiles();
    files.sort();
    QStringList expected{"A&B.txt", "druhý.TXT", "První.txt"};
    expected.sort();
    EXPECT_EQ(files, expected);
    shown->Button3->click();
    QStringList captions;
    for (QAction* action : shown->PopupMenu1->actions())
        captions << action->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("A&&B.txt")));  // shown as "A&B.txt"
    shown->PopupMenu1->hide();
}

TEST_F(Import, TheMemoRunAddsEveryMatchOfEveryLine)
{
    struct Case {
        const char* name;
        QByteArray filterFile;
        const char* memo;
        QStringList found;
    };
    const Case cases[] = {
        {"two lines, line ends of all kinds", "\\d+\r\n[a-z]+\n", "ab 12 cd 3",
         {"12", "3", "ab", "cd"}},
        {"an empty file", "", "ab 12", {}},
        {"the same text twice stays twice", "ab", "ab ab", {"ab", "ab"}},
        {"an empty line repeats the line before", "\\d\n\nx", "1 2 x", {"1", "1", "2", "2", "x"}},
        {"blanks belong to the pattern", " b ", "a b c", {" b "}},
        {"an empty match at every position", "x*", "ab", {"", "", ""}},
        {"a line break inside a match", "a\\r\\nb", "a\nb", {"a\r\nb"}},
        {"a UTF-8 byte-order mark is left off", "\xEF\xBB\xBF" "a", "ď»ża", {"a"}},
        {"Czech letters in Windows-1250", "\xE8\xE1st", "část a část", {"část", "část"}},
        {"Czech letters in UTF-8, as a Linux editor saves them", "\xC4\x8D\xC3\xA1st", "část a část", {"část", "část"}},
    };
    for (const Case& c : cases) {
        filter(c.filterFile);
        shown->Memo1->setPlainText(QString::fromUtf8(c.memo));
        shown->items->add(QStringLiteral("z minula"));
        import->PopupMenuItemsClick(QStringLiteral("f.txt"));
        QStringList sorted = c.found;
        EXPECT_EQ(found().size(), c.found.size()) << c.name;
        for (const QString& text : c.found)
            EXPECT_TRUE(found().contains(text)) << c.name << ": " << text.toStdString();
        for (int row = 0; row < shown->items->count(); ++row)
            EXPECT_FALSE(shown->items->isChecked(row)) << c.name;
    }
}

TEST_F(Import, ErrorsKeepWhatWasFoundBefore)
{
    shown->Memo1->setPlainText(QStringLiteral("a1 b2"));
    filter("\\d\n(a\n");
    try {
        import->PopupMenuItemsClick(QStringLiteral("f.txt"));
        FAIL() << "no error";
    } catch (const ERegExpr& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("TRegExpr(comp): ParseReg Unmatched ()")))
            << e.message().toStdString();
    }
    EXPECT_EQ(found(), (QStringList{"1", "2"}));

    filter("\nx");
    shown->items->add(QStringLiteral("staré"));
    try {
        import->PopupMenuItemsClick(QStringLiteral("f.txt"));
        FAIL() << "no error";
    } catch (const ERegExpr& e) {
        EXPECT_EQ(e.message(), QStringLiteral("TRegExpr(exec): Not Assigned Expression Property"));
    }
    EXPECT_TRUE(found().isEmpty());  // cleared after the file was read

    shown->items->add(QStringLiteral("staré"));
    EXPECT_THROW(import->PopupMenuItemsClick(QStringLiteral("chybí.txt")), FileError);
    EXPECT_EQ(found(), QStringList{"staré"});  // the list is cleared only after the file was read
}

TEST_F(Import, SavingStoresTheTickedCandidatesWithTheirKinds)
{
    import->showEmptied();
    for (const char* text : {"2. filtr|Jan Novák\r\nBrno", "B|text s | uvnitř", "C[enter]D", "D neoznačený"})
        shown->items->add(QString::fromUtf8(text));
    shown->items->setChecked(0, true);
    shown->items->setChecked(1, true);
    shown->items->setChecked(3, true);  // the order is the list's: "2. filtr|…", "B|…", "C…", "D…"
    // A kind typed into the settings window and not saved yet goes along.
    QTextCursor typing = about->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->textCursor();
    typing.movePosition(QTextCursor::End);
    typing.insertText(QStringLiteral("ručně"));
    QStringList presets;
    {
        ModalAnswerer answerer = answerKinds({"Smlouva", "SMLOUVA", nullptr}, &presets);
        shown->Button1->click();
    }
    EXPECT_EQ(presets, (QStringList{"", "Smlouva", "SMLOUVA"}));
    EXPECT_EQ(kinds::load(kinds::filePath(dataDir)).mid(3), (QStringList{"ručně", "Smlouva"}));
    EXPECT_EQ(about->memoLines().mid(3), (QStringList{"ručně", "Smlouva"}));
    const QList<QStringList> rows = storedRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], (QStringList{"Jan Novák\r\nBrno", "Smlouva", "Jan Novák\r\nBrno"}));
    EXPECT_EQ(rows[1], (QStringList{"text s | uvnitř", "SMLOUVA", "text s | uvnitř"}));
    EXPECT_EQ(rows[2], (QStringList{"D neoznačený", "SMLOUVA", "D neoznačený"}));
    // "Smlouva" is new, "SMLOUVA" differs only in case: one line more.
    EXPECT_EQ(kinds::load(kinds::filePath(dataDir)).count(QStringLiteral("Smlouva")), 1);
    EXPECT_FALSE(kinds::load(kinds::filePath(dataDir)).contains(QStringLiteral("SMLOUVA")));
    EXPECT_TRUE(items(controls->ListBox1).contains(QStringLiteral("Smlouva")));
    EXPECT_FALSE(import->isVisible());
}

TEST_F(Import, CancelAtEveryPromptStoresTheEmptyKindAndAddsItOnce)
{
    import->showEmptied();
    shown->items->add(QStringLiteral("a"));
    shown->items->add(QStringLiteral("b[enter]c"));
    shown->Button6->click();
    QStringList presets;
    {
        ModalAnswerer answerer = answerKinds({nullptr, nullptr}, &presets);
        shown->Button1->click();
    }
    const QList<QStringList> rows = storedRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][1], QString());
    EXPECT_EQ(rows[1][0], QStringLiteral("b \r\nc"));
    EXPECT_EQ(kinds::load(kinds::filePath(dataDir)).count(QString()), 1);
}

TEST_F(Import, NothingTickedStoresNothingAndHides)
{
    import->showEmptied();
    shown->items->add(QStringLiteral("a"));
    shown->Button6->click();
    shown->Button7->click();
    ModalAnswerer none;
    shown->Button1->click();
    EXPECT_TRUE(none.seen().isEmpty());
    EXPECT_EQ(rowsInFile(), 0);
    EXPECT_FALSE(import->isVisible());
}

TEST_F(Import, WithTheMainWindowInTheNotificationAreaTheRowsAreStored)
{
    import->showEmptied();
    shown->items->add(QStringLiteral("a"));
    shown->Button6->click();
    form->hide();
    QStringList presets;
    {
        ModalAnswerer answerer = answerKinds({"dopis", nullptr}, &presets);
        shown->Button1->click();  // the kind's question, no error
    }
    EXPECT_EQ(presets.size(), 1);
    EXPECT_EQ(storedRows(), (QList<QStringList>{{"a", "dopis", "a"}}));
    EXPECT_FALSE(import->isVisible());
    EXPECT_TRUE(form->isHidden());
}

TEST_F(Import, SpecialImportOpensFromTheKeyboardEmptied)
{
    shown->Memo1->setPlainText(QStringLiteral("staré"));
    shown->items->add(QStringLiteral("staré"));
    QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(import->isVisible());
    EXPECT_TRUE(shown->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(shown->items->count(), 0);
    EXPECT_EQ(import->windowTitle(), QStringLiteral("Import"));
}

TEST_F(Import, NoFilterFileGivesAnEmptyMenu)
{
    QDir(paths().filterDir).removeRecursively();
    QDir().mkpath(paths().filterDir);
    EXPECT_TRUE(import->filterFiles().isEmpty());
    shown->Button3->click();
    EXPECT_TRUE(shown->PopupMenu1->actions().isEmpty());
    shown->PopupMenu1->hide();
}

TEST_F(Import, ATextFileLoadsIntoTheMemoAsWindows1250)
{
    dir.write(QStringLiteral("vstup.txt"), win1250::encode(QStringLiteral("Jan Novák\r\nDlouhá 12\rBrno\n")));
    shown->Memo1->setPlainText(QStringLiteral("staré"));
    chooseInputFile = [this] { return dir.file(QStringLiteral("vstup.txt")); };
    shown->Button2->click();
    EXPECT_EQ(shown->Memo1->toPlainText(), QStringLiteral("Jan Novák\nDlouhá 12\nBrno"));
    chooseInputFile = [] { return QString(); };  // cancelled: nothing changes
    shown->Button2->click();
    EXPECT_EQ(shown->Memo1->toPlainText(), QStringLiteral("Jan Novák\nDlouhá 12\nBrno"));
}
