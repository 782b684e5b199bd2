// Inserting into LibreOffice Writer running as a native Wayland program
// (run inside a headless sway session by writer_under_sway.sh): the desktop
// shows no windows to others, so the office lists its documents itself, and
// "Vložit" hands the snippet to the chosen one, read back run by run.
#include "PrivateWriter.h"
#include "platform/UnoOfficeAutomation.h"
#include "platform/X11DesktopWindows.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"

#include <QLineEdit>

using namespace vorlin;
using namespace vorlin::test;

namespace {

const char kFormattedBody[] =
    "{\\rtf1\\ansi\\ansicpg1250\\deff0"
    "{\\fonttbl{\\f0\\fnil\\fcharset238 DejaVu Sans;}{\\f1\\fnil\\fcharset238 DejaVu Serif;}}"
    "{\\colortbl ;\\red200\\green0\\blue0;}"
    "\\pard\\f0\\fs24 Krajsk\\'fd \\b soud\\b0  v Brn\\'ec\\par"
    "\\pard\\qc\\f1\\fs32\\cf1 Rozsudek\\cf0\\par"
    "\\pard\\f0\\fs24 \\'8e\\'ef\\'e1r nad S\\'e1zavou}";

class WriterWayland : public WithPrivateWriter<MainWindow> {
protected:
    void SetUp() override
    {
        WithPrivateWriter::SetUp();
        if (HasFatalFailure())
            return;
        addRows({{"Soud", "adresa", kFormattedBody, "soud"}});
        // The office runs as a user starts it: listening on no pipe of the
        // program's (only on the test's own), which the program asks it to open.
        office = std::make_unique<platform::UnoOfficeAutomation>(QStringLiteral("vorlin_") + writer->pipeName(),
                                                                 writer->profileArguments());
        start(false);
        controls->CheckBox1->setChecked(false);
        controls->CheckBox2->setChecked(false);
    }

    MainWindowServices services() override { return {.desktopWindows = desktop, .office = *office}; }

    // "Spuštěné OO Writer", the title chosen, "Vložit"; what the error box
    // said (or the title of the form the answer filled in).
    QString insertInto(const QString& title, const ModalAnswerer::Answer& answer = {})
    {
        controls->Button2->click();
        const QList<QListWidgetItem*> found = controls->Word_ListBox->findItems(title, Qt::MatchExactly);
        if (found.isEmpty()) {
            controls->Word_ListBox->addItem(title);  // a listing made before the document closed
            controls->Word_ListBox->setCurrentRow(controls->Word_ListBox->count() - 1);
        } else {
            controls->Word_ListBox->setCurrentItem(found.first());
        }
        ModalAnswerer answerer(answer);
        controls->Button35->click();
        return answerer.seen().isEmpty() ? QString() : answerer.seen().last().text;
    }

    std::unique_ptr<platform::UnoOfficeAutomation> office;
    platform::X11DesktopWindows desktop;  // as the program has it: no windows here
};


}  // namespace

TEST_F(WriterWayland, TheOfficeListsItsDocumentAndItReceivesTheFormattedSnippet)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
    ASSERT_TRUE(writer->newDocument(QStringLiteral("Wayland.odt"), QStringLiteral("Vážený pane, Konec"), 13));
    const QString title = PrivateWriter::windowTitle(QStringLiteral("Wayland.odt"));
    EXPECT_TRUE(desktop.windowsTopmostFirst().isEmpty());
    controls->Button2->click();
    EXPECT_EQ(items(controls->Word_ListBox), QStringList{title});

    EXPECT_EQ(insertInto(title), QString());
    const auto paragraphs = writer->paragraphs(QStringLiteral("Wayland.odt"));
    ASSERT_EQ(PrivateWriter::texts(paragraphs), QStringLiteral("Vážený pane, Krajský soud v Brně|Rozsudek|Žďár nad SázavouKonec"));
    bool boldSoud = false;
    for (const auto& run : paragraphs[0].runs)
        boldSoud = boldSoud || (run.text == QStringLiteral("soud") && run.weight == 150);
    EXPECT_TRUE(boldSoud) << "\"soud\" lost its bold";
    EXPECT_EQ(paragraphs[1].adjust, 3) << "the second paragraph is centred";
    EXPECT_EQ(paragraphs[1].runs.first().colour, 0xC80000);

    // A snippet with fields goes in filled through the form, in its field's format.
    query().edit();
    query().setValue(QStringLiteral("obsah"), QStringLiteral("{\\rtf1\\ansi\\ansicpg1250 \\b\\{\\{datum: slovy\\}\\}\\b0 }"));
    query().post();
    const QString form = insertInto(title, [](QWidget* dialog) {
        dialog->findChild<QLineEdit*>()->setText(QStringLiteral("3. 12. 2026"));
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(form, QString()) << "no error: the form has no text of a message";
    const auto filled = writer->paragraphs(QStringLiteral("Wayland.odt"));
    EXPECT_EQ(PrivateWriter::texts(filled).section(u'|', 2), QStringLiteral("Žďár nad Sázavou3. prosince 2026Konec"));
    bool boldDate = false;
    for (const auto& run : filled.last().runs)
        boldDate = boldDate || (run.text == QStringLiteral("3. prosince 2026") && run.weight == 150);
    EXPECT_TRUE(boldDate) << "the date lost its field's bold";
}

TEST_F(WriterWayland, AClosedDocumentGetsNothingAndTheUserIsTold)
{
    ASSERT_TRUE(writer->newDocument(QStringLiteral("Otevreny.odt"), QStringLiteral("Text"), 4));
    const QString closed = PrivateWriter::windowTitle(QStringLiteral("Zavreny.odt"));
    EXPECT_EQ(insertInto(closed),
              QStringLiteral("Dokument „%1“ se v LibreOffice nepodařilo najít, nic do něj nebylo vloženo.").arg(closed));
    EXPECT_EQ(PrivateWriter::texts(writer->paragraphs(QStringLiteral("Otevreny.odt"))), QStringLiteral("Text"));
}
