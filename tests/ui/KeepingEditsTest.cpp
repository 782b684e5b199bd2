// What the user typed reaches the database whatever changed the text and
// whatever comes next: leaving the row, a search, a sort, a kind, the exi
#include "rtf/Rtf.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"

#include <QAccessible>
#include <QAction>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTextDocument>

using namespace vorlin;
using namespace vorlin::test;
using State = db::Query::State;
using Nav = ui::DBNavigator;

namespace {

class KeepingEdits : public MainWindow {
protected:
    qint64 currentId() { return query().value(QStringLiteral("ID")).toLongLong(); }

    QString storedBody(qint64 id)
    {
        QTextDocument document;
        rtf::loadBody(valueInFile(id, QStringLiteral("obsah")).toString(), document);
        return document.toPlainText();
    }

    void leaveRow() { controls->DBGrid1->setCurrentIndex(controls->DBGrid1->model()->index(1, 0)); }

    // One action of the editor's own context menu, by its name there.
    void triggerContextAction(const char* name)
    {
        std::unique_ptr<QMenu> menu(controls->DBRichEdit1->createStandardContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String(name)) {
                ASSERT_TRUE(action->isEnabled()) << name;
                action->trigger();
                return;
            }
        }
        FAIL() << "no action " << name;
    }

    void commitThroughInputMethod(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(controls->DBRichEdit1, &event);
    }

    void selectAllOfTheBody()
    {
        QTextCursor cursor = controls->DBRichEdit1->textCursor();
        cursor.select(QTextCursor::Document);
        controls->DBRichEdit1->setTextCursor(cursor);
    }

    void refuseBodies(const QString& body)
    {
        runInFile(QStringLiteral("CREATE TRIGGER odmitnout BEFORE UPDATE ON vorlin WHEN NEW.obsah LIKE '%%1%' "
                                 "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END")
                      .arg(body));
    }
};

}  // namespace

TEST_F(KeepingEdits, EveryKindOfBodyChangeWhileBrowsingIsSaved)
{
    struct Case {
        const char* source;
        std::function<void()> change;
        const char* expected;
    };
    const Case cases[] = {
        {"input method commit", [this] { commitThroughInputMethod(QStringLiteral("ó")); },
         "óKrajský soud"},
        {"cut", [this] { selectAllOfTheBody(); controls->DBRichEdit1->cut(); }, ""},
        {"context menu Delete",
         [this] {
             selectAllOfTheBody();
             triggerContextAction("edit-delete");
         },
         ""},
        {"context menu Cut",
         [this] {
             selectAllOfTheBody();
             triggerContextAction("edit-cut");
         },
         ""},
        {"undo after a saved edit",
         [this] {
             type(controls->DBRichEdit1, QStringLiteral("X"));
             controls->DBNavigator1->press(Nav::Post);
             ASSERT_EQ(query().state(), State::Browse);
             triggerContextAction("edit-undo");
         },
         "Krajský soud"},
        {"redo after an undo",
         [this] {
             type(controls->DBRichEdit1, QStringLiteral("X"));
             controls->DBNavigator1->press(Nav::Post);
             triggerContextAction("edit-undo");
             controls->DBNavigator1->press(Nav::Post);
             ASSERT_EQ(query().state(), State::Browse);
             triggerContextAction("edit-redo");
         },
         "XKrajský soud"},
        {"Ctrl+Z after Esc dropped the edit",
         [this] {
             controls->RichEditAlignCenter1->trigger();
             controls->DBRichEdit1->setFontWeight(QFont::Bold);
             type(controls->DBRichEdit1, QStringLiteral("X"));
             controls->DBNavigator1->press(Nav::Post);
             type(controls->DBRichEdit1, QStringLiteral("Y"));
             QTest::keyClick(controls->DBRichEdit1, Qt::Key_Escape);
             ASSERT_EQ(query().state(), State::Browse);
             QTextDocument stored;  // shown as stored, its formatting too
             rtf::loadBody(valueInFile(currentId(), QStringLiteral("obsah")).toString(), stored);
             EXPECT_EQ(rtf::write(*controls->DBRichEdit1->document()), rtf::write(stored));
             QTest::keyClick(controls->DBRichEdit1, Qt::Key_Z, Qt::ControlModifier);
         },
         "XYKrajský soud"},
        {"Ctrl+Z after Esc in the name box", [this] {
             controls->Jmeno_DBEdit->setFocus();
             type(controls->Jmeno_DBEdit, QStringLiteral("Y"));
             type(controls->DBRichEdit1, QStringLiteral("X"));
             QTest::keyClick(controls->Jmeno_DBEdit, Qt::Key_Escape);
             QTest::keyClick(controls->DBRichEdit1, Qt::Key_Escape);
             ASSERT_EQ(query().state(), State::Browse);
             QTest::keyClick(controls->Jmeno_DBEdit, Qt::Key_Z, Qt::ControlModifier);
             EXPECT_EQ(controls->Jmeno_DBEdit->text(), QStringLiteral("Adresa souduY"));
         },
         "Krajský soud"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        restartWithFreshStore();
        controls->DBRichEdit1->setFocus();
        controls->DBRichEdit1->moveCursor(QTextCursor::Start);
        const qint64 id = currentId();
        c.change();
        EXPECT_EQ(query().state(), State::Edit);
        leaveRow();
        EXPECT_EQ(query().state(), State::Browse);
        EXPECT_EQ(storedBody(id), QString::fromUtf8(c.expected));
    }
}

TEST_F(KeepingEdits, AnInputMethodLetterOnAnEmptyListStartsANewRowThatKeepsIt)
{
    start(false);
    controls->DBRichEdit1->setFocus();
    commitThroughInputMethod(QStringLiteral("ď"));
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_EQ(controls->DBRichEdit1->toPlainText(), QStringLiteral("ď"));
    controls->DBNavigator1->press(Nav::Post);
    EXPECT_EQ(rowsInFile(), 1);
    EXPECT_EQ(storedBody(currentId()), QStringLiteral("ď"));
}

TEST_F(KeepingEdits, AChangeTheRowCannotTakeIsUndoneInTheEditor)
{
    start();
    query().close();  // nothing to edit: the editor must not pretend otherwise
    controls->DBRichEdit1->setPlainText(QStringLiteral("neuložitelné"));  // as a drop of text would
    EXPECT_TRUE(controls->DBRichEdit1->toPlainText().isEmpty());
}

TEST_F(KeepingEdits, ATypedBodyIsSavedBeforeASearchASortAKindAndTheExit)
{
    struct Case {
        const char* next;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"search keystroke", [this] { type(controls->Jmeno_Edit, QStringLiteral("o")); }},
        {"title click", [this] { clickTitle(QStringLiteral("Druh")); }},
        {"kind click", [this] { controls->ListBox1->setCurrentRow(1); }},
        {"exit", [this] { EXPECT_TRUE(form->close()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.next);
        restartWithFreshStore();
        controls->DBRichEdit1->setFocus();
        controls->DBRichEdit1->moveCursor(QTextCursor::End);
        const qint64 id = currentId();
        type(controls->DBRichEdit1, QStringLiteral(" v Brně"));
        c.act();
        EXPECT_EQ(storedBody(id), QStringLiteral("Krajský soud v Brně"));
    }
}

TEST_F(KeepingEdits, ARefusedSaveKeepsTheRowInEditingAndTheSearchWaits)
{
    refuseBodies(QStringLiteral("refused"));
    start();
    controls->DBRichEdit1->setFocus();
    type(controls->DBRichEdit1, QStringLiteral("refused "));
    const db::Selection before = query().selection();
    {
        ModalAnswerer answerer;
        type(controls->Jmeno_Edit, QStringLiteral("x"));
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_TRUE(answerer.seen()[0].text.contains(QStringLiteral("database or disk is full")));
    }
    EXPECT_EQ(query().state(), State::Edit);
    EXPECT_EQ(query().selection(), before);
    EXPECT_TRUE(controls->DBRichEdit1->toPlainText().startsWith(QStringLiteral("refused ")));
    {
        ModalAnswerer answerer;
        clickTitle(QStringLiteral("Název"));
        EXPECT_EQ(answerer.seen().size(), 1);
    }
    EXPECT_EQ(query().state(), State::Edit);
    EXPECT_EQ(query().selection(), before);
}

TEST_F(KeepingEdits, ARefusedSaveAtExitAsksAndNoKeepsTheProgramRunning)
{
    refuseBodies(QStringLiteral("refused"));
    start();
    controls->DBRichEdit1->setFocus();
    type(controls->DBRichEdit1, QStringLiteral("refused "));
    {
        ModalAnswerer no([](const MessageBox::Shown& box) {
            return box.indexOf(box.icon == MessageBox::Warning ? MessageBox::No : MessageBox::Ok);
        });
        EXPECT_FALSE(form->close());
        ASSERT_EQ(no.seen().size(), 2);
        EXPECT_EQ(no.seen()[0].icon, MessageBox::Critical);
        EXPECT_EQ(no.seen()[1].icon, MessageBox::Warning);
        EXPECT_TRUE(no.seen()[1].text.contains(QStringLiteral("ukončit")));
    }
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(query().state(), State::Edit);
    {
        ModalAnswerer yes([](const MessageBox::Shown& box) {
            return box.indexOf(box.icon == MessageBox::Warning ? MessageBox::Yes : MessageBox::Ok);
        });
        EXPECT_TRUE(form->close());
    }
}

TEST_F(KeepingEdits, AMoveAfterADroppedNewRowLandsOnTheRowTheUserChose)
{
    addRows({{"A", "", "a", ""}, {"B", "", "b", ""}, {"C", "", "c", ""}, {"D", "", "d", ""}});
    start(false);
    QTableView* grid = controls->DBGrid1;
    auto current = [this] { return query().value(QStringLiteral("nazev")).toString(); };

    grid->setCurrentIndex(grid->model()->index(1, 0));
    controls->DBNavigator1->press(Nav::Insert);  // A * B C D
    grid->setCurrentIndex(grid->model()->index(3, 0));  // the row showing C
    EXPECT_EQ(current(), QStringLiteral("C"));
    EXPECT_EQ(query().recordCount(), 4);

    grid->setCurrentIndex(grid->model()->index(1, 0));
    controls->DBNavigator1->press(Nav::Insert);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);  // from the new row to the one below it
    EXPECT_EQ(current(), QStringLiteral("B"));

    controls->DBNavigator1->press(Nav::Insert);
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(current(), QStringLiteral("A"));

    grid->setCurrentIndex(grid->model()->index(2, 0));
    controls->DBNavigator1->press(Nav::Insert);  // A B * C D
    query().moveBy(1);
    EXPECT_EQ(current(), QStringLiteral("C"));
    {
        ModalAnswerer ok(ModalAnswerer::press(MessageBox::Ok));
        controls->DBNavigator1->press(Nav::Delete);
    }
    TearDown();  // the window goes before its data module
    openStore();
    EXPECT_EQ(listedNames(), (QStringList{"A", "B", "D"}));
}

// Esc on a new row: untouched, it goes without a word; with typed text,
// only after a "Ano".
TEST_F(KeepingEdits, AnAddedRowLeftUntouchedIsNotStoredAndATypedOneGoesOnlyWhenConfirmed)
{
    start();
    controls->DBNavigator1->press(Nav::Insert);
    leaveRow();
    EXPECT_EQ(rowsInFile(), 2);
    EXPECT_EQ(query().recordCount(), 2);
    controls->DBNavigator1->press(Nav::Insert);
    type(controls->DBRichEdit1, QStringLiteral("nový text"));
    ModalAnswerer no(ModalAnswerer::press(MessageBox::No));
    QTest::keyClick(controls->DBRichEdit1, Qt::Key_Escape);
    ASSERT_EQ(no.seen().size(), 1);
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_EQ(controls->DBRichEdit1->toPlainText(), QStringLiteral("nový text"));
}

TEST_F(KeepingEdits, AnInputMethodLetterInAFieldBoxIsSaved)
{
    struct Case {
        const char* field;
        std::function<QWidget*()> box;
        const char* expected;
    };
    const Case cases[] = {
        {"nazev", [this] { return static_cast<QWidget*>(controls->Jmeno_DBEdit); }, "Adresa souduň"},
        {"druh", [this] { return static_cast<QWidget*>(controls->DBComboBox1->lineEdit()); }, "adresaň"},
        {"tag", [this] { return static_cast<QWidget*>(controls->Tag_DBEdit); }, "soudň"},
    };
    for (const Case& c : cases) {
        restartWithFreshStore();
        const qint64 id = currentId();
        QWidget* box = c.box();
        box->setFocus();
        QInputMethodEvent event;
        event.setCommitString(QStringLiteral("ň"));
        QApplication::sendEvent(box, &event);
        leaveRow();
        EXPECT_EQ(valueInFile(id, QString::fromUtf8(c.field)).toString(), QString::fromUtf8(c.expected)) << c.field;
    }
}

TEST_F(KeepingEdits, AChangeThroughTheAccessibilityInterfaceIsStored)
{
    // What a screen reader or a dictation tool does to a field: the same
    // calls the desktop's accessibility bridge makes.
    start();
    struct Field {
        QWidget* widget;
        const char* column;
    };
    const Field fields[] = {
        {controls->Jmeno_DBEdit, "nazev"}, {controls->Tag_DBEdit, "tag"}, {controls->DBComboBox1->lineEdit(), "druh"}};
    for (const Field& field : fields) {
        SCOPED_TRACE(field.column);
        const qint64 id = currentId();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field.widget);
        ASSERT_TRUE(accessible && accessible->editableTextInterface());
        const int length = accessible->textInterface()->characterCount();
        accessible->editableTextInterface()->replaceText(0, length, QStringLiteral("diktováno"));
        EXPECT_EQ(query().state(), State::Edit);
        EXPECT_TRUE(controls->DBNavigator1->button(Nav::Post)->isEnabled()) << "Uložit stayed grey";
        controls->DBNavigator1->press(Nav::Post);
        EXPECT_EQ(valueInFile(id, QString::fromLatin1(field.column)).toString(), QStringLiteral("diktováno"));
    }

    // The alignment buttons, pressed through it, align.
    QWidget* centre = controls->ToolBar1->widgetForAction(controls->RichEditAlignCenter1);
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(centre);
    ASSERT_TRUE(button && button->actionInterface());
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Na střed"));
    for (const QString& action : {QAccessibleActionInterface::toggleAction(), QAccessibleActionInterface::pressAction()}) {
        SCOPED_TRACE(action.toStdString());
        if (!button->actionInterface()->actionNames().contains(action))
            continue;
        controls->DBRichEdit1->selectAll();
        controls->RichEditAlignLeft1->trigger();
        button->actionInterface()->doAction(action);
        EXPECT_EQ(controls->DBRichEdit1->alignment(), Qt::AlignHCenter);
    }
}

// A colleague's snippet appears, the user opens it at once and types while
// another change of the colleague's is read in: every key stays, in the box
// and in what "Uložit" stores, wherever the keys went.
TEST_F(KeepingEdits, KeysTypedWhileAColleaguesChangeArrivesAreAllKept)
{
    struct Case {
        const char* typedInto;
        const char* column;
        std::function<void()> focus;  // after the click on the row
    };
    const auto selectAllOf = [](QLineEdit* box) {
        box->setFocus();
        box->selectAll();
    };
    const Case cases[] = {
        {"the list", "nazev", [] {}},
        {"Název", "nazev", [&] { selectAllOf(controls->Jmeno_DBEdit); }},
        {"Klíčová slova", "tag", [&] { selectAllOf(controls->Tag_DBEdit); }},
    };
    useServer();
    start();
    const QString typed = QStringLiteral("Moje verze");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typedInto);
        const QString theirs = QStringLiteral("Kolegův ") + QString::fromUtf8(c.typedInto);
        runInFile(QStringLiteral("INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('%1', 'adresa', 'x', '')").arg(theirs));
        for (int waited = 0; !listedNames().contains(theirs) && waited < 5000; waited += 10)
            QTest::qWait(10);
        const int row = int(listedNames().indexOf(theirs));
        ASSERT_GE(row, 0);
        ui::DBGrid* grid = controls->DBGrid1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
        const qint64 id = currentId();
        c.focus();
        for (int key = 0; key < typed.size(); ++key) {
            if (key == 2)  // returns once the program heard of it
                runInFile(QStringLiteral("UPDATE vorlin SET tag = tag || '+' WHERE nazev = 'Podpis'"));
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, typed.mid(key, 1), Qt::NoModifier);
            QTest::qWait(20);
        }
        controls->DBNavigator1->press(Nav::Post);
        EXPECT_EQ(valueInFile(id, QString::fromUtf8(c.column)).toString(), typed);
    }
}
