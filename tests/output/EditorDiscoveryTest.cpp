#include "output/EditorDiscovery.h"
#include "support/RecordingOutput.h"

#include <gtest/gtest.h>

using namespace vorlin;
using namespace vorlin::test;


TEST(EditorDiscovery, TitlesAndClassesDecideTheListing)
{
    CallLog log;
    RecordingDesktop desktop{log};
    const QString longTitle = QStringLiteral("LibreOffice Writer - ") + QString(300, u'x');
    // Cut before the test: a name beyond the 254 characters is not seen.
    const QString nameCutOff = QString(300, u'x') + QStringLiteral(" - LibreOffice Writer");
    desktop.windows = {
        {"Smlouva.odt - LibreOffice Writer", "libreoffice-writer"},
        {"Dokument1 - Microsoft Word", "OpusApp"},
        {"Rozpočet.ods - LibreOffice Calc", "libreoffice-calc"},
        {"Dopis.sxw - OpenOffice.org Writer", "VCLSalFrame"},
        {"Dokument1 - Word", "OpusApp"},
        {"Word na webu - Chromium", "Chromium"},
        {"", "OpusApp"},
        {"Smlouva.odt - LibreOffice Writer", "libreoffice-writer"},  // twice: listed twice
        {"dokument - libreoffice writer", "x"},                        // letter case counts
        {longTitle, "libreoffice-writer"},
        {nameCutOff, "libreoffice-writer"},
        {"LibreOffice Document Recovery", "libreoffice-writer", 0, true},  // a dialog
    };
    QStringList writer;
    ListEditorWindows(writer, EditorKind::Writer, desktop);
    EXPECT_EQ(writer, (QStringList{"Smlouva.odt - LibreOffice Writer", "Rozpočet.ods - LibreOffice Calc",
                                   "Dopis.sxw - OpenOffice.org Writer", "Smlouva.odt - LibreOffice Writer",
                                   longTitle.left(254)}));
    QStringList word;
    ListEditorWindows(word, EditorKind::Word, desktop);
    EXPECT_EQ(word, (QStringList{"Dokument1 - Microsoft Word", "Dokument1 - Word"}));
}

TEST(EditorDiscovery, NoWindowsNoEntries)
{
    CallLog log;
    RecordingDesktop desktop{log};
    QStringList titles{QStringLiteral("kept")};
    ListEditorWindows(titles, EditorKind::Writer, desktop);
    EXPECT_EQ(titles, QStringList{"kept"});  // appends only
}

TEST(EditorDiscovery, TheWindowIsFoundAgainByItsExactTitle)
{
    CallLog log;
    RecordingDesktop desktop{log};
    desktop.windows = {{"Dopis.odt - LibreOffice Writer", "w", 7},
                       {"Smlouva.odt - LibreOffice Writer", "w", 8},
                       {"Smlouva.odt - LibreOffice Writer", "w", 9}};
    EXPECT_TRUE(ShowEditorWindow(QStringLiteral("Smlouva.odt - LibreOffice Writer"), desktop));
    MaximizeEditorWindow(QStringLiteral("Dopis.odt - LibreOffice Writer"), desktop);
    EXPECT_FALSE(ShowEditorWindow(QStringLiteral("Smlouva.odt"), desktop));  // a part of a title is no title
    EXPECT_EQ(log.calls, (QStringList{"walk", "activate 8", "walk", "activate 7 maximised", "walk"}));
}
