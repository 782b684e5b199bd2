// "Vložit": which word processor a chosen title goes to, the exact
// conversation with it, and what happens after it, told by recording fakes.
#include "MainWindowFixture.h"
#include "output/EditorInsertion.h"
#include "support/RecordingOutput.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace vorlin;
using namespace vorlin::test;

namespace {

const QString kWriterTitle = QStringLiteral("Dopis.odt - LibreOffice Writer");

class Insertion : public MainWindow {
protected:
    void SetUp() override
    {
        start();
        desktop.windows = {{kWriterTitle, "libreoffice-writer", 7},
                           {"Dokument1 - Microsoft Word", "OpusApp", 8},
                           {"Dopis.sxw - OpenOffice.org Writer", "VCLSalFrame", 9}};
        form->desktopWindows = &desktop;
        form->office = &office;
        form->word = &word;
        QGuiApplication::clipboard()->clear();
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, form.get(),
                         [this] { log.calls << QStringLiteral("clipboard"); });
    }

    // Chooses the entry (added to the list as it stands) and clicks.
    void insertInto(const QString& title)
    {
        form->Word_ListBox->clear();
        form->Word_ListBox->addItem(title);
        form->Word_ListBox->setCurrentRow(0);
        log.calls.clear();
        form->Button35Click();
    }

    QString errorOf(const QString& title)
    {
        try {
            insertInto(title);
        } catch (const Error& error) {
            return error.message();
        }
        return QStringLiteral("(no error)");
    }

    CallLog log;
    RecordingDesktop desktop{log};
    RecordingOffice office{log};
    RecordingWord word{log};
};

}  // namespace

TEST_F(Insertion, AFormattedInsertionIntoWriter)
{
    insertInto(kWriterTitle);
    EXPECT_EQ(log.calls, (QStringList{
                             "clipboard",
                             "walk",
                             "activate 7",
                             "connect",
                             "createInstance ServiceManager com.sun.star.frame.Desktop",
                             "createInstance ServiceManager com.sun.star.frame.DispatchHelper",
                             "currentFrame Desktop",
                             "frameTitle Frame",
                             "frameTitled Desktop Dopis.odt - LibreOffice Writer",
                             "documentState Frame",
                             "executeDispatch DispatchHelper Frame .uno:Paste \"\" 0 []",
                             "documentState Frame",
                             "release",
                             "walk",
                             "activate 7 maximised",
                         }));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(writerConnection.serviceManager || writerConnection.desktop || writerConnection.dispatcher);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(copied->hasFormat(QStringLiteral("text/rtf")));
    EXPECT_EQ(copied->text(), QStringLiteral("Krajský soud"));
}

TEST_F(Insertion, AnUnformattedInsertionIntoWriterAsksForPlainText)
{
    form->CheckBox4->setChecked(false);
    insertInto(kWriterTitle);
    EXPECT_EQ(log.calls.mid(10, 3),
              (QStringList{
                  "createInstance ServiceManager com.sun.star.reflection.CoreReflection",
                  "propertyValue CoreReflection SelectedFormat=1:uint",
                  "executeDispatch DispatchHelper Frame .uno:ClipboardFormatItems \"\" 0 [SelectedFormat=1:uint, null]",
              }))
        << log.calls.join(u'\n').toStdString();
}

TEST_F(Insertion, TheTitleDecidesTheWordProcessor)
{
    struct Case {
        const char* title;
        QStringList calls;
    };
    const QStringList wordPaste{"clipboard", "walk", "activeApplication", "selection Application", "paste Selection",
                                "walk"};
    const Case cases[] = {
        {"Dokument1 - Microsoft Word", {"clipboard", "walk", "activate 8", "activeApplication", "selection Application",
                                        "paste Selection", "walk", "activate 8 maximised"}},
        // Both names: Word, tested first (no window has this title: nothing activated).
        {"Microsoft Word - OpenOffice.org", wordPaste},
        // Listed by the Word button, but not Word's own title: nothing at all.
        {"Dokument1 - Word", {}},
        {"Rozpočet.xlsx - Excel", {}},
        {"microsoft word - libreoffice writer", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        form->show();
        insertInto(QString::fromUtf8(c.title));
        EXPECT_EQ(log.calls, c.calls);
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Krajský soud"));
}

TEST_F(Insertion, WithoutAChosenEntryNothingHappens)
{
    form->Word_ListBox->addItem(kWriterTitle);
    form->Word_ListBox->clearSelection();
    log.calls.clear();
    form->Button35Click();
    EXPECT_TRUE(log.calls.isEmpty()) << log.calls.join(u'|').toStdString();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Insertion, WordWithoutFormattingPastesPlainText)
{
    form->CheckBox4->setChecked(false);
    insertInto(QStringLiteral("Dokument1 - Microsoft Word"));
    EXPECT_TRUE(log.calls.contains(QStringLiteral("pasteAndFormat Selection 22"))) << log.calls.join(u'|').toStdString();
}

TEST_F(Insertion, TheCheckBoxesActAfterwardsAndEachAlone)
{
    form->CheckBox1->setChecked(false);
    insertInto(kWriterTitle);
    EXPECT_EQ(log.calls.last(), QStringLiteral("release"));
    EXPECT_FALSE(form->isVisible());

    form->show();
    form->CheckBox1->setChecked(true);
    form->CheckBox2->setChecked(false);
    insertInto(kWriterTitle);
    EXPECT_EQ(log.calls.last(), QStringLiteral("activate 7 maximised"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Insertion, AFailingStepEndsTheClickAfterTheReleaseWithTheOfficesText)
{
    const char* failingSteps[] = {
        "connect",
        "createInstance ServiceManager com.sun.star.frame.Desktop",
        "createInstance ServiceManager com.sun.star.frame.DispatchHelper",
        "currentFrame",
        "frameTitled",
        "documentState",
        "executeDispatch",
    };
    for (const char* step : failingSteps) {
        SCOPED_TRACE(step);
        form->show();
        log.failAt = QString::fromUtf8(step);
        EXPECT_EQ(errorOf(kWriterTitle), log.failure);
        EXPECT_TRUE(log.calls.last() == QStringLiteral("release")) << log.calls.join(u'|').toStdString();
        EXPECT_EQ(log.calls.count(QStringLiteral("release")), 1);
        EXPECT_TRUE(form->isVisible()) << "hidden after a failure";
        EXPECT_FALSE(writerConnection.serviceManager || writerConnection.desktop || writerConnection.dispatcher);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass stayed";
    }
}

TEST_F(Insertion, NothingIsPastedIntoAnotherDocumentAndANoChangeIsNoSuccess)
{
    struct Case {
        const char* name;
        QStringList documents;
        bool pastesArrive;
        QString error;
    };
    const Case cases[] = {
        {"an office without documents", {}, true,
         QStringLiteral("Dokument „%1“ se v LibreOffice nepodařilo najít, nic do něj nebylo vloženo.").arg(kWriterTitle)},
        {"another office of the user, showing other documents", {QStringLiteral("Jiný.odt - LibreOffice Writer")}, true,
         QStringLiteral("Dokument „%1“ se v LibreOffice nepodařilo najít, nic do něj nebylo vloženo.").arg(kWriterTitle)},
        {"a paste that leaves the document as it was", {kWriterTitle}, false,
         QStringLiteral("LibreOffice do dokumentu „%1“ nic nevložil (schránku nepřevzal).").arg(kWriterTitle)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->show();
        office.documents = c.documents;
        office.pastesArrive = c.pastesArrive;
        EXPECT_EQ(errorOf(kWriterTitle), c.error);
        EXPECT_EQ(log.calls.last(), QStringLiteral("release"));
        EXPECT_EQ(log.calls.join(u'|').contains(QStringLiteral("executeDispatch")), c.pastesArrive == false);
        EXPECT_TRUE(form->isVisible()) << "the success path ran";
    }
}

TEST_F(Insertion, WriterIsWaitedForUntilTheChosenWindowIsItsCurrentFrame)
{
    office.frameTitles = {QStringLiteral("Jiný.odt - LibreOffice Writer"), QStringLiteral("Jiný.odt - LibreOffice Writer"),
                          kWriterTitle};
    insertInto(kWriterTitle);
    EXPECT_EQ(log.calls.count(QStringLiteral("frameTitle Frame")), 3);

    // A frame that never turns into the chosen one: the paste goes ahead
    // after the wait, into the chosen document.
    office.frameTitles = {QStringLiteral("Jiný.odt - LibreOffice Writer")};
    insertInto(kWriterTitle);
    EXPECT_GT(log.calls.count(QStringLiteral("frameTitle Frame")), 10);
    EXPECT_TRUE(log.calls.contains(QStringLiteral("executeDispatch DispatchHelper Frame .uno:Paste \"\" 0 []")));
}

TEST_F(Insertion, NoWordOnThisSystem)
{
    platform::UnregisteredWord none;
    form->word = &none;
    EXPECT_EQ(errorOf(QStringLiteral("Dokument1 - Microsoft Word")), QStringLiteral("Invalid class string"));
    EXPECT_EQ(log.calls, (QStringList{"clipboard", "walk", "activate 8"}));
    EXPECT_TRUE(form->isVisible());
}
