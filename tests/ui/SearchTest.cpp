#include "data/KindsFile.h"
#include "data/SnippetSearch.h"
#include "db/TextOrder.h"
#include "common/AwayFromGuiThread.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"

#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

using namespace vorlin;
using namespace vorlin::test;

namespace {

// Searching and sorting in the main window, against the real database.
class Search : public MainWindow {
protected:
    void SetUp() override
    {
        addRows({
            {"Kupní SMLOUVA", "petit", "a", "byt"},
            {"Smlouva o dílo", "petit", "b", "stavba"},
            {"Čestné prohlášení", "adresa soudu", "c", "prohlášení"},
            {"Adresa Brno", "adresa", "d", "brno"},
            {"O'Neil", "adresa", "e", "firma"},
            {"Zástava", "podpis", "f", "a b"},
        });
        start(false);
    }

    void typeIntoSearch(const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, controls->Jmeno_Edit, c == u' ' ? Qt::Key_Space : Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
    }

    void chooseKind(const QString& kind)
    {
        for (int i = 0; i < controls->ListBox1->count(); ++i)
            if (controls->ListBox1->item(i)->text() == kind)
                controls->ListBox1->setCurrentRow(i);
    }

    QStringList listed() { return listedNames(); }
};

}  // namespace

TEST_F(Search, TypedBlanksSeparateWordsAndPastedBlanksDoNot)
{
    typeIntoSearch(QStringLiteral("brno smlouva"));
    EXPECT_EQ(controls->Jmeno_Edit->text(), QStringLiteral("brno%smlouva"));
    EXPECT_EQ(listed(), (QStringList{"Adresa Brno", "Kupní SMLOUVA", "Smlouva o dílo"}));

    controls->Jmeno_Edit->clear();
    controls->Jmeno_Edit->insert(QStringLiteral("o d"));  // as a paste puts it
    EXPECT_EQ(controls->Jmeno_Edit->text(), QStringLiteral("o d"));
    EXPECT_EQ(listed(), QStringList{"Smlouva o dílo"});
}

TEST_F(Search, LettersMatchWithoutRegardToCase)
{
    struct Case {
        const char* typed;
        QStringList found;
    };
    const Case cases[] = {
        {"smlouva", {"Kupní SMLOUVA", "Smlouva o dílo"}},
        {"čes", {"Čestné prohlášení"}},
        {"ČES", {"Čestné prohlášení"}},
        {"o'neil", {"O'Neil"}},
        {"brno ", {"Adresa Brno"}},
        {"sml_uva", {"Kupní SMLOUVA", "Smlouva o dílo"}},
        {"nic takového", {}},
    };
    for (const Case& c : cases) {
        controls->Jmeno_Edit->clear();
        typeIntoSearch(QString::fromUtf8(c.typed));
        EXPECT_EQ(listed(), c.found) << c.typed;
    }
}

// A word typed on tries only what the shorter word found, unless the
// snippets changed meanwhile: a colleague's new row is found by the next key.
TEST_F(Search, AWordTypedOnFindsAColleaguesRowThatCameMeanwhile)
{
    typeIntoSearch(QStringLiteral("sml"));
    EXPECT_EQ(listed(), (QStringList{"Kupní SMLOUVA", "Smlouva o dílo"}));
    runInFile(QStringLiteral("INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Smlouva nájemní', 'petit', 'g', '')"));
    typeIntoSearch(QStringLiteral("ouva"));
    EXPECT_EQ(listed(), (QStringList{"Kupní SMLOUVA", "Smlouva nájemní", "Smlouva o dílo"}));
}

// Keys typed while the table is still read behind the first rows kept at the
// last end show at once, and their search is made on the whole table.
TEST_F(Search, KeysTypedWhileTheTableIsReadShowAtOnceAndFindInTheWholeTable)
{
    TearDown();
    dm.reset();  // the end: the first rows kept
    // The background threads held: the table is read once they are let go
    // (or three seconds on, had the typing waited for it).
    QSemaphore letGo;
    const int threads = backgroundThreads().maxThreadCount();
    for (int thread = 0; thread < threads; ++thread)
        backgroundThreads().start([&letGo] { letGo.tryAcquire(1, 3000); });
    start(false);
    ASSERT_TRUE(query().isReadingBehind());
    typeIntoSearch(QStringLiteral("brno"));
    EXPECT_EQ(controls->Jmeno_Edit->text(), QStringLiteral("brno"));
    EXPECT_TRUE(query().isReadingBehind());
    letGo.release(threads);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !query().isReadingBehind(); }, 5000));
    EXPECT_EQ(listed(), QStringList{"Adresa Brno"});
}

TEST_F(Search, KindIsASubstringAndTheEmptyEntryShowsAllAgain)
{
    chooseKind(QStringLiteral("adresa"));
    EXPECT_EQ(listed(), (QStringList{"Adresa Brno", "Čestné prohlášení", "O'Neil"}));
    typeIntoSearch(QStringLiteral("brno"));
    EXPECT_EQ(listed(), QStringList{"Adresa Brno"});
    EXPECT_TRUE(db::conditionOf(query().selection().filter).endsWith(QStringLiteral(" and (druh like ?)")));
    EXPECT_EQ(db::parametersOf(query().selection().filter).last(), QStringLiteral("%adresa%"));

    controls->Jmeno_Edit->clear();
    chooseKind(QString());
    EXPECT_EQ(query().recordCount(), 6);
    EXPECT_EQ(db::conditionOf(query().selection().filter), QString());
    EXPECT_EQ(query().recNo(), 1);
}

TEST_F(Search, TitleClicksFlipTheDirectionAndKeepTheFilter)
{
    typeIntoSearch(QStringLiteral("a"));
    const QStringList byName = listed();
    clickTitle(QStringLiteral("Název"));
    QStringList reversed = byName;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(listed(), reversed);
    clickTitle(QStringLiteral("Název"));
    EXPECT_EQ(listed(), byName);
    clickTitle(QStringLiteral("Název"));
    clickTitle(QStringLiteral("Druh"));
    EXPECT_EQ(query().selection().orderColumn, QStringLiteral("druh"));
    EXPECT_FALSE(query().selection().descending);
    EXPECT_EQ(query().valueAt(0, QStringLiteral("druh")).toString(), QStringLiteral("adresa"));
    EXPECT_FALSE(db::conditionOf(query().selection().filter).isEmpty());  // the filter stays

    // A search keeps the sort.
    controls->Jmeno_Edit->clear();
    EXPECT_EQ(query().valueAt(0, QStringLiteral("druh")).toString(), QStringLiteral("adresa"));
    EXPECT_EQ(query().valueAt(5, QStringLiteral("druh")).toString(), QStringLiteral("podpis"));
}

TEST_F(Search, AClickOnAMovedColumnSortsByItsOwnField)
{
    QHeaderView* header = controls->DBGrid1->horizontalHeader();
    header->moveSection(1, 0);  // "Druh" is first now
    QSignalSpy clicked(controls->DBGrid1, &ui::DBGrid::titleClicked);
    Q_EMIT header->sectionClicked(1);  // the title of "Druh"
    EXPECT_EQ(query().selection().orderColumn, QStringLiteral("druh"));
    EXPECT_TRUE(query().selection().descending);
}

TEST_F(Search, TypingSavesAnEditAndMakesTheFirstRowCurrent)
{
    query().last();
    query().edit();
    query().setValue(QStringLiteral("nazev"), QStringLiteral("uloženo"));
    QSignalSpy listReset(controls->DBGrid1->model(), &QAbstractItemModel::modelReset);
    typeIntoSearch(QStringLiteral("o"));
    EXPECT_EQ(query().state(), db::Query::State::Browse);
    EXPECT_EQ(query().recNo(), 1);
    EXPECT_TRUE(listed().contains(QStringLiteral("uloženo")));
    EXPECT_LE(listReset.count(), 1) << "the list was reset more than once for one key";
}

TEST_F(Search, ReplacedKindItemsKeepTheChosenKindAndItsCondition)
{
    chooseKind(QStringLiteral("podpis"));
    EXPECT_EQ(listed(), QStringList{"Zástava"});
    kindsList->setWorking({QStringLiteral("podpis"), QStringLiteral("nový")});
    kindsList->save();
    ASSERT_EQ(controls->ListBox1->selectedItems().size(), 1);
    EXPECT_EQ(controls->ListBox1->selectedItems()[0]->text(), QStringLiteral("podpis"));
    EXPECT_EQ(db::conditionOf(query().selection().filter), QStringLiteral("(druh like ?)"));
    EXPECT_EQ(db::parametersOf(query().selection().filter), QVariantList{QStringLiteral("%podpis%")});
    EXPECT_EQ(listed(), QStringList{"Zástava"});
}

TEST_F(Search, AThousandWordsAndAHeldSpaceBarSearchWithoutError)
{
    struct Case {
        const char* name;
        QString text;
        QStringList found;
    };
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << QStringLiteral("nic%1").arg(i);
    many << QStringLiteral("brno");
    const Case cases[] = {
        {"1,000 different words", many.join(u'%'), {"Adresa Brno"}},
        {"the space bar held", QStringLiteral("dílo") + QString(1000, u'%'),
         {"Adresa Brno", "Čestné prohlášení", "Kupní SMLOUVA", "O'Neil", "Smlouva o dílo", "Zástava"}},
    };
    for (const Case& c : cases) {
        ModalAnswerer noErrors;
        controls->Jmeno_Edit->setText(c.text);
        EXPECT_TRUE(noErrors.seen().isEmpty()) << c.name << ": " << noErrors.seen().value(0).text.toStdString();
        EXPECT_EQ(listed(), c.found) << c.name;
    }
}

TEST_F(Search, AZeroCharacterInAWordIsSearchedFor)
{
    ModalAnswerer noErrors;
    controls->Jmeno_Edit->setText(QStringLiteral("brno") + QChar(u'\0'));
    EXPECT_TRUE(noErrors.seen().isEmpty()) << noErrors.seen().value(0).text.toStdString();
    EXPECT_TRUE(query().isActive());
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(Search, TitleClicksSortInCzechAlphabeticalOrderWithoutRegardToCase)
{
    runInFile(QStringLiteral("DELETE FROM vorlin"));
    addRows({{"Brno", "", "", ""}, {"Cena", "", "", ""}, {"Dům", "", "", ""}, {"Hrad", "", "", ""},
             {"Zeman", "", "", ""}, {"ahoj", "", "", ""}, {"chata", "", "", ""}, {"Čestné", "", "", ""},
             {"šance", "", "", ""}});
    query().setTextOrder(db::TextOrder::forLocale(QLocale(QLocale::Czech, QLocale::Czechia)));
    const QStringList czech{"ahoj", "Brno", "Cena", "Čestné", "Dům", "Hrad", "chata", "šance", "Zeman"};
    clickTitle(QStringLiteral("Název"));
    QStringList reversed = czech;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(listed(), reversed);
    clickTitle(QStringLiteral("Název"));
    EXPECT_EQ(listed(), czech);
    typeIntoSearch(QStringLiteral("a"));  // the filter keeps the sort in force
    EXPECT_EQ(listed(), (QStringList{"ahoj", "Cena", "Hrad", "chata", "šance", "Zeman"}));
}
