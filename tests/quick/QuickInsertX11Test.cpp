// The quick insertion as the user meets it on a real X server: the shortcut
// pressed in another program's window opens the pop-up, the typed words find
// the snippet, Enter puts it into that program, and the clipboard holds
// afterwards what it held before.
#include "PasteTarget.h"
#include "app/QuickInsert.h"
#include "platform/X11DesktopWindows.h"
#include "platform/X11GlobalShortcut.h"
#include "platform/XTestKeyboard.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"
#include "ui/quick/QuickInsertPopup.h"
#include "ui/settings/About_Unit.h"

#include <QKeySequenceEdit>
#include <QLabel>
#include <QListView>
#include <QMap>
#include <QSignalSpy>

using namespace vorlin;
using namespace vorlin::test;

namespace {

const QString kBody = QStringLiteral("Mgr. Petr Čížek, advokát\nVeveří 12, Brno");

class QuickInsertX11 : public MainWindow {
protected:
    void SetUp() override
    {
        addRows({{"Čížek, advokát", "adresa", "{\\rtf1\\ansi\\ansicpg1250 Mgr. Petr \\b \\'c8\\'ed\\'9eek\\b0 , advok\\'e1t\\par "
                                              "Veve\\'f8\\'ed 12, Brno}", "brno"},
                 {"Podpis", "podpis", "JUDr. Jan Novák", "konec"},
                 {"Lhůta k vyjádření", "petit", "do {{lhůta: 15 dnů od doručení}}", "lhuta"}});
        start(false);
        quick = std::make_unique<QuickInsert>(*dm, *kindsList,
                                              QuickInsert::Services{{keyboard, desktop, office}, shortcut}, dataDir);
        QSignalSpy read(quick.get(), &QuickInsert::snippetsRead);
        quick->start();
        ASSERT_EQ(shortcut.state(), platform::ShortcutState::Registered);
        ASSERT_TRUE(!read.isEmpty() || read.wait(5000)) << "the snippets were not read";
    }

    void TearDown() override
    {
        runTool(QStringLiteral("setxkbmap"), {QStringLiteral("us")});
        quick.reset();
        MainWindow::TearDown();
    }

    // Every form the clipboard offers, read by another program.
    static QMap<QString, QByteArray> clipboard()
    {
        const QString xclip = QStringLiteral("xclip");
        const QStringList in = {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o"),
                                QStringLiteral("-t")};
        QMap<QString, QByteArray> forms;
        for (const QByteArray& target : runTool(xclip, in + QStringList{QStringLiteral("TARGETS")}).split('\n')) {
            const QString name = QString::fromLatin1(target.trimmed());
            if (!name.isEmpty() && name != u"TARGETS" && name != u"TIMESTAMP" && name != u"MULTIPLE"
                && name != u"SAVE_TARGETS")
                forms.insert(name, runTool(xclip, in + QStringList{name}));
        }
        return forms;
    }

    // The shortcut as the user presses it, in whichever window has the focus.
    void pressShortcut()
    {
        runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+alt+v")});
        ASSERT_TRUE(QTest::qWaitFor([&] { return quick->popup().isActiveWindow(); }, 5000))
            << "the pop-up did not come with the keyboard";
    }

    void keys(const QStringList& names)
    {
        runTool(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")} + names);
    }

    QString firstListed() const
    {
        auto* list = quick->popup().findChild<QListView*>(QStringLiteral("QuickList"));
        return list->model()->rowCount() ? list->model()->index(0, 0).data().toString() : QString();
    }

    // Waits for the insertion's end; its failure message, empty when none.
    QString finished(QSignalSpy& spy)
    {
        if (spy.isEmpty() && !spy.wait(5000))
            return QStringLiteral("(the insertion did not end)");
        return spy.takeFirst().value(0).toString();
    }

    platform::XTestKeyboard keyboard;
    platform::X11DesktopWindows desktop;
    platform::NoOffice office;
    platform::X11GlobalShortcut shortcut;
    std::unique_ptr<QuickInsert> quick;
    PasteTarget target;
};

}  // namespace

TEST_F(QuickInsertX11, EnterPastesTheFoundSnippetFormattedAndTheClipboardComesBack)
{
    QProcess owner;
    owner.start(QStringLiteral(CLIPBOARD_OWNER), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner.canReadLine(); }, 10000));
    const QMap<QString, QByteArray> before = clipboard();
    ASSERT_TRUE(before.contains(QStringLiteral("application/x-vorlin-zkouska"))) << before.keys().join(u' ').toStdString();
    ASSERT_TRUE(target.start());
    QSignalSpy ended(quick.get(), &QuickInsert::finished);

    pressShortcut();
    runTool(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("cizek")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstListed() == QStringLiteral("Čížek, advokát – adresa"); }, 2000))
        << firstListed().toStdString();
    keys({QStringLiteral("Return")});
    const auto change = target.nextChange(5000);
    ASSERT_TRUE(change.has_value()) << "nothing arrived";
    EXPECT_EQ(change->text, kBody);
    EXPECT_TRUE(target.lastFormats().contains(QStringLiteral("text/html"))) << target.lastFormats().join(u' ').toStdString();
    EXPECT_EQ(finished(ended), QString());

    // The other program ended in the meantime: what it offered is back, form by form.
    owner.kill();
    owner.waitForFinished();
    const QMap<QString, QByteArray> after = clipboard();
    for (auto form = before.cbegin(); form != before.cend(); ++form)
        EXPECT_EQ(after.value(form.key()), form.value()) << form.key().toStdString();
}

TEST_F(QuickInsertX11, ShiftEnterPastesPlainTextTypedThroughCzechDeadKeysWithNumLockOn)
{
    ASSERT_TRUE(target.start());
    int status = -1;
    runTool(QStringLiteral("setxkbmap"), {QStringLiteral("cz")}, &status);
    ASSERT_EQ(status, 0);
    keys({QStringLiteral("Num_Lock")});
    QSignalSpy ended(quick.get(), &QuickInsert::finished);

    pressShortcut();
    // Č, í and a z, which the Czech layout keeps where others have the y.
    keys({QStringLiteral("dead_caron"), QStringLiteral("C"), QStringLiteral("dead_acute"), QStringLiteral("i"),
          QStringLiteral("z")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstListed() == QStringLiteral("Čížek, advokát – adresa"); }, 2000))
        << firstListed().toStdString();
    keys({QStringLiteral("shift+Return")});
    keys({QStringLiteral("Num_Lock")});
    const auto change = target.nextChange(5000);
    ASSERT_TRUE(change.has_value()) << "nothing arrived";
    EXPECT_EQ(change->text, kBody);
    EXPECT_FALSE(target.lastFormats().contains(QStringLiteral("text/html")));
    EXPECT_FALSE(target.lastFormats().contains(QStringLiteral("text/rtf")));
    EXPECT_EQ(finished(ended), QString());
}

// The fields form comes with the keyboard; the day typed there gives the
// deadline that arrives in the window written in.
TEST_F(QuickInsertX11, AFieldFilledInTheFormArrivesInTheWindowWrittenIn)
{
    ASSERT_TRUE(target.start());
    QSignalSpy ended(quick.get(), &QuickInsert::finished);
    pressShortcut();
    runTool(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("lhuta")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstListed() == QStringLiteral("Lhůta k vyjádření – petit"); }, 2000));
    bool formHadKeyboard = false;
    ModalAnswerer answerer([&](QWidget* form) {
        formHadKeyboard = QTest::qWaitFor([&] { return form->isActiveWindow(); }, 5000);
        keys({QStringLiteral("ctrl+a")});
        runTool(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("3. 12. 2026")});
        keys({QStringLiteral("Return")});
    });
    keys({QStringLiteral("Return")});
    const auto change = target.nextChange(5000);
    ASSERT_TRUE(change.has_value()) << "nothing arrived";
    EXPECT_TRUE(formHadKeyboard);
    EXPECT_EQ(change->text, QStringLiteral("do 18. 12. 2026"));
    EXPECT_EQ(finished(ended), QString());
}

TEST_F(QuickInsertX11, EscLeavesNothingAndTheFocusReturnsToTheWindow)
{
    ASSERT_TRUE(target.start());
    const auto writing = desktop.activeWindow();
    ASSERT_TRUE(writing.has_value());
    pressShortcut();
    keys({QStringLiteral("p"), QStringLiteral("Escape")});
    EXPECT_FALSE(target.nextChange(800).has_value());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const auto active = desktop.activeWindow();
        return active && active->id == writing->id;
    }, 2000));
}

TEST_F(QuickInsertX11, AShortcutAnotherProgramHoldsIsSaidInTheSettingsWindow)
{
    // This test's quick insertion holds Ctrl+Alt+V: for a second client of
    // the X server that is another program.
    platform::X11GlobalShortcut other;
    TAbout_Form settings(*dm, *kindsList, SettingsWindowServices{other});
    settings.FormCreate();
    auto* edit = settings.findChild<QKeySequenceEdit*>(QStringLiteral("QuickShortcutEdit"));
    auto* state = settings.findChild<QLabel*>(QStringLiteral("QuickShortcutState"));
    ASSERT_TRUE(edit && state);
    const struct {
        QKeySequence keys;
        QString line;
    } cases[] = {
        {QKeySequence(QStringLiteral("Ctrl+Alt+V")), QStringLiteral("Zkratku už používá jiný program")},
        {QKeySequence(QStringLiteral("Ctrl+Alt+B")), QStringLiteral("Zkratka je zaregistrována a funguje v každém okně.")},
    };
    for (const auto& c : cases) {
        edit->setKeySequence(c.keys);
        Q_EMIT edit->editingFinished();  // as when the user stops typing the chord
        EXPECT_EQ(state->text(), c.line);
        EXPECT_EQ(readSetting(settings::kQuickShortcutKey), c.keys.toString());
    }
}

TEST_F(QuickInsertX11, AWindowThatTakesNothingIsNamedAndTheSnippetStaysOnTheClipboard)
{
    ASSERT_TRUE(target.start());
    // Keys that go nowhere: the program there never asks for the text.
    struct Mute : platform::Keyboard {
        bool sendChord(Qt::Key, Qt::KeyboardModifiers) override { return true; }
    } mute;
    QuickInsertion insertion({mute, desktop, office}, {.focusMs = 2000, .pasteMs = 500, .quietMs = 250});
    insertion.rememberTarget();
    QSignalSpy ended(&insertion, &QuickInsertion::finished);
    insertion.insert({"{\\rtf1 Cizek}", QStringLiteral("<b>Čížek</b>"), QStringLiteral("Čížek")}, true);
    ASSERT_TRUE(ended.wait(3000));
    EXPECT_EQ(ended[0][0].toString(),
              QStringLiteral("Do okna „Cíl vložení“ se text nepodařilo vložit: program v okně si po stisku Ctrl+V text "
                             "ze schránky nevzal. Text je ve schránce, vložte ho klávesami Ctrl+V."));
    EXPECT_EQ(clipboard().value(QStringLiteral("UTF8_STRING")), QStringLiteral("Čížek").toUtf8());
}
