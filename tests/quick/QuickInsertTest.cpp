// The quick insertion put together, without a desktop: what the program
// itself saves shows in the next pop-up, and the lately inserted come first
// in the pop-up of the next run.
#include "app/QuickInsert.h"
#include "ui/MainWindowFixture.h"
#include "support/ModalAnswerer.h"
#include "support/PostgresServer.h"
#include "ui/quick/QuickInsertPopup.h"

#include <QClipboard>
#include <QListView>
#include <QSignalSpy>

using namespace vorlin;
using namespace vorlin::test;

namespace {

class QuickInsertRun : public MainWindow {
protected:
    void SetUp() override
    {
        addRows({{"Adamec", "adresa", "Adamec, Praha", ""}, {"Čížek, advokát", "adresa", "Mgr. Petr Čížek", "brno"}});
        start(false);
    }

    // A run of the quick insertion on this data folder, its snippets read.
    std::unique_ptr<QuickInsert> startQuickInsert()
    {
        auto quick = std::make_unique<QuickInsert>(
            *dm, *kindsList,
            QuickInsert::Services{{platform::NoKeyboard::instance(), platform::NoDesktopWindows::instance(),
                                   platform::NoOffice::instance()},
                                  platform::NoGlobalShortcut::instance()},
            dataDir);
        QSignalSpy read(quick.get(), &QuickInsert::snippetsRead);
        quick->start();
        EXPECT_TRUE(!read.isEmpty() || read.wait(5000));
        return quick;
    }

    static QStringList listed(QuickInsert& quick)
    {
        auto* list = quick.popup().findChild<QListView*>(QStringLiteral("QuickList"));
        QStringList texts;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            texts << list->model()->index(row, 0).data().toString();
        return texts;
    }
};

class QuickInsertOnServer : public QuickInsertRun {
protected:
    void SetUp() override
    {
        useServer();
        QuickInsertRun::SetUp();
    }
};

}  // namespace

TEST_F(QuickInsertRun, ASnippetSavedInTheMainWindowShowsInTheNextPopUp)
{
    auto quick = startQuickInsert();
    QSignalSpy read(quick.get(), &QuickInsert::snippetsRead);
    db::Query& snippets = dm->Vorlin_ADOQuery;
    snippets.insert();
    snippets.setValue(QStringLiteral("nazev"), QStringLiteral("Bednář"));
    snippets.setValue(QStringLiteral("druh"), QStringLiteral("adresa"));
    snippets.post();
    ASSERT_TRUE(read.wait(5000)) << "the change was not read";
    quick->open();
    EXPECT_EQ(listed(*quick), (QStringList{"Adamec – adresa", "Bednář – adresa", "Čížek, advokát – adresa"}));
}

TEST_F(QuickInsertRun, ASnippetAnotherProgramAddedShowsOnceReadInTheBackground)
{
    auto quick = startQuickInsert();
    addRows({{"Bednář", "adresa", "x", ""}});
    QSignalSpy read(quick.get(), &QuickInsert::snippetsRead);
    quick->open();  // the list's copy is behind: shown until the snippets are read again
    EXPECT_EQ(listed(*quick), (QStringList{"Adamec – adresa", "Čížek, advokát – adresa"}));
    ASSERT_TRUE(read.wait(5000));
    EXPECT_EQ(listed(*quick), (QStringList{"Adamec – adresa", "Bednář – adresa", "Čížek, advokát – adresa"}));
}

TEST_F(QuickInsertRun, TheLatelyInsertedComeFirstInTheNextRun)
{
    form->hide();  // in the notification area: no window of the program takes the focus after the pop-up
    {
        auto quick = startQuickInsert();
        QSignalSpy ended(quick.get(), &QuickInsert::finished);
        quick->open();
        QTest::keyClicks(quick->popup().findChild<QLineEdit*>(QStringLiteral("QuickSearchBox")), QStringLiteral("cizek"));
        QTest::keyClick(quick->popup().findChild<QLineEdit*>(QStringLiteral("QuickSearchBox")), Qt::Key_Return);
        ASSERT_TRUE(!ended.isEmpty() || ended.wait(5000));
        // Nothing here can type Ctrl+V: the message says so, the snippet waits on the clipboard.
        EXPECT_TRUE(ended[0][0].toString().contains(QStringLiteral("nedovoluje stisknout Ctrl+V"))) << ended[0][0].toString().toStdString();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Mgr. Petr Čížek"));
    }
    auto nextRun = startQuickInsert();
    nextRun->open();
    EXPECT_EQ(listed(*nextRun), (QStringList{"Čížek, advokát – adresa", "Adamec – adresa"}));
}

TEST_F(QuickInsertOnServer, AColleaguesSnippetShowsAndTheChosenBodyComesFromTheServer)
{
    form->hide();
    auto quick = startQuickInsert();
    addRows({{"Bednář", "adresa", "Ing. Bednář, Ostrava", ""}});  // a colleague's, announced by the server
    PostgresServer::shared().run(serverDatabase, QStringLiteral("UPDATE vorlin SET obsah = 'Mgr. Petr Čížek, Brno' "
                                                                "WHERE nazev = 'Čížek, advokát'"));
    quick->open();
    EXPECT_EQ(listed(*quick), (QStringList{"Adamec – adresa", "Bednář – adresa", "Čížek, advokát – adresa"}));
    QSignalSpy ended(quick.get(), &QuickInsert::finished);
    auto* box = quick->popup().findChild<QLineEdit*>(QStringLiteral("QuickSearchBox"));
    QTest::keyClicks(box, QStringLiteral("cizek"));
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_TRUE(!ended.isEmpty() || ended.wait(5000));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Mgr. Petr Čížek, Brno"));
}

TEST_F(QuickInsertOnServer, AColleaguesSnippetShowsWhileTheMainWindowEditsAnother)
{
    auto quick = startQuickInsert();
    dm->Vorlin_ADOQuery.edit();  // the list takes the colleague's change only after the edit
    addRows({{"Bednář", "adresa", "x", ""}});
    const QStringList all{"Adamec – adresa", "Bednář – adresa", "Čížek, advokát – adresa"};
    for (int tries = 0; tries < 100 && listed(*quick) != all; ++tries) {
        quick->open();
        QTest::qWait(50);
    }
    EXPECT_EQ(listed(*quick), all);
    EXPECT_EQ(dm->Vorlin_ADOQuery.state(), db::Query::State::Edit);
}

// The pop-up's Enter on a snippet with fields shows the same form; its
// values go into what is inserted, and Esc inserts nothing.
TEST_F(QuickInsertRun, ASnippetWithFieldsIsFilledInBeforeItGoesOut)
{
    form->hide();
    addRows({{"Dopis", "petit", "Vážený pane {{oslovení}},", ""}});
    auto quick = startQuickInsert();
    for (const bool escaped : {true, false}) {
        QGuiApplication::clipboard()->setText(QStringLiteral("před"));
        QSignalSpy ended(quick.get(), &QuickInsert::finished);
        // A message says that Ctrl+V cannot be typed here: its OK.
        ModalAnswerer answerer(ModalAnswerer::press(MessageBox::Ok), [escaped](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>();
            ASSERT_TRUE(name);
            name->setText(QStringLiteral("Petr Novák"));
            QTest::keyClick(name, escaped ? Qt::Key_Escape : Qt::Key_Return);
        });
        quick->open();
        auto* box = quick->popup().findChild<QLineEdit*>(QStringLiteral("QuickSearchBox"));
        QTest::keyClicks(box, QStringLiteral("dopis"));
        QTest::keyClick(box, Qt::Key_Return);
        if (!escaped)
            ASSERT_TRUE(!ended.isEmpty() || ended.wait(5000));
        EXPECT_EQ(QGuiApplication::clipboard()->text(),
                  escaped ? QStringLiteral("před") : QStringLiteral("Vážený pane Petře Nováku,"));
    }
}
