// The preview window over the same row as the main window's editor.
#include "rtf/Rtf.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"
#include "ui/preview/Nahled_Unit.h"

#include <QClipboard>
#include <QFontDialog>
#include <QTextBlock>

using namespace vorlin;
using namespace vorlin::test;
using State = db::Query::State;
using Nav = ui::DBNavigator;

namespace {

// The preview's controls.
struct PreviewControls : FoundControls {
    using FoundControls::FoundControls;
    ui::DBRichEdit* DBRichEdit1 = find<ui::DBRichEdit>("Nahled_DBRichEdit1");
    QToolBar* ToolBar1 = find<QToolBar>("ToolBar1");
    QAction* RichEditAlignLeft1 = find<QAction>("RichEditAlignLeft1");
    QAction* RichEditBold1 = find<QAction>("RichEditBold1");
    QAction* ToolButton8 = find<QAction>("ToolButton8");
    QPushButton* Button1 = find<QPushButton>("Button1");
    QPushButton* Button2 = find<QPushButton>("Button2");
};

class Preview : public MainWindow {
protected:
    void open(bool withRows = true)
    {
        start(withRows);
        controls->Button4->click();
        QApplication::processEvents();
    }

    // As start-up joins them.
    void windowsMadeBeforeCreation() override
    {
        preview = std::make_unique<TNahled_Form>(*dm, form->fontDialog());
        preview->setHome(form.get());
        shown = std::make_unique<PreviewControls>(preview.get());
        QObject::connect(preview.get(), &TNahled_Form::newRowBodyLeft, form.get(), &TVorlin_Form::takeBody);
        QObject::connect(form.get(), &TVorlin_Form::previewRequested, preview.get(), &TNahled_Form::showWindow);
    }

    void TearDown() override
    {
        shown.reset();
        preview.reset();
        MainWindow::TearDown();
    }

    QString storedBody(qint64 id)
    {
        QTextDocument document;
        rtf::loadBody(valueInFile(id, QStringLiteral("obsah")).toString(), document);
        return document.toPlainText();
    }

    qint64 currentId() { return query().value(QStringLiteral("ID")).toLongLong(); }

    void select(int from, int to)
    {
        QTextCursor cursor = shown->DBRichEdit1->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        shown->DBRichEdit1->setTextCursor(cursor);
    }

    static ModalAnswerer::BoxAnswer answer(MessageBox::Button button) { return ModalAnswerer::press(button); }

    std::unique_ptr<TNahled_Form> preview;
    std::unique_ptr<PreviewControls> shown;
};

}  // namespace

TEST_F(Preview, ShowsTheMainWindowsRowAndFollowsIt)
{
    open();
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Náhled textu"));
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(shown->DBRichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(shown->DBRichEdit1->toPlainText(), QStringLiteral("Krajský soud"));
    controls->DBGrid1->setCurrentIndex(controls->DBGrid1->model()->index(1, 0));
    EXPECT_EQ(shown->DBRichEdit1->toPlainText(), QStringLiteral("JUDr. Jan Novák"));
    EXPECT_EQ(shown->DBRichEdit1->toPlainText(), controls->DBRichEdit1->toPlainText());
    // Typing in the preview reaches the main window's editor and the row.
    shown->DBRichEdit1->setFocus();
    shown->DBRichEdit1->moveCursor(QTextCursor::End);
    type(shown->DBRichEdit1, QStringLiteral(", advokát"));
    const qint64 id = currentId();
    controls->DBGrid1->setCurrentIndex(controls->DBGrid1->model()->index(0, 0));
    EXPECT_EQ(storedBody(id), QStringLiteral("JUDr. Jan Novák, advokát"));
}

TEST_F(Preview, ToolBarAndButtons)
{
    open();
    const QList<QAction*> actions = shown->ToolBar1->actions();
    QStringList captions;
    for (QAction* action : actions)
        if (!action->isSeparator() && !action->text().isEmpty())
            captions << action->text();
    EXPECT_EQ(captions.mid(0, 7), (QStringList{"Align &Left", "&Center", "Align &Right", "&Bold", "&Italic",
                                               "&Underline", "Písmo"}));
    EXPECT_EQ(shown->RichEditBold1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    EXPECT_TRUE(shown->RichEditAlignLeft1->isChecked());
    EXPECT_EQ(shown->Button1->text(), QStringLiteral("sp.zn. Nejvyšší soud"));
    EXPECT_GE(shown->Button1->width(), 114);
    EXPECT_GE(shown->Button1->width(), shown->Button1->sizeHint().width());  // the caption fits
    EXPECT_EQ(shown->Button2->text(), QStringLiteral("======"));
    EXPECT_GE(shown->Button2->width(), 64);
    // Bold on a selection, pressed while the selection is bold.
    select(0, 7);
    shown->RichEditBold1->trigger();
    EXPECT_EQ(query().state(), State::Edit);
    select(1, 3);
    EXPECT_TRUE(shown->RichEditBold1->isChecked());
    select(9, 10);
    EXPECT_FALSE(shown->RichEditBold1->isChecked());
}

TEST_F(Preview, TheCourtReferenceGoesInFrontOfTheSelectionWhichStays)
{
    open();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("USNESENÍ\r\nNejvyššího soudu ze dne 27. 5. 2010, sp. zn. 25 Cdo 1234/2008"));
    select(12, 12);
    QTest::keyClick(shown->DBRichEdit1, Qt::Key_Exclam);  // a step of the user's own
    select(8, 12);  // "soud"
    shown->Button1->click();
    const QString expected = QStringLiteral("Krajský usnesení Nejvyššího soudu sp. zn. 25 Cdo 1234/2008soud!");
    EXPECT_EQ(shown->DBRichEdit1->toPlainText(), expected);
    EXPECT_EQ(shown->DBRichEdit1->textCursor().position(), 8 + 50);  // behind the insertion
    EXPECT_EQ(query().state(), State::Edit);  // the row took the change
    // The insertion is one step to undo; the user's steps before it stay.
    QTextDocument* document = shown->DBRichEdit1->document();
    document->undo();
    EXPECT_EQ(document->toPlainText(), QStringLiteral("Krajský soud!"));
    ASSERT_TRUE(document->isUndoAvailable());
    document->redo();
    // Typed just before the insertion, at its place: still the user's own step.
    QTest::keyClicks(shown->DBRichEdit1, QStringLiteral(" slovo"));
    shown->Button1->click();
    document->undo();
    EXPECT_EQ(document->toPlainText(), expected.left(58) + QStringLiteral(" slovo") + expected.mid(58));
    document->undo();
    EXPECT_EQ(document->toPlainText(), expected);
    const qint64 id = currentId();
    controls->DBGrid1->setCurrentIndex(controls->DBGrid1->model()->index(1, 0));
    EXPECT_EQ(storedBody(id), expected);
}

TEST_F(Preview, AHeadingCopiedOnLinuxIsJoinedAsOneFromWindows)
{
    open();
    for (const char* breakText : {"\n", "\r"}) {
        SCOPED_TRACE(breakText);
        QGuiApplication::clipboard()->setText(QStringLiteral("USNESENÍ%1Nejvyššího soudu ze dne 27. 5. 2010, sp. zn. 25 Cdo 1234/2008")
                                                  .arg(QString::fromLatin1(breakText)));
        shown->DBRichEdit1->clear();
        shown->Button1->click();
        EXPECT_EQ(shown->DBRichEdit1->toPlainText(), QStringLiteral("usnesení Nejvyššího soudu sp. zn. 25 Cdo 1234/2008"));
    }
}

TEST_F(Preview, TheSeparatorIsTwoBreaksThirtyNineEqualsSignsAndABreak)
{
    open();
    shown->DBRichEdit1->moveCursor(QTextCursor::End);
    shown->Button2->click();
    EXPECT_EQ(TNahled_Form::kSeparator.size(), 45);
    const qint64 id = currentId();
    controls->DBNavigator1->press(Nav::Post);
    EXPECT_EQ(storedBody(id), QStringLiteral("Krajský soud\n\n") + QString(39, u'=') + QStringLiteral("\n"));
}

TEST_F(Preview, ClosingWhileBrowsingAsksNothingAndChangesNothing)
{
    open();
    const QString before = valueInFile(currentId(), QStringLiteral("obsah")).toString();
    QGuiApplication::clipboard()->clear();
    shown->Button1->click();  // the court helper with nothing to insert
    ModalAnswerer answerer;
    EXPECT_TRUE(preview->close());
    EXPECT_TRUE(answerer.seen().isEmpty());
    EXPECT_FALSE(preview->isVisible());
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(valueInFile(currentId(), QStringLiteral("obsah")).toString(), before);
    controls->Button4->click();  // shown again
    EXPECT_TRUE(preview->isVisible());
}

TEST_F(Preview, ClosingAnEditedRowAsksAndSavesOnYesOnly)
{
    for (const auto button : {MessageBox::No, MessageBox::Yes}) {
        restartWithFreshStore();
        preview = std::make_unique<TNahled_Form>(*dm, form->fontDialog());
        shown = std::make_unique<PreviewControls>(preview.get());
        preview->showWindow();
        shown->DBRichEdit1->setFocus();
        shown->DBRichEdit1->moveCursor(QTextCursor::End);
        type(shown->DBRichEdit1, QStringLiteral(" v Brně"));
        const qint64 id = currentId();
        ModalAnswerer answerer(answer(button));
        EXPECT_TRUE(preview->close());
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("Chcete změny uložit?."));
        EXPECT_EQ(answerer.seen()[0].icon, MessageBox::Warning);
        if (button == MessageBox::Yes) {
            EXPECT_EQ(query().state(), State::Browse);
            EXPECT_EQ(storedBody(id), QStringLiteral("Krajský soud v Brně"));
        } else {
            EXPECT_EQ(query().state(), State::Edit);
            EXPECT_EQ(storedBody(id), QStringLiteral("Krajský soud"));
            EXPECT_EQ(controls->DBRichEdit1->toPlainText(), QStringLiteral("Krajský soud v Brně"));
        }
    }
}

TEST_F(Preview, ClosingANewRowHandsItsFormattedBodyToTheMainEditor)
{
    open();
    controls->DBNavigator1->press(Nav::Insert);
    QTextCursor cursor(shown->DBRichEdit1->document());
    for (int i = 0; i < 2000; ++i) {
        QTextCharFormat format;
        format.setFontWeight(i % 2 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(i % 3 == 0);
        format.setForeground(QColor(i % 256, 0, 128));
        format.setFontPointSize(8 + i % 7);
        cursor.insertText(QStringLiteral("Odstavec %1 s českými znaky ěščřžýáíé. ").arg(i), format);
        if (i % 10 == 9)
            cursor.insertBlock();
    }
    ModalAnswerer answerer;
    EXPECT_TRUE(preview->close());
    EXPECT_TRUE(answerer.seen().isEmpty());
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_EQ(rtf::write(*controls->DBRichEdit1->document()), rtf::write(*shown->DBRichEdit1->document()));
    // Once more: the main editor's document is replaced a second time.
    controls->Button4->click();
    shown->DBRichEdit1->moveCursor(QTextCursor::End);
    type(shown->DBRichEdit1, QStringLiteral(" Konec."));
    EXPECT_TRUE(preview->close());
    EXPECT_TRUE(controls->DBRichEdit1->toPlainText().endsWith(QStringLiteral(" Konec.")));
    controls->DBNavigator1->press(Nav::Post);
    EXPECT_TRUE(storedBody(currentId()).startsWith(QStringLiteral("Odstavec 0 s českými")));
}

// Closing with "Ano": a refused write keeps the window open with the edit; a
// colleague's change meanwhile asks the main window's question, once.
TEST_F(Preview, ASaveThatFailsOrMeetsAColleaguesChangeLosesNothing)
{
    struct Case {
        const char* meanwhile;  // SQL run while the user types
        const char* button;     // pressed in the second box
        const char* secondBox;  // a part of its text
        bool closes;
        const char* storedBody;
    };
    const Case cases[] = {
        {"CREATE TRIGGER odmitnout BEFORE UPDATE ON vorlin BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END",
         "", "database or disk is full", false, "Krajský soud"},
        {"UPDATE vorlin SET obsah = 'verze kolegy' WHERE \"ID\" = %1", "Přepsat mou verzí",
         "mezitím změnil jiný uživatel", true, "Krajský soudx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        restartWithFreshStore();
        preview = std::make_unique<TNahled_Form>(*dm, form->fontDialog());
        shown = std::make_unique<PreviewControls>(preview.get());
        preview->showWindow();
        const qint64 id = currentId();
        shown->DBRichEdit1->setFocus();
        shown->DBRichEdit1->moveCursor(QTextCursor::End);
        type(shown->DBRichEdit1, QStringLiteral("x"));
        runInFile(QString::fromUtf8(c.meanwhile).replace(QStringLiteral("%1"), QString::number(id)));
        ModalAnswerer answerer([&](const MessageBox::Shown& box) {
            if (box.text == QStringLiteral("Chcete změny uložit?."))
                return box.indexOf(MessageBox::Yes);
            if (box.indexOf(QString::fromUtf8(c.button)) >= 0)
                return box.indexOf(QString::fromUtf8(c.button));
            return box.indexOf(MessageBox::Ok);
        });
        EXPECT_EQ(preview->close(), c.closes);
        ASSERT_EQ(answerer.seen().size(), 2);
        EXPECT_TRUE(answerer.seen()[1].text.contains(QString::fromUtf8(c.secondBox))) << answerer.seen()[1].text.toStdString();
        EXPECT_EQ(query().state(), c.closes ? State::Browse : State::Edit);
        EXPECT_EQ(storedBody(id), QString::fromUtf8(c.storedBody));
        if (!c.closes)
            EXPECT_EQ(shown->DBRichEdit1->toPlainText(), QStringLiteral("Krajský soudx"));
    }
}

TEST_F(Preview, TheFontButtonOnAnEmptyListStartsANewRow)
{
    open(false);
    ModalAnswerer accept([](QWidget* dialog) {
        auto* fonts = dialog->findChild<QFontDialog*>();
        ASSERT_NE(fonts, nullptr);
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPointSize(15);
        fonts->setCurrentFont(font);
        static_cast<QDialog*>(dialog)->accept();
    });
    shown->ToolButton8->trigger();
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_EQ(shown->DBRichEdit1->currentCharFormat().fontPointSize(), 15);
    EXPECT_EQ(form->fontDialog().font().size, 15);  // the one dialog of both windows
}

TEST_F(Preview, ADoubleClickOnTheCurrentRowOpensThePreviewWithoutAnEdit)
{
    open();
    preview->hide();
    form->show();
    QWidget* viewport = controls->DBGrid1->viewport();
    const QPoint onCurrentRow = controls->DBGrid1->visualRect(controls->DBGrid1->currentIndex()).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, onCurrentRow);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, onCurrentRow);
    QTest::qWait(3 * QApplication::doubleClickInterval());
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->focusWidget(), shown->DBRichEdit1) << "the preview opened without the focus in its editor";
    EXPECT_EQ(query().state(), State::Browse) << "the double click started an edit";
    // Unchanged, it closes without a question.
    ModalAnswerer answerer;
    preview->close();
    EXPECT_TRUE(answerer.seen().isEmpty());
}
