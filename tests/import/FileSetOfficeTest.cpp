// The file-set run with the real office: a tree of documents made by the
// office itself, converted by the run's private office, filtered.
#include "ImportFixture.h"
#include "PrivateWriter.h"
#include "common/Win1250.h"
#include "import/FileGathering.h"
#include "platform/PrivateOfficeConverter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTcpServer>

#include <csignal>
#include <sys/stat.h>

using namespace vorlin;
using namespace vorlin::test;

namespace {

// The run's real converter, with each document it is given written down.
// A document named "visí…" freezes the office (SIGSTOP) as a hanging one does.
class ConverterLog : public platform::DocumentConverter {
public:
    ConverterLog(QStringList& converted, bool networkNamespace) : converted(converted)
    {
        office.networkNamespace = networkNamespace;
    }
    void prepare() override { office.prepare(); }
    void start() override { office.start(); }
    void convert(const QString& document, const QString& textFile) override
    {
        converted << document;
        if (document.contains(QStringLiteral("visí")))
            ::kill(pid_t(office.processId()), SIGSTOP);
        office.convert(document, textFile);
    }
    void kill() override { office.kill(); }
    void stop() override { office.stop(); }
    bool running() const override { return office.running(); }

    QStringList& converted;
    platform::PrivateOfficeConverter office;
};

class FileSetOffice : public Import {
protected:
    static void SetUpTestSuite()
    {
        // Told in each case, not here: a suite whose set-up fails counts its
        // cases as skipped, which would hide an office that does not start.
        maker = new PrivateWriter;
        maker->headless = true;
        makerStarted = maker->start();
    }
    static void TearDownTestSuite()
    {
        delete maker;
        maker = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(makerStarted) << "the office that makes the documents did not start";
        Import::SetUp();
        root = dir.file(QStringLiteral("spisy/"));
        chooseFolder = [this] { return root; };
        makeConverter = [this] {
            auto log = std::make_unique<ConverterLog>(converted, networkNamespace);
            lastLog = log.get();
            return log;
        };
    }

    void document(const QString& name, const QString& text)
    {
        QDir().mkpath(QFileInfo(root + name).path());
        const char* filter = name.endsWith(QStringLiteral(".doc"), Qt::CaseInsensitive) ? "MS Word 97" : "MS Word 2007 XML";
        ASSERT_TRUE(maker->saveDocument(root + name, text, filter)) << name.toStdString();
    }

    void run(MessageBox::Button deleteAnswer)
    {
        ModalAnswerer answerer([&](const MessageBox::Shown& box) {
            boxes << box.text;
            return box.indexOf(box.indexOf(MessageBox::Yes) >= 0 ? deleteAnswer : MessageBox::Ok);
        }, {}, 60000);
        import->PopupMenuItemsClick2(QStringLiteral("adresy.txt"));
    }

    QByteArray bytes(const QString& name)
    {
        QFile in(root + name);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
    }

    static PrivateWriter* maker;
    static bool makerStarted;
    QString root;
    QStringList converted;
    QStringList boxes;
    bool networkNamespace = true;
    ConverterLog* lastLog = nullptr;
};

PrivateWriter* FileSetOffice::maker = nullptr;
bool FileSetOffice::makerStarted = false;

}  // namespace

TEST_F(FileSetOffice, TheOfficeStartsWhileTheFolderIsChosenAndEndsWhenNoneIs)
{
    document(QStringLiteral("smlouva.docx"), QStringLiteral("Nádražní 12\n602 00 Brno"));
    filter("[^\\r\\n\\d ]+ \\d+\\r\\n\\d{3} \\d{2} [^\\r\\n]+", "adresy.txt");
    const auto running = [](qint64 process) { return process > 0 && ::kill(pid_t(process), 0) == 0; };
    for (const bool chosen : {true, false}) {
        SCOPED_TRACE(chosen ? "a folder chosen" : "none chosen");
        qint64 office = 0;
        chooseFolder = [&] {
            office = lastLog->office.processId();
            // The user looks for the folder while the office makes its
            // profile and ends, asking to be started again.
            QElapsedTimer looking;
            looking.start();
            while (lastLog->office.processId() == office && looking.elapsed() < 20000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            return chosen ? root : QString();
        };
        run(MessageBox::No);
        EXPECT_TRUE(office > 0) << "no office was started before the folder was asked for";
        if (chosen) {
            EXPECT_EQ(shown->items->texts(), QStringList{QStringLiteral("1. filtr|Nádražní 12\r\n602 00 Brno")});
            EXPECT_EQ(converted, QStringList{root + QStringLiteral("smlouva.docx")});
        }
        EXPECT_FALSE(running(office)) << "the office outlived the run";
        converted.clear();
    }
}

TEST_F(FileSetOffice, ATreeOfDocumentsIsConvertedFilteredAndCleanedUp)
{
    document(QStringLiteral("smlouva.doc"), QStringLiteral("Smlouva o dílo\nKrajský soud v Brně\nRooseveltova 16\n601 95 Brno"));
    document(QStringLiteral("Dopis.DOCX"), QStringLiteral("Vážený pane,\nŽďárská 5\n612 00 Brno\nαβ Ж → € „ok“"));
    document(QStringLiteral("2020/leden/výzva.docx"), QStringLiteral("Výzva\nNádražní 12\n602 00 Brno"));
    document(QStringLiteral("2020/žaloba.doc"), QStringLiteral("Žaloba\nHlavní 1\n110 00 Praha"));
    document(QStringLiteral(".skryta/nevidet.docx"), QStringLiteral("Tajná 1\n100 00 Praha"));
    document(QStringLiteral(".koncept.docx"), QStringLiteral("Skrytá 7\n779 00 Olomouc"));
    dir.write(QStringLiteral("spisy/poznamka.txt"), win1250::encode(QStringLiteral("Pražská 3\r\n400 01 Ústí")));
    QByteArray noise(4096, '\0');
    QRandomGenerator random(7);
    for (char& c : noise)
        c = char(random.bounded(256));
    dir.write(QStringLiteral("spisy/rozbity.docx"), noise);
    filter("[^\\r\\n\\d ]+ \\d+\\r\\n\\d{3} \\d{2} [^\\r\\n]+", "adresy.txt");

    run(MessageBox::No);

    // The documents in the run's order: doc files first, each level's files
    // before its folders; dot-folders not entered; the hidden file found.
    QStringList expected;
    bool stop = false;
    gatherFiles(expected, root, QStringLiteral("*.doc"), stop);
    gatherFiles(expected, root, QStringLiteral("*.docx"), stop);
    EXPECT_EQ(converted, expected);
    QStringList names;
    for (const QString& path : converted)
        names << path.mid(root.size());
    names.sort();
    EXPECT_EQ(names, (QStringList{".koncept.docx", "2020/leden/výzva.docx", "2020/žaloba.doc", "Dopis.DOCX",
                                  "rozbity.docx", "smlouva.doc"}));

    // Windows-1250, CR LF, "?" for what the code page lacks.
    EXPECT_EQ(bytes(QStringLiteral("Dopis.DOCX.txt")),
              win1250::encode(QStringLiteral("Vážený pane,\r\nŽďárská 5\r\n612 00 Brno\r\n?? ? ? € „ok“\r\n")));
    EXPECT_EQ(bytes(QStringLiteral("smlouva.doc.txt")),
              win1250::encode(QStringLiteral("Smlouva o dílo\r\nKrajský soud v Brně\r\nRooseveltova 16\r\n601 95 Brno\r\n")));
    // The file that is no document: reported, and the run went on.
    EXPECT_TRUE(boxes.value(0).startsWith(QStringLiteral("Chyba při převodu souboru MS WOrd na text. \n%1rozbity.docx\n").arg(root)))
        << boxes.value(0).toStdString();
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("rozbity.docx.txt")));
    EXPECT_EQ(boxes.value(1), QStringLiteral("Chcete vymazat vygenerované soubory txt?"));

    QStringList found = shown->items->texts();
    for (QString& item : found)
        item.replace(QStringLiteral("\r\n"), QStringLiteral("/"));
    EXPECT_EQ(found, (QStringList{"1. filtr|Hlavní 1/110 00 Praha", "1. filtr|Nádražní 12/602 00 Brno",
                                  "1. filtr|Pražská 3/400 01 Ústí", "1. filtr|Rooseveltova 16/601 95 Brno",
                                  "1. filtr|Skrytá 7/779 00 Olomouc", "1. filtr|Žďárská 5/612 00 Brno"}));

    // A second run converts nothing again; its Yes removes only what it
    // wrote itself, which is nothing.
    converted.clear();
    boxes.clear();
    run(MessageBox::Yes);
    EXPECT_EQ(converted, QStringList{root + QStringLiteral("rozbity.docx")});
    for (const QString& name : names)
        EXPECT_EQ(QFile::exists(root + name + QStringLiteral(".txt")), name != "rozbity.docx") << name.toStdString();
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("poznamka.txt")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("smlouva.doc")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral(".skryta/nevidet.docx")));
}

namespace {

// Every connection made to it, by anyone, is counted.
class ProbeServer : public QTcpServer {
public:
    ProbeServer()
    {
        EXPECT_TRUE(listen(QHostAddress::LocalHost));
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                ++connections;
                socket->write("HTTP/1.0 200 OK\r\n\r\nx");
                socket->disconnectFromHost();
            }
        });
    }
    QString url(const char* file) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(file); }
    int connections = 0;
};

// A docx whose document part is the given XML body, zipped by the zip tool.
void writeDocx(const QString& path, const QByteArray& body)
{
    TempDir parts;
    parts.write(QStringLiteral("[Content_Types].xml"),
                R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
                R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
                R"(<Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" )"
                R"(ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)");
    parts.write(QStringLiteral("_rels/.rels"),
                R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" )"
                R"(Target="word/document.xml"/></Relationships>)");
    parts.write(QStringLiteral("word/document.xml"),
                R"(<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
                    + body + "</w:body></w:document>");
    QProcess zip;
    zip.setWorkingDirectory(parts.path());
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-r"), path, QStringLiteral("[Content_Types].xml"),
                                      QStringLiteral("_rels"), QStringLiteral("word")});
    ASSERT_TRUE(zip.waitForFinished(60000) && zip.exitCode() == 0) << zip.readAllStandardError().toStdString();
}

QByteArray paragraphs(const QByteArray& text, int times)
{
    return QByteArray("<w:p><w:r><w:t>" + text + "</w:t></w:r></w:p>").repeated(times);
}

}  // namespace

// Trees as a colleague's folder may hold them, through the real private
// office: what comes out, what is reported, what stays of the user's files.
TEST_F(FileSetOffice, HostileTreesAreConvertedWithoutNetworkOrLossAndEveryFailureIsNamed)
{
    ProbeServer probe;
    const auto text = [this](const QString& name, const QByteArray& bytes) {
        QFile out(root + name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    };
    const QByteArray address = paragraphs("Nádražní 12", 1) + paragraphs("602 00 Brno", 1);
    // An HTML page named .doc with a stylesheet and an image on the server, and
    // a docx with a linked picture there.
    const auto pointAtServer = [&] {
        text(QStringLiteral("stranka.doc"),
             QStringLiteral("<html><head><link rel=\"stylesheet\" href=\"%1\"></head><body>"
                            "<img src=\"%2\"><p>Hlavní 1</p><p>110 00 Praha</p></body></html>")
                 .arg(probe.url("styl.css"), probe.url("obr.png"))
                 .toUtf8());
        writeDocx(root + QStringLiteral("odkaz.docx"),
                  address + QStringLiteral("<w:p><w:fldSimple w:instr=\"INCLUDEPICTURE &quot;%1&quot; \\d\"/></w:p>")
                                .arg(probe.url("logo.png")).toUtf8());
    };
    struct Tree {
        const char* name;
        std::function<void()> make;
        QStringList candidates;  // "/" for the line breaks
        QStringList boxStarts;   // before the deletion question
        QStringList keptTexts;   // text files still there after Yes
        int timeoutMs = 120000;
        bool networkNamespace = true;
    };
    const QList<Tree> trees{
        {"documents that point at a server", pointAtServer,
         {"1. filtr|Hlavní 1/110 00 Praha", "1. filtr|Nádražní 12/602 00 Brno"}, {}, {}},
        {"documents that point at a server, the office kept off by the system-call filter", pointAtServer,
         {"1. filtr|Hlavní 1/110 00 Praha", "1. filtr|Nádražní 12/602 00 Brno"}, {}, {}, 120000, false},
        {"a document that hangs the office, then one that converts",
         [&] {
             writeDocx(root + QStringLiteral("a_visí.docx"), paragraphs("Tichá 3", 1) + paragraphs("100 00 Praha", 1));
             writeDocx(root + QStringLiteral("b.docx"), address);
         },
         {"1. filtr|Nádražní 12/602 00 Brno"}, {"Chyba při převodu souboru MS WOrd na text. \n%1a_visí.docx\nPřevod trval"}, {}, 3000},
        {"a bomb of paragraphs, then a document that converts",
         [&] {
             writeDocx(root + QStringLiteral("a_bomba.docx"), paragraphs("Nádražní 12", 3000000));
             writeDocx(root + QStringLiteral("b.docx"), address);
         },
         // The office ends under its memory limit, or now and then hangs in
         // its own crash handler until the run's time limit: either is named.
         {"1. filtr|Nádražní 12/602 00 Brno"}, {"Chyba při převodu souboru MS WOrd na text. \n%1a_bomba.docx\n"}, {}},
        {"the user's own text beside a document, texts in UTF-8 and Windows-1250",
         [&] {
             writeDocx(root + QStringLiteral("smlouva.docx"), address);
             text(QStringLiteral("smlouva.docx.txt"), "Moje 5\r\n100 00 Praha");
             text(QStringLiteral("utf8.txt"), QStringLiteral("Říčanská 7\n251 01 Říčany").toUtf8());
             text(QStringLiteral("bom.txt"), "\xEF\xBB\xBF" + QStringLiteral("Žižkova 2\n586 01 Jihlava").toUtf8());
             text(QStringLiteral("1250.txt"), win1250::encode(QStringLiteral("Šumavská 9\r\n370 01 Budějovice")));
         },
         {"1. filtr|Moje 5/100 00 Praha", "1. filtr|Šumavská 9/370 01 Budějovice", "1. filtr|Žižkova 2/586 01 Jihlava",
          "1. filtr|Říčanská 7/251 01 Říčany"}, {}, {"smlouva.docx.txt", "utf8.txt", "bom.txt", "1250.txt"}},
        {"a folder whose name is not UTF-8",
         [&] {
             const QByteArray folder = QFile::encodeName(root) + "p\xF8\xEDloha";
             ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
             writeDocx(root + QStringLiteral("x.docx"), address);
             ASSERT_EQ(::rename(QFile::encodeName(root + QStringLiteral("x.docx")).constData(), (folder + "/x.docx").constData()), 0);
         },
         {}, {"Tyto složky a soubory nebyly zpracovány, protože jejich název není v kódování UTF-8"}, {}},
    };
    filter("[^\\r\\n\\d<>]+ \\d+\\r\\n\\d{3} \\d{2} [^\\r\\n<>]+", "adresy.txt");
    for (int i = 0; i < trees.size(); ++i) {
        const Tree& tree = trees[i];
        SCOPED_TRACE(tree.name);
        root = dir.file(QStringLiteral("strom%1/spisy/").arg(i));
        QDir().mkpath(root);
        tree.make();
        boxes.clear();
        import->conversionTimeoutMs = tree.timeoutMs;
        networkNamespace = tree.networkNamespace;
        run(MessageBox::Yes);

        QStringList found = shown->items->texts();
        for (QString& item : found)
            item.replace(QStringLiteral("\r\n"), QStringLiteral("/"));
        found.sort();
        QStringList candidates = tree.candidates;
        candidates.sort();
        EXPECT_EQ(found, candidates);
        ASSERT_EQ(boxes.size(), tree.boxStarts.size() + 1) << boxes.join(u'|').toStdString();
        for (int b = 0; b < tree.boxStarts.size(); ++b)
            EXPECT_TRUE(boxes[b].startsWith(QString(tree.boxStarts[b]).replace(QStringLiteral("%1"), root))) << boxes[b].toStdString();
        EXPECT_EQ(boxes.last(), QStringLiteral("Chcete vymazat vygenerované soubory txt?"));
        QStringList textsLeft = QDir(root).entryList({QStringLiteral("*.txt")}, QDir::Files);
        textsLeft.sort();
        QStringList kept = tree.keptTexts;
        kept.sort();
        EXPECT_EQ(textsLeft, kept);
    }
    EXPECT_EQ(probe.connections, 0);
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), dir.path()});  // names Qt cannot remove
}
