#include "ui/shell/DesktopLanguage.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
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

namespace {

// How dark a line of text in the font is.
double inkOf(const QFont& font)
{
    QImage image(400, 40, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(5, 30, QStringLiteral("Advokátní kancelář Žďár"));
    painter.end();
    double ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            ink += 255 - line[x];
    }
    return ink;
}

}  // namespace

TEST(DesktopLanguage, TheDesignedFaceIsARealTahomaWithBold)
{
    const QFont face = designedFace();
    EXPECT_EQ(QFontInfo(face).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(face.pointSize(), 8);
    QFont bold = face;
    bold.setBold(true);
    EXPECT_TRUE(QFontInfo(bold).bold());
    // Bold shows: its strokes put clearly more ink on the page than the
    // regular ones (Wine's bold file draws no heavier than regular: 1.00).
    EXPECT_GT(inkOf(bold) / inkOf(face), 1.25);
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("Tahoma"));  // what the windows are in
}

TEST(DesktopLanguage, CzechCapitalsStayWithinTheirOwnLine)
{
    const QString capitals = QStringLiteral("Šťastný Čížek Řehoř Žižka Úřad");
    for (const int points : {8, 9, 10, 12, 14, 16, 20, 24, 36}) {
        SCOPED_TRACE(points);
        QFont face = designedFace();
        face.setPointSize(points);
        // The line's box holds the accents: an editor repainting only the
        // line being typed draws them whole, and they never reach the line above.
        const QFontMetricsF metrics(face);
        EXPECT_LE(-metrics.tightBoundingRect(capitals).top(), metrics.ascent());

        // Drawn as an editor lays it out, under an empty first line: no
        // ink of the capitals lies in the first line's box.
        QTextDocument document;
        document.setDefaultFont(face);
        document.setPlainText(QStringLiteral("\n") + capitals);
        QImage image(document.size().toSize() + QSize(2, 2), QImage::Format_Grayscale8);
        image.fill(255);
        QPainter painter(&image);
        document.drawContents(&painter);
        painter.end();
        const QTextLayout* second = document.lastBlock().layout();
        const int secondTop = int(second->position().y() + second->lineAt(0).y());
        int topInk = image.height();
        for (int y = 0; y < image.height() && topInk == image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.constScanLine(y)[x] < 200) {
                    topInk = y;
                    break;
                }
        EXPECT_GE(topInk, secondTop);
    }
}
