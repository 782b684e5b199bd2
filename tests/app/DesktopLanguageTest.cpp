#include "app/DesktopLanguage.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace vorlin;

namespace {

QString shown(QAbstractButton* button)
{
    return button->text().remove(u'&');
}

}  // namespace

TEST(DesktopLanguage, ACzechDesktopGivesQtsOwnButtonsInCzech)
{
    QTranslator* czech = installQtTranslations(*qApp, QLocale(QLocale::Czech, QLocale::Czechia));
    ASSERT_NE(czech, nullptr) << "no Czech translation of Qt on this system";
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(shown(box.button(QMessageBox::Yes)), QStringLiteral("Ano"));
    EXPECT_EQ(shown(box.button(QMessageBox::No)), QStringLiteral("Ne"));
    EXPECT_EQ(shown(box.button(QMessageBox::Cancel)), QStringLiteral("Zrušit"));
    // The program's own texts stay as they are.
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(box.text(), QStringLiteral("Delete record?"));
    QCoreApplication::removeTranslator(czech);
    delete czech;

    QMessageBox english(QMessageBox::Warning, QString(), QString(), QMessageBox::Yes);
    EXPECT_EQ(shown(english.button(QMessageBox::Yes)), QStringLiteral("Yes"));
}

TEST(DesktopLanguage, TheDesignedFaceIsARealTahomaWithBold)
{
    const QFont face = designedFace();
    EXPECT_EQ(QFontInfo(face).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(face.pointSize(), 8);
    EXPECT_TRUE(QFontDatabase::styles(QStringLiteral("Tahoma")).contains(QStringLiteral("Bold")));
    QFont bold = face;
    bold.setBold(true);
    EXPECT_TRUE(QFontInfo(bold).bold());
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("Tahoma"));  // what the windows are in
}
