// "Vložit": which word processor a chosen title goes to, what arrives in the
// chosen document, and what happens after it, with fakes of the desktop, the
// office and Word that keep what was done to them.
#include "MainWindowFixture.h"
#include "support/ModalAnswerer.h"
#include "support/RecordingOutput.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace vorlin;
using namespace vorlin::test;

namespace {

const QString kWriterTitle = QStringLiteral("Dopis.odt - LibreOffice Writer");
const QString kWordTitle = QStringLiteral("Dokument1 - Microsoft Word");

class Insertion : public MainWindow {
protected:
    void SetUp() override
    {
        start();
        desktop.windows = {{kWriterTitle, "libreoffice-writer", 7},
                           {kWordTitle, "OpusApp", 8},
                           {"Dopis.sxw - OpenOffice.org Writer", "VCLSalFrame", 9}};
        office.documents = {{kWriterTitle, QString()}, {QStringLiteral("Jiný.odt - LibreOffice Writer"), QString()}};
        QGuiApplication::clipboard()->clear();
    }

    MainWindowServices services() override
    {
        return {.desktopWindows = desktop, .office = office, .word = word, .trayAvailable = [this] { return trayAvailable; }};
    }
    bool trayAvailable = true;

    // Chooses the entry (added to the list as it stands) and clicks.
    void insertInto(const QString& title)
    {
        controls->Word_ListBox->clear();
        controls->Word_ListBox->addItem(title);
        controls->Word_ListBox->setCurrentRow(0);
        controls->Button35->click();
    }

    // What the error box said of the insertion.
    QString errorOf(const QString& title)
    {
        ModalAnswerer answerer;
        insertInto(title);
        return answerer.seen().isEmpty() ? QStringLiteral("(no error)") : answerer.seen()[0].text;
    }

    CallLog log;
    RecordingDesktop desktop{log};
    FakeOffice office;
    FakeWord word;
};

}  // namespace

TEST_F(Insertion, TheSnippetArrivesInTheChosenDocumentWithOrWithoutFormatting)
{
    insertInto(kWriterTitle);
    EXPECT_EQ(office.documents[kWriterTitle], QStringLiteral("[formátováno]Krajský soud"));
    EXPECT_EQ(office.documents[QStringLiteral("Jiný.odt - LibreOffice Writer")], QString());
    EXPECT_TRUE(office.lastActivated) << "the office was not told that its window was brought up";
    EXPECT_TRUE(desktop.maximised.contains(7));
    EXPECT_FALSE(form->isVisible());
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(copied->hasFormat(QStringLiteral("text/rtf")));

    form->show();
    controls->CheckBox4->setChecked(false);
    insertInto(kWriterTitle);
    insertInto(kWordTitle);
    EXPECT_EQ(office.documents[kWriterTitle], QStringLiteral("[formátováno]Krajský soudKrajský soud"));
    EXPECT_EQ(word.document, QStringLiteral("Krajský soud"));
}

TEST_F(Insertion, TheTitleDecidesTheWordProcessor)
{
    struct Case {
        const char* title;
        bool toWord;
        bool toWriter;
    };
    const Case cases[] = {
        {"Dokument1 - Microsoft Word", true, false},
        // Both names: Word, tested first.
        {"Microsoft Word - OpenOffice.org", true, false},
        {"Dopis.sxw - OpenOffice.org Writer", false, true},
        // Listed by the Word button, but not Word's own title: nothing at all.
        {"Dokument1 - Word", false, false},
        {"Rozpočet.xlsx - Excel", false, false},
        {"microsoft word - libreoffice writer", false, false},
    };
    office.documents[QStringLiteral("Dopis.sxw - OpenOffice.org Writer")] = QString();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        form->show();
        word.document.clear();
        office.documents[QStringLiteral("Dopis.sxw - OpenOffice.org Writer")].clear();
        QGuiApplication::clipboard()->clear();
        insertInto(QString::fromUtf8(c.title));
        EXPECT_EQ(!word.document.isEmpty(), c.toWord);
        EXPECT_EQ(!office.documents[QStringLiteral("Dopis.sxw - OpenOffice.org Writer")].isEmpty(), c.toWriter);
        // Nothing chosen for either: the clipboard stays untouched.
        EXPECT_EQ(QGuiApplication::clipboard()->text().isEmpty(), !c.toWord && !c.toWriter);
    }
}

TEST_F(Insertion, WithoutAChosenEntryNothingHappens)
{
    controls->Word_ListBox->addItem(kWriterTitle);
    controls->Word_ListBox->clearSelection();
    controls->Button35->click();
    EXPECT_EQ(office.documents[kWriterTitle], QString());
    EXPECT_TRUE(log.calls.isEmpty()) << log.calls.join(u'|').toStdString();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Insertion, TheCheckBoxesActAfterwardsAndEachAlone)
{
    controls->CheckBox1->setChecked(false);
    insertInto(kWriterTitle);
    EXPECT_TRUE(desktop.maximised.isEmpty());
    EXPECT_FALSE(form->isVisible());

    // A desktop without a notification area: minimised, never stranded.
    form->show();
    trayAvailable = false;
    insertInto(kWriterTitle);
    EXPECT_TRUE(form->isVisible() && form->isMinimized());
    trayAvailable = true;
    form->showNormal();

    form->show();
    controls->CheckBox1->setChecked(true);
    controls->CheckBox2->setChecked(false);
    insertInto(kWriterTitle);
    EXPECT_TRUE(desktop.maximised.contains(7));
    EXPECT_EQ(desktop.active, 7u);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Insertion, AFailedPasteIsReportedAndNothingFollows)
{
    struct Case {
        const char* name;
        QString title;
        QString failure;
        QString error;
    };
    const QString missing = QStringLiteral("Zavřený.odt - LibreOffice Writer");
    const Case cases[] = {
        {"the office refuses", kWriterTitle, QStringLiteral("LibreOffice neodpovídá"), QStringLiteral("LibreOffice neodpovídá.")},
        {"the office shows no such document (another office of the user)", missing, QString(),
         QStringLiteral("Dokument „%1“ se v LibreOffice nepodařilo najít, nic do něj nebylo vloženo.").arg(missing)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->show();
        office.failure = c.failure;
        EXPECT_EQ(errorOf(c.title), c.error);
        EXPECT_TRUE(form->isVisible()) << "hidden after a failure";
        EXPECT_TRUE(desktop.maximised.isEmpty()) << "maximised after a failure";
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass stayed";
    }
    EXPECT_EQ(office.documents[kWriterTitle], QString());
}

TEST_F(Insertion, NoWordOnThisSystem)
{
    word.registered = false;
    EXPECT_EQ(errorOf(kWordTitle), QStringLiteral("Invalid class string."));
    EXPECT_EQ(desktop.active, 8u);
    EXPECT_TRUE(form->isVisible());
}
