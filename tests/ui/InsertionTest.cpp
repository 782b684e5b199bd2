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
                             "currentFrame Desktop",
                             "executeDispatch DispatchHelper Frame .uno:Paste \"\" 0 []",
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
    EXPECT_EQ(log.calls.mid(8, 4),
              (QStringList{
                  "createInstance ServiceManager com.sun.star.reflection.CoreReflection",
                  "propertyValue CoreReflection SelectedFormat=1:uint",
                  "currentFrame Desktop",
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

TEST_F(Insertion, AnOfficeWithoutADocumentIsReportedNotIgnored)
{
    office.frameTitles.clear();
    EXPECT_EQ(errorOf(kWriterTitle), QStringLiteral("LibreOffice nemá otevřený dokument, do kterého by šlo vložit."));
    EXPECT_FALSE(log.calls.join(u'|').contains(QStringLiteral("executeDispatch")));
    EXPECT_EQ(log.calls.last(), QStringLiteral("release"));
}

TEST_F(Insertion, WriterIsWaitedForUntilTheChosenWindowIsItsCurrentFrame)
{
    office.frameTitles = {QStringLiteral("Jiný.odt - LibreOffice Writer"), QStringLiteral("Jiný.odt - LibreOffice Writer"),
                          kWriterTitle};
    insertInto(kWriterTitle);
    EXPECT_EQ(log.calls.count(QStringLiteral("frameTitle Frame")), 3);

    // A window whose title changed since the listing is not found: the
    // paste goes to the current frame without waiting for it.
    office.frameTitles = {QStringLiteral("Jiný.odt - LibreOffice Writer")};
    insertInto(QStringLiteral("Starý název.odt - LibreOffice Writer"));
    EXPECT_EQ(log.calls.count(QStringLiteral("frameTitle Frame")), 0);
    EXPECT_TRUE(log.calls.contains(QStringLiteral("executeDispatch DispatchHelper Frame .uno:Paste \"\" 0 []")));

    // A frame that never turns into the chosen one: the paste goes ahead
    // after the wait.
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
