// The copy button and the Ctrl+V typed after the countdown, with a keyboard
// that records what would be typed.
#include "support/ModalAnswerer.h"
#include "support/RecordingKeyboard.h"
#include "ui/MainWindowFixture.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>

using namespace vorlin;
using namespace vorlin::test;

namespace {

const QStringList kCtrlV{"Ctrl+V"};

class DelayedPaste : public MainWindow {
protected:
    void SetUp() override
    {
        start();
        controls->CheckBox3->setChecked(true);
    }

    MainWindowServices services() override { return {.keyboard = keyboard}; }

    void press(const QString& seconds)
    {
        controls->Edit1->setText(seconds);
        controls->Button3->click();
    }

    RecordingKeyboard keyboard;
};

}  // namespace

TEST_F(DelayedPaste, TheCopyButtonPutsTheWholeBodyOnTheClipboardAsRtfAndText)
{
    controls->CheckBox3->setChecked(false);
    controls->DBRichEdit1->moveCursor(QTextCursor::End);
    controls->Button3->click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("Krajský soud"));
    const QByteArray rtf = data->data(QStringLiteral("text/rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\ansicpg1250"));
    EXPECT_TRUE(rtf.contains("Krajsk\\'fd soud"));
    EXPECT_EQ(data->data(QStringLiteral("text/richtext")), rtf);
    // The editor shows the start of the body with nothing selected.
    EXPECT_FALSE(controls->DBRichEdit1->textCursor().hasSelection());
    EXPECT_EQ(controls->DBRichEdit1->textCursor().position(), 0);
    EXPECT_FALSE(controls->Timer1->isEnabled());  // unticked: only copied
    QTest::qWait(50);
    EXPECT_TRUE(keyboard.calls.isEmpty());
    EXPECT_EQ(query().state(), db::Query::State::Browse);  // copying is no edit
}

TEST_F(DelayedPaste, CtrlVFollowsOnceWhenTheCountdownEnds)
{
    QElapsedTimer clock;
    clock.start();
    press(QStringLiteral("1"));
    EXPECT_EQ(controls->Timer1->interval(), 1000u);
    EXPECT_TRUE(controls->Timer1->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !keyboard.calls.isEmpty(); }, 3000));
    EXPECT_GE(clock.elapsed(), 990);
    EXPECT_EQ(keyboard.calls, kCtrlV);
    EXPECT_FALSE(controls->Timer1->isEnabled());
    QTest::qWait(1200);
    EXPECT_EQ(keyboard.calls, kCtrlV);  // one keystroke per arming
}

TEST_F(DelayedPaste, WhereNothingCanTypeTheStatusSaysToPressCtrlVByHand)
{
    keyboard.typing = false;
    press(QStringLiteral("0x0"));  // due at once
    controls->Timer1->setInterval(10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !keyboard.calls.isEmpty(); }, 3000));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Krajský soud"));
    EXPECT_TRUE(controls->StatusLabel->text().contains(QStringLiteral("vložte ho klávesami Ctrl+V"))) << controls->StatusLabel->text().toStdString();
    press(QStringLiteral("1"));  // the next copy starts afresh
    EXPECT_TRUE(controls->StatusLabel->text().isEmpty());
}

TEST_F(DelayedPaste, PressingAgainWithTheSameNumberKeepsTheCountdownAnotherNumberRestartsIt)
{
    QElapsedTimer clock;
    clock.start();
    press(QStringLiteral("1"));
    QTest::qWait(500);
    press(QStringLiteral("1"));
    controls->CheckBox3->setChecked(false);  // unticking does not cancel
    ASSERT_TRUE(QTest::qWaitFor([&] { return !keyboard.calls.isEmpty(); }, 3000));
    EXPECT_LT(clock.elapsed(), 1400);

    keyboard.calls.clear();
    controls->CheckBox3->setChecked(true);
    clock.restart();
    press(QStringLiteral("2"));
    QTest::qWait(500);
    press(QStringLiteral("1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !keyboard.calls.isEmpty(); }, 3000));
    EXPECT_GE(clock.elapsed(), 1450);
    EXPECT_LT(clock.elapsed(), 1950);
    EXPECT_EQ(keyboard.calls, kCtrlV);
}

TEST_F(DelayedPaste, IntervalsFromTheNumberBox)
{
    struct Case {
        const char* text;
        std::uint32_t interval;
        bool counting;
    };
    const Case cases[] = {
        {"0", 0u, false},                  // armed, never fires
        {"150", 150000u, true},            // above the spinner's range: used as typed
        {"-1", 4294966296u, true},         // unsigned: no keystroke in any practical time
        {" +$A", 10000u, true},            // blanks, a sign and hexadecimal are numbers too
        {"0x3", 3000u, true},
    };
    for (const Case& c : cases) {
        controls->Timer1->setEnabled(false);
        press(QString::fromUtf8(c.text));
        EXPECT_TRUE(controls->Timer1->isEnabled()) << c.text;
        EXPECT_EQ(controls->Timer1->interval(), c.interval) << c.text;
        EXPECT_EQ(controls->Timer1->isCounting(), c.counting) << c.text;
    }
    QTest::qWait(100);
    EXPECT_TRUE(keyboard.calls.isEmpty());
}

TEST_F(DelayedPaste, ATextThatIsNoNumberIsReportedAfterTheCopy)
{
    QGuiApplication::clipboard()->clear();
    controls->Edit1->setText(QStringLiteral("pět"));
    ModalAnswerer answerer;
    controls->Button3->click();
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("'pět' is not a valid integer value."));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Krajský soud"));
    EXPECT_FALSE(controls->Timer1->isEnabled());
}

TEST_F(DelayedPaste, NoKeystrokeAfterTheProgramEnds)
{
    press(QStringLiteral("1"));
    form->FormDestroy();
    form.reset();
    QTest::qWait(1300);
    EXPECT_TRUE(keyboard.calls.isEmpty());
}

// A snippet with fields is filled in through the form before the copy: Enter
// takes checked values, Ctrl+Enter what was typed, Esc copies nothing; the
// next form starts with the values kept.
TEST_F(DelayedPaste, ASnippetWithFieldsIsFilledInBeforeTheCopy)
{
    controls->CheckBox3->setChecked(false);
    query().edit();
    query().setValue(QStringLiteral("obsah"), QStringLiteral("Dne {{datum: slovy}} {{strana: žalobce|žalovaný}}, IČO {{IČO}}, {{{{x}}"));
    query().post();
    struct Case {
        const char* date;
        const char* companyId;
        bool forced;  // Ctrl+Enter over what the check refused
        bool escaped;
        const char* copied;
        const char* startedWith;  // the IČO line, from the run before
    };
    const Case cases[] = {
        {"3. 12. 2026", "6947", false, false, "Dne 3. prosince 2026 žalobce, IČO 00006947, {{x}}", ""},
        {"3. 12. 2026", "123", false, true, "před", "6947"},
        {"1.1.2027", "25596642", true, false, "Dne 1. ledna 2027 žalobce, IČO 25596642, {{x}}", "6947"},
    };
    for (const Case& c : cases) {
        QGuiApplication::clipboard()->setText(QStringLiteral("před"));
        QString startedWith;
        bool stayedOnEnter = false;
        ModalAnswerer answerer([&](QWidget* dialog) {
            QLineEdit* date = nullptr;
            QLineEdit* companyId = nullptr;
            for (QLineEdit* line : dialog->findChildren<QLineEdit*>()) {
                if (line->accessibleName() == QStringLiteral("datum"))
                    date = line;
                if (line->accessibleName() == QStringLiteral("IČO"))
                    companyId = line;
            }
            ASSERT_TRUE(date && companyId);
            startedWith = companyId->text();
            date->setText(QString::fromUtf8(c.date));
            companyId->setText(QString::fromUtf8(c.companyId));
            if (c.escaped) {
                QTest::keyClick(companyId, Qt::Key_Escape);
                return;
            }
            QTest::keyClick(companyId, Qt::Key_Return);
            stayedOnEnter = dialog->isVisible();
            if (stayedOnEnter)
                QTest::keyClick(companyId, Qt::Key_Return, Qt::ControlModifier);
        });
        controls->Button3->click();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(c.copied)) << c.companyId;
        EXPECT_EQ(startedWith, QString::fromUtf8(c.startedWith)) << c.companyId;
        EXPECT_EQ(stayedOnEnter, c.forced) << c.companyId;
    }
}
