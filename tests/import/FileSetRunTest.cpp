// The file-set run of the import window with a converter that only writes
// the text it is told to: the gathering, the order of the run, its texts,
// its two ways of stopping, the watchdog and the deletion of what it wrote.
#include "ImportFixture.h"
#include "common/AwayFromGuiThread.h"
#include "common/Win1250.h"
#include "import/FileGathering.h"
#include "import/FileSetRun.h"
#include "support/RecordingOutput.h"

#include <QAccessible>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStatusBar>

#include <condition_variable>
#include <mutex>

using namespace vorlin;
using namespace vorlin::test;

namespace {

// Writes "<name> Ulice <number>" for each document; a document named
// "zlý…" fails, one named "visí…" hangs until the converter is killed.
class FakeConverter : public platform::DocumentConverter {
public:
    FakeConverter(QStringList& log, QString root) : log(log), root(std::move(root)) {}

    void start() override
    {
        note(QStringLiteral("start"));
        if (failStart)
            throw platform::OfficeError(QStringLiteral("LibreOffice není nainstalován"));
        killed = false;
    }
    void convert(const QString& document, const QString& textFile) override
    {
        const QString name = document.mid(root.size());
        note(QStringLiteral("convert ") + name);
        if (onConvert)
            onConvert(name);
        if (name.contains(QStringLiteral("zlý")))
            throw platform::OfficeError(QStringLiteral("poškozený soubor"));
        if (name.contains(QStringLiteral("visí"))) {
            std::unique_lock lock(mutex);
            woken.wait(lock, [this] { return killed; });
            throw platform::OfficeError(QStringLiteral("ukončen"));
        }
        QFile out(textFile);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(win1250::encode(QFileInfo(document).fileName() + QStringLiteral("\r\nUlice 1\r\n")));
    }
    void kill() override
    {
        note(QStringLiteral("kill"));
        const std::lock_guard lock(mutex);
        killed = true;
        woken.notify_all();
    }
    void stop() override { note(QStringLiteral("stop")); }
    bool running() const override { return true; }
    bool convertsBesideAnother() const override { return besideAnother; }

    // Written on the conversions' threads and by kill() on the window's
    // (the hand-over between them goes through Qt's event queue, which
    // ThreadSanitizer does not see), by two converters at once.
    void note(const QString& call)
    {
        static std::mutex logged;
        const std::lock_guard lock(logged);
        log << call;
    }

    QStringList& log;
    QString root;
    bool failStart = false;
    bool besideAnother = false;
    std::function<void(const QString&)> onConvert;
    std::mutex mutex;
    std::condition_variable woken;
    bool killed = false;
};

class FileSetRunInWindow : public Import {
protected:
    void SetUp() override
    {
        Import::SetUp();
        root = dir.file(QStringLiteral("dopisy/"));
        QDir().mkpath(root);
        chooseFolder = [this] { return root; };
        makeConverter = [this] {
            auto converter = std::make_unique<FakeConverter>(log, root);
            converter->failStart = failStart;
            converter->besideAnother = besideAnother;
            converter->onConvert = onConvert;
            return converter;
        };
        QObject::connect(shown->StatusBar1, &QStatusBar::messageChanged, import.get(), [this](const QString& text) {
            if (!text.isEmpty())
                statuses << QString(text).replace(root, QStringLiteral("…/"));
        });
        filter("Ulice \\d+\n[a-z]+\\.docx?", "adresy.txt");
    }

    void file(const QString& name, const QByteArray& bytes = "x") { dir.write(QStringLiteral("dopisy/") + name, bytes); }

    // The run with the filter file, the message boxes answered as given
    // (the deletion question by `deleteAnswer`), each box's text kept.
    void run(MessageBox::Button deleteAnswer = MessageBox::No)
    {
        ModalAnswerer answerer([&](const MessageBox::Shown& box) {
            boxes << box.text;
            return box.indexOf(box.indexOf(MessageBox::Yes) >= 0 ? deleteAnswer : MessageBox::Ok);
        });
        try {
            import->PopupMenuItemsClick2(QStringLiteral("adresy.txt"));
        } catch (const Error& error) {
            raised = error.message();
        }
    }

    QString root;
    QStringList log;
    QStringList statuses;
    QStringList boxes;
    QString raised;
    bool failStart = false;
    bool besideAnother = false;  // the converters work two at once
    std::function<void(const QString&)> onConvert;
};

QStringList expectedOrder(const QString& folder, const QString& suffix)
{
    // Each level in the order the file system gives, files before folders.
    QStringList list;
    const QDir level(folder);
    for (const QString& name : level.entryList(QDir::Files | QDir::Hidden, QDir::Unsorted))
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            list << folder + name;
    for (const QString& name :
         level.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, QDir::Unsorted))
        if (!name.startsWith(u'.'))
            list << expectedOrder(folder + name + u'/', suffix);
    return list;
}

}  // namespace

TEST_F(FileSetRunInWindow, GatheringGoesDepthFirstFilesBeforeFoldersAndSkipsDotFolders)
{
    for (const char* name : {"b.doc", "a.DOC", ".skryty.doc", "c.docx", "poznamka.txt", "x/d.doc", "x/y/e.doc",
                             "x/f.doc", "z/g.doc", ".git/h.doc", "x/.cache/i.doc"})
        file(QString::fromUtf8(name));
    QDir().mkpath(root + QStringLiteral("prazdna.doc"));  // a folder, not a file
    QFile::link(root + QStringLiteral("x"), root + QStringLiteral("x/y/zpet"));  // a loop back up the tree
    QFile::link(root + QStringLiteral("b.doc"), root + QStringLiteral("z/odkaz.doc"));

    QStringList list;
    bool stop = false;
    gatherFiles(list, root, QStringLiteral("*.doc"), stop);
    EXPECT_EQ(list, expectedOrder(root, QStringLiteral(".doc")));
    QStringList names;
    for (const QString& path : list)
        names << path.mid(root.size());
    names.sort();
    EXPECT_EQ(names, (QStringList{".skryty.doc", "a.DOC", "b.doc", "x/d.doc", "x/f.doc", "x/y/e.doc", "z/g.doc",
                                  "z/odkaz.doc"}));
    // "*.doc" is the doc files alone: a docx is gathered by its own mask.
    list.clear();
    gatherFiles(list, root.chopped(1), QStringLiteral("*.docx"), stop);
    EXPECT_EQ(list, QStringList{root + QStringLiteral("c.docx")});
    // A stop before the search keeps it in the first folder.
    stop = true;
    list.clear();
    gatherFiles(list, root, QStringLiteral("*.doc"), stop);
    EXPECT_EQ(list.size(), 3);
}

TEST_F(FileSetRunInWindow, ARunConvertsFiltersAsksAndEnds)
{
    file(QStringLiteral("a.docx"));
    file(QStringLiteral("sub/b.doc"));
    file(QStringLiteral("hotovy.doc"));
    file(QStringLiteral("hotovy.doc.txt"), "hotovy.doc\r\nUlice 9\r\n");  // an earlier run's, or the user's
    file(QStringLiteral("vlastni.txt"), "Ulice 1\nUlice 2\rUlice 2\r\n");
    shown->items->add(QStringLiteral("starý"));
    run(MessageBox::Yes);

    QStringList expected{"start"};
    QStringList documents;
    const bool never = false;
    gatherFiles(documents, root, QStringLiteral("*.doc"), never);
    gatherFiles(documents, root, QStringLiteral("*.docx"), never);
    for (const QString& document : documents)
        if (!document.endsWith(QStringLiteral("hotovy.doc")))
            expected << QStringLiteral("convert ") + document.mid(root.size());
    expected << QStringLiteral("stop");
    EXPECT_EQ(log, expected);
    EXPECT_EQ(raised, QString());
    EXPECT_EQ(statuses.first(), QStringLiteral("Hledám soubory doc."));
    EXPECT_EQ(statuses[1], QStringLiteral("Hledám soubory docx."));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Převádím soubor …/a.docx na text. Jedná se o 3. soubor z 3.")))
        << statuses.join(u'\n').toStdString();
    EXPECT_TRUE(statuses.contains(QStringLiteral("Vyhledávám soubory txt.")));
    EXPECT_EQ(statuses.filter(QRegularExpression(QStringLiteral("^Zpracovávám [1-4]/4 soubor …/\\S+\\.txt filtrem č. [12]\\.$"))).size(), 8)
        << statuses.join(u'\n').toStdString();
    EXPECT_EQ(statuses.mid(statuses.size() - 2), (QStringList{"Promazávám duplikáty.", "Hotovo."}));
    EXPECT_EQ(boxes, QStringList{"Chcete vymazat vygenerované soubory txt?"});
    // The same text twice from one line is one candidate; the list was
    // cleared first.
    EXPECT_EQ(shown->items->texts(),
              (QStringList{"1. filtr|Ulice 1", "1. filtr|Ulice 2", "1. filtr|Ulice 9", "2. filtr|a.docx",
                           "2. filtr|b.doc", "2. filtr|hotovy.doc"}));
    // Yes deleted the text files this run wrote and nothing else.
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("a.docx.txt")));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("sub/b.doc.txt")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("hotovy.doc.txt")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("vlastni.txt")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("a.docx")));
    EXPECT_FALSE(shown->Zastavit_Button->isEnabled());
    EXPECT_FALSE(import->stopRequested());
    EXPECT_FALSE(import->runInProgress());
}

TEST_F(FileSetRunInWindow, NoAnswersTheQuestionWithNoAndKeepsTheTextFiles)
{
    file(QStringLiteral("a.doc"));
    run(MessageBox::No);
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("a.doc.txt")));
    // A second run finds the text file and does not convert again.
    log.clear();
    run(MessageBox::No);
    EXPECT_EQ(log, (QStringList{"start", "stop"}));
    EXPECT_EQ(shown->items->texts(), (QStringList{"1. filtr|Ulice 1", "2. filtr|a.doc"}));
}

TEST_F(FileSetRunInWindow, AnEmptyFolderStillStartsAndStopsTheConverterAndAsks)
{
    run();
    EXPECT_EQ(log, (QStringList{"start", "stop"}));
    EXPECT_EQ(boxes, QStringList{"Chcete vymazat vygenerované soubory txt?"});
    EXPECT_EQ(statuses.last(), QStringLiteral("Hotovo."));
}

TEST_F(FileSetRunInWindow, CancellingTheFolderChangesNothing)
{
    shown->items->add(QStringLiteral("zůstane"));
    chooseFolder = [] { return QString(); };
    run();
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(statuses.isEmpty());
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(shown->items->texts(), QStringList{"zůstane"});
    EXPECT_FALSE(shown->Zastavit_Button->isEnabled());
}

TEST_F(FileSetRunInWindow, AFailingDocumentIsReportedAndTheRunGoesOn)
{
    file(QStringLiteral("a_zlý.doc"));
    file(QStringLiteral("b.doc"));
    run();
    EXPECT_EQ(boxes.first(), QStringLiteral("Chyba při převodu souboru MS WOrd na text. \n%1a_zlý.doc\npoškozený soubor").arg(root));
    EXPECT_TRUE(log.contains(QStringLiteral("convert b.doc")));
    EXPECT_TRUE(shown->items->texts().contains(QStringLiteral("2. filtr|b.doc")));
}

TEST_F(FileSetRunInWindow, AHangingDocumentIsEndedByTheWatchdog)
{
    import->conversionTimeoutMs = 200;
    file(QStringLiteral("a_visí.doc"));
    file(QStringLiteral("b.doc"));
    run();
    // Killed, started again, reported; the next document converted.
    const qsizetype hung = log.indexOf(QStringLiteral("convert a_visí.doc"));
    ASSERT_GE(hung, 0) << log.join(u'|').toStdString();
    EXPECT_EQ(log.mid(hung + 1, 3), (QStringList{"kill", "start", "convert b.doc"}));
    EXPECT_EQ(boxes.first(), QStringLiteral("Chyba při převodu souboru MS WOrd na text. \n%1a_visí.doc\n"
                                            "Převod trval déle než 0 s a byl ukončen.").arg(root));
    EXPECT_EQ(log.last(), QStringLiteral("stop"));
}

// Two converters at once: the hanging document is ended and named, the bad
// one named, every other converted and filtered, both converters stopped.
TEST_F(FileSetRunInWindow, TwoConvertersAtOnceEndAHangingDocumentAndConvertTheRest)
{
    import->conversionTimeoutMs = 200;
    besideAnother = true;
    for (const char* name : {"a_visí.doc", "b.doc", "c_zlý.doc", "d.doc", "e.docx"})
        file(QString::fromUtf8(name));
    run();
    const QStringList found = shown->items->texts();
    for (const char* name : {"b.doc", "d.doc", "e.docx"})
        EXPECT_TRUE(found.contains(QStringLiteral("2. filtr|") + QString::fromUtf8(name))) << name;
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("a_visí.doc.txt")));
    EXPECT_EQ(boxes.value(0), QStringLiteral("Chyba při převodu souboru MS WOrd na text. \n%1a_visí.doc\n"
                                             "Převod trval déle než 0 s a byl ukončen.").arg(root));
    EXPECT_EQ(boxes.value(1), QStringLiteral("Chyba při převodu souboru MS WOrd na text. \n%1c_zlý.doc\npoškozený soubor").arg(root));
    EXPECT_EQ(log.count(QStringLiteral("stop")), 2);
}

TEST_F(FileSetRunInWindow, AConverterThatCannotStartAgainAfterAHangEndsTheRun)
{
    import->conversionTimeoutMs = 200;
    file(QStringLiteral("a_visí.doc"));
    file(QStringLiteral("b.doc"));
    makeConverter = [this] {
        auto converter = std::make_unique<FakeConverter>(log, root);
        converter->onConvert = [this, c = converter.get()](const QString&) { c->failStart = true; };
        return converter;
    };
    run();
    EXPECT_EQ(raised, QStringLiteral("LibreOffice není nainstalován"));
    EXPECT_FALSE(log.contains(QStringLiteral("convert b.doc"))) << log.join(u'|').toStdString();
    EXPECT_EQ(log.last(), QStringLiteral("stop"));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(FileSetRunInWindow, AStopDuringTheConversionSkipsTheFilteringAndSaysSo)
{
    for (const char* name : {"a.doc", "b.doc", "c.doc"})
        file(QString::fromUtf8(name));
    // "Zastavit" pressed while the first document converts takes effect
    // when the run serves the window's events after it.
    onConvert = [this](const QString&) {
        if (log.count() == 2)  // told on the conversion's thread
            handToThreadOf(shown->Zastavit_Button, [this] { shown->Zastavit_Button->click(); });
    };
    run();
    EXPECT_EQ(log.size(), 3) << log.join(u'|').toStdString();  // start, one conversion, stop
    EXPECT_EQ(log.last(), QStringLiteral("stop"));
    EXPECT_TRUE(statuses.last().startsWith(QStringLiteral("Převádím soubor"))) << statuses.last().toStdString();
    EXPECT_EQ(boxes, QStringList{"Průběh byl zastaven."});
    EXPECT_FALSE(shown->Zastavit_Button->isEnabled());
    EXPECT_FALSE(import->stopRequested());
}

TEST_F(FileSetRunInWindow, AStopDuringAHangingConversionKillsItAtOnce)
{
    file(QStringLiteral("a_visí.doc"));
    file(QStringLiteral("b.doc"));
    // Pressed as a screen reader presses it: its press animates the button
    // and clicks it on a timer, which the conversion's wait must serve.
    onConvert = [this](const QString&) {
        handToThreadOf(shown->Zastavit_Button, [this] {
            QAccessible::queryAccessibleInterface(shown->Zastavit_Button)
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
        });
    };
    QElapsedTimer took;
    took.start();
    run();
    EXPECT_LT(took.elapsed(), 60000) << "the watchdog's two minutes were waited for";
    EXPECT_EQ(log, (QStringList{"start", "convert a_visí.doc", "kill", "stop"}));
    EXPECT_EQ(boxes, QStringList{"Průběh byl zastaven."});
}

TEST_F(FileSetRunInWindow, AStopDuringTheFilteringStillRemovesDuplicatesAsksAndEnds)
{
    file(QStringLiteral("a.txt"), "Ulice 1 Ulice 1 Ulice 2");
    file(QStringLiteral("pod/b.txt"), "Ulice 3");  // files of a folder come first
    bool pressed = false;
    QObject::connect(shown->StatusBar1, &QStatusBar::messageChanged, import.get(), [&](const QString& text) {
        if (!pressed && text.startsWith(QStringLiteral("Zpracovávám 1/2"))) {
            pressed = true;
            QTimer::singleShot(0, shown->Zastavit_Button, &QPushButton::click);
        }
    });
    run();
    // The stop came at the first next match of the first line: that line
    // still finds the rest of its matches, no further line is applied and
    // the other file stays unfiltered; the two equal matches are one.
    EXPECT_EQ(shown->items->texts(), (QStringList{"1. filtr|Ulice 1", "1. filtr|Ulice 2"}));
    EXPECT_EQ(boxes, (QStringList{"Chcete vymazat vygenerované soubory txt?", "Průběh byl zastaven."}));
    EXPECT_EQ(statuses.mid(statuses.size() - 2), (QStringList{"Promazávám duplikáty.", "Hotovo."}));
    EXPECT_EQ(shown->Memo1->toPlainText(), QStringLiteral("Ulice 3")) << "the later file is still loaded";
}

TEST_F(FileSetRunInWindow, AConverterThatCannotStartEndsTheRunWithItsError)
{
    failStart = true;
    file(QStringLiteral("a.doc"));
    run();
    EXPECT_EQ(raised, QStringLiteral("LibreOffice není nainstalován"));
    EXPECT_EQ(log, QStringList{"start"});
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_FALSE(import->runInProgress());
    // The next run starts clean.
    failStart = false;
    run();
    EXPECT_EQ(log.last(), QStringLiteral("stop"));
    EXPECT_FALSE(shown->Zastavit_Button->isEnabled());
}

TEST_F(FileSetRunInWindow, WhileARunServesEventsOtherRunsAndSavesAreRefused)
{
    file(QStringLiteral("a.doc"));
    file(QStringLiteral("b.doc"));
    QString memoShown;
    int itemsShown = -1;
    onConvert = [&](const QString&) {
        if (log.count() == 2) {
            handToThreadOf(import.get(), [&] {
                shown->items->add(QStringLiteral("cizí"));
                shown->items->setAllChecked(true);
                shown->Button1->click();
                shown->Button4->click();
                // Ctrl+Shift+I meanwhile shows the window as it is.
                shown->Memo1->setPlainText(QStringLiteral("právě filtrovaný text"));
                import->showEmptied();
                memoShown = shown->Memo1->toPlainText();
                itemsShown = shown->items->count();
            });
        }
    };
    run();
    EXPECT_EQ(memoShown, QStringLiteral("právě filtrovaný text"));
    EXPECT_EQ(itemsShown, 1);
    EXPECT_EQ(boxes.count(QStringLiteral("Právě probíhá zpracování sady souborů. "
                                         "Počkejte na jeho konec, nebo ho ukončete tlačítkem Zastavit.")),
              2);
    EXPECT_EQ(storedRows().size(), 0);
    EXPECT_FALSE(shown->PopupMenu1->isVisible());
}

TEST_F(FileSetRunInWindow, ClosingTheProgramDuringARunStopsIt)
{
    for (const char* name : {"a.doc", "b.doc", "c.doc"})
        file(QString::fromUtf8(name));
    onConvert = [this](const QString&) {
        if (log.count() == 2)
            handToThreadOf(form.get(), [this] { EXPECT_TRUE(form->close()); });
    };
    run();
    EXPECT_EQ(log.size(), 3) << log.join(u'|').toStdString();  // start, one conversion, stop
    EXPECT_EQ(boxes, QStringList{"Průběh byl zastaven."});
}

TEST_F(FileSetRunInWindow, EscapePressesStopWhileItIsEnabled)
{
    import->show();
    import->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(import.get()));
    QTest::keyClick(shown->Memo1, Qt::Key_Escape);
    EXPECT_FALSE(import->stopRequested());
    shown->Zastavit_Button->setEnabled(true);
    import->show();
    import->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(import.get()));
    QTest::keyClick(shown->Memo1, Qt::Key_Escape);
    EXPECT_TRUE(import->stopRequested());
}

TEST_F(FileSetRunInWindow, TheRunNeedsNoWindow)
{
    file(QStringLiteral("a.doc"));
    file(QStringLiteral("zlý.doc"));
    file(QStringLiteral("b.doc"));
    file(QStringLiteral("b.doc.txt"), "b.doc\r\nUlice 2\r\n");  // the user's own
    ReviewListModel found;
    QStringList notices;
    QString shown;
    bool stop = false;
    FileSetRun::Hooks hooks;
    hooks.status = [this](const QString& text) { statuses << text; };
    hooks.notice = [&](const QString& text) { notices << text; };
    hooks.deleteGeneratedFiles = [] { return true; };
    hooks.showFilteredText = [&](const QString& text) { shown = text; };
    hooks.serveEvents = [] {};
    hooks.listComplete = [] {};
    FileSetRun run(std::move(hooks), found, [this] { return std::make_unique<FakeConverter>(log, root); }, 1000);
    run.run(root, dir.file(QStringLiteral("Jan Novák/Data (účetní)/hledani/adresy.txt")), stop);

    EXPECT_EQ(found.texts(), (QStringList{"1. filtr|Ulice 1", "1. filtr|Ulice 2", "2. filtr|a.doc", "2. filtr|b.doc"}));
    EXPECT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.value(0).endsWith(QStringLiteral("zlý.doc\npoškozený soubor")));
    EXPECT_EQ(statuses.last(), QStringLiteral("Hotovo."));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("a.doc.txt"))) << "the run's own text file stayed";
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("b.doc.txt"))) << "the user's text file was deleted";
}
