// The quick-insert pop-up by itself: typing finds, the keys move and choose,
// Esc leaves without a choice.
#include "support/TempDir.h"
#include "ui/quick/QuickInsertPopup.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace vorlin;

namespace {

class QuickPopup : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto snippets = std::make_shared<search::QuickSearch>(
            QList<search::QuickEntry>{{1, "Čížek, advokát", "adresa", "brno"},
                                      {2, "Krajský soud Brno", "adresa soudu", "soud"},
                                      {3, "Podpis", "podpis", QString()}},
            *db::czechTextOrder());
        popup.setSnippets(snippets, {QStringLiteral("adresa"), QStringLiteral("podpis")}, {3});
        popup.popUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&popup)) << "the pop-up did not get the keyboard";
    }

    QStringList listed() const
    {
        auto* list = popup.findChild<QListView*>(QStringLiteral("QuickList"));
        QStringList texts;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            texts << list->model()->index(row, 0).data().toString();
        return texts;
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(box(), key, modifiers);
    }

    QLineEdit* box() const { return popup.findChild<QLineEdit*>(QStringLiteral("QuickSearchBox")); }

    ui::QuickInsertPopup popup{[](qint64 id) {
        return id == 2 ? QStringLiteral("{\\rtf1\\ansi\\ansicpg1250 Krajsk\\'fd {\\b soud}}") : QStringLiteral("Text %1").arg(id);
    }};
};

}  // namespace

TEST_F(QuickPopup, TypingWithoutAccentsFindsAndEnterAsksForTheSelectedFormatted)
{
    EXPECT_EQ(listed().first(), QStringLiteral("Podpis – podpis"));  // inserted lately
    EXPECT_EQ(QApplication::focusWidget(), box());
    QTest::keyClicks(box(), QStringLiteral("cizek brno"));
    EXPECT_EQ(listed(), (QStringList{"Čížek, advokát – adresa", "Krajský soud Brno – adresa soudu"}));
    key(Qt::Key_Down);
    EXPECT_TRUE(popup.findChild<QTextEdit*>(QStringLiteral("QuickPreview"))->toPlainText().startsWith(QStringLiteral("Krajský soud")));
    QSignalSpy chosen(&popup, &ui::QuickInsertPopup::insertRequested);
    key(Qt::Key_Return);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toLongLong(), 2);
    EXPECT_TRUE(chosen[0][1].toBool());
    EXPECT_FALSE(popup.isVisible());
}

TEST_F(QuickPopup, ShiftEnterAsksForPlainTextAndEscLeavesWithoutAChoice)
{
    QSignalSpy chosen(&popup, &ui::QuickInsertPopup::insertRequested);
    QSignalSpy dismissed(&popup, &ui::QuickInsertPopup::dismissed);
    key(Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toLongLong(), 3);
    EXPECT_FALSE(chosen[0][1].toBool());

    popup.popUp();
    QTest::keyClicks(box(), QStringLiteral("nic takoveho"));
    EXPECT_TRUE(listed().isEmpty());
    key(Qt::Key_Return);  // nothing to choose
    EXPECT_EQ(chosen.size(), 1);
    key(Qt::Key_Escape);
    EXPECT_EQ(dismissed.size(), 1);
    EXPECT_FALSE(popup.isVisible());
    popup.popUp();
    EXPECT_TRUE(box()->text().isEmpty());  // each time afresh
}

TEST_F(QuickPopup, TabMovesToTheKindFilterWhichNarrowsTheList)
{
    key(Qt::Key_Tab);
    auto* kind = popup.findChild<QComboBox*>(QStringLiteral("QuickKind"));
    EXPECT_EQ(QApplication::focusWidget(), kind);
    kind->setCurrentIndex(kind->findText(QStringLiteral("adresa")));
    EXPECT_EQ(listed(), (QStringList{"Čížek, advokát – adresa", "Krajský soud Brno – adresa soudu"}));
}

TEST_F(QuickPopup, ALongListComesAsItIsScrolledToAndItsLastSnippetCanBeChosen)
{
    QList<search::QuickEntry> many;
    for (int id = 1; id <= 1234; ++id)
        many.append({id, QStringLiteral("Záznam %1").arg(id, 4, 10, QLatin1Char('0')), "adresa", QString()});
    popup.setSnippets(std::make_shared<search::QuickSearch>(many, *db::czechTextOrder()), {}, {1233});
    EXPECT_LT(listed().size(), 1234);
    EXPECT_EQ(listed().mid(0, 2), (QStringList{"Záznam 1233 – adresa", "Záznam 0001 – adresa"}));
    QSignalSpy chosen(&popup, &ui::QuickInsertPopup::insertRequested);
    for (int page = 0; page < 400 && listed().size() < 1234; ++page)
        key(Qt::Key_PageDown);
    for (int page = 0; page < 50; ++page)
        key(Qt::Key_PageDown);
    EXPECT_EQ(listed().size(), 1234);
    EXPECT_EQ(listed().mid(1232), (QStringList{"Záznam 1232 – adresa", "Záznam 1234 – adresa"}));
    key(Qt::Key_Return);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toLongLong(), 1234);
}
