// The delayed Ctrl+V on a real X server: the program copies a snippet and,
// after the countdown, types Ctrl+V through XTest into the editor of another
// process, which takes the text from this program's clipboard.
#include "PasteTarget.h"
#include "app/ClipboardKeeper.h"
#include "platform/XTestKeyboard.h"
#include "ui/MainWindowFixture.h"

#include <QClipboard>
#include <QGuiApplication>

#include <csignal>

using namespace vorlin;
using namespace vorlin::test;

namespace {

const QString kBody = QStringLiteral("Krajský soud v Brně\nŘízení č. 12 – Žďár");

class DelayedPasteX11 : public MainWindow {
protected:
    void SetUp() override
    {
        addRows({{"Soud", "adresa", kBody, "soud"}});
        start(false);
        controls->CheckBox3->setChecked(true);
    }

    MainWindowServices services() override { return {.keyboard = keyboard}; }

    void TearDown() override
    {
        runTool(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("shift")});
        runTool(QStringLiteral("setxkbmap"), {QStringLiteral("us")});
        MainWindow::TearDown();
    }

    // Copies with a one-second countdown, brings up the other program, and
    // gives what arrives there.
    QString pasteIntoTarget(const std::function<void()>& beforeTheKeystroke = {})
    {
        controls->Edit1->setText(QStringLiteral("1"));
        controls->Button3->click();
        EXPECT_TRUE(target.start()) << "the other program's window did not come up";
        if (beforeTheKeystroke)
            beforeTheKeystroke();
        const auto change = target.nextChange(5000);
        return change ? change->text : QStringLiteral("(nothing arrived)");
    }

    platform::XTestKeyboard keyboard;
    PasteTarget target;
};

}  // namespace

TEST_F(DelayedPasteX11, TheOtherProgramReceivesTheSnippetsText)
{
    EXPECT_EQ(pasteIntoTarget(), kBody);
}

TEST_F(DelayedPasteX11, AShiftTheUserStillHoldsDoesNotSpoilTheKeystroke)
{
    const QString pasted = pasteIntoTarget(
        [] { runTool(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QStringLiteral("shift")}); });
    EXPECT_EQ(pasted, kBody);
}

TEST_F(DelayedPasteX11, ALayoutWithoutALatinVStillPastes)
{
    int status = -1;
    runTool(QStringLiteral("setxkbmap"), {QStringLiteral("ru")}, &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(pasteIntoTarget(), kBody);
    // The borrowed key gets its old emptiness back.
    QTest::qWait(800);
    const QByteArray map = runTool(QStringLiteral("xmodmap"), {QStringLiteral("-pk")});
    ASSERT_TRUE(map.contains("Cyrillic")) << "no keyboard map read";
    EXPECT_FALSE(map.contains("(v)")) << "a spare key still carries v";
}

TEST_F(DelayedPasteX11, AnotherProgramReadsEveryFormatOffered)
{
    controls->CheckBox3->setChecked(false);
    controls->Button3->click();
    const auto read = [](const char* target) {
        return runTool(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                                 QStringLiteral("-t"), QString::fromLatin1(target),
                                                 QStringLiteral("-o")});
    };
    const QList<QByteArray> targets = read("TARGETS").split('\n');
    for (const char* wanted : {"text/rtf", "text/richtext", "text/plain", "UTF8_STRING", "text/plain;charset=utf-8"})
        EXPECT_TRUE(targets.contains(wanted)) << wanted << " not offered: " << read("TARGETS").constData();
    const QByteArray rtf = read("text/rtf");
    EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\ansicpg1250"));
    EXPECT_TRUE(rtf.contains("Krajsk\\'fd soud v Brn\\'ec"));
    EXPECT_EQ(read("text/richtext"), rtf);
    EXPECT_EQ(QString::fromUtf8(read("UTF8_STRING")), kBody);
    EXPECT_EQ(QString::fromUtf8(read("text/plain;charset=utf-8")), kBody);
}

TEST_F(DelayedPasteX11, TheLastCopyOutlivesTheProgram)
{
    controls->CheckBox3->setChecked(false);
    controls->Button3->click();
    // No clipboard manager runs here: the program's keeper takes the copy.
    const qint64 keeper = keepClipboardAfterExit(QStringLiteral(VORLIN_EXE_DIR "vorlin"));
    ASSERT_GT(keeper, 0);
    ASSERT_TRUE(QTest::qWaitFor([] { return !QGuiApplication::clipboard()->ownsClipboard(); }, 5000));
    const auto read = [](const char* target) {
        return runTool(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                                 QStringLiteral("clipboard"), QStringLiteral("-t"), QString::fromLatin1(target)});
    };
    EXPECT_EQ(QString::fromUtf8(read("UTF8_STRING")), kBody);
    EXPECT_TRUE(read("text/rtf").startsWith("{\\rtf1"));
    // Another program's copy ends the keeper.
    QProcess other;
    other.start(QStringLiteral("xclip"), {QStringLiteral("-i"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
    other.write("jiný text");
    other.closeWriteChannel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::kill(pid_t(keeper), 0) != 0; }, 5000)) << "the keeper lives on";
    other.kill();
    other.waitForFinished();
}
