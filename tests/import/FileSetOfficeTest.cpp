// The file-set run with the real office: a tree of documents made by the
// office itself, converted by the run's private office, filtered.
#include "ImportFixture.h"
#include "PrivateWriter.h"
#include "common/Win1250.h"
#include "import/FileGathering.h"
#include "platform/PrivateOfficeConverter.h"

#include <QDir>
#include <QRandomGenerator>

using namespace vorlin;
using namespace vorlin::test;

namespace {

// The run's real converter, with each document it is given written down.
class ConverterLog : public platform::DocumentConverter {
public:
    explicit ConverterLog(QStringList& converted) : converted(converted) {}
    void start() override { office.start(); }
    void convert(const QString& document, const QString& textFile) override
    {
        converted << document;
        office.convert(document, textFile);
    }
    void kill() override { office.kill(); }
    void stop() override { office.stop(); }

    QStringList& converted;
    platform::PrivateOfficeConverter office;
};

class FileSetOffice : public Import {
protected:
    static void SetUpTestSuite()
    {
        maker = new PrivateWriter;
        maker->headless = true;
        ASSERT_TRUE(maker->start()) << "the office did not start";
    }
    static void TearDownTestSuite()
    {
        delete maker;
        maker = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(maker);
        Import::SetUp();
        root = dir.file(QStringLiteral("spisy/"));
        import->chooseFolder = [this] { return root; };
        import->makeConverter = [this] { return std::make_unique<ConverterLog>(converted); };
    }

    void document(const QString& name, const QString& text)
    {
        QDir().mkpath(QFileInfo(root + name).path());
        const char* filter = name.endsWith(QStringLiteral(".doc"), Qt::CaseInsensitive) ? "MS Word 97" : "MS Word 2007 XML";
        ASSERT_TRUE(maker->saveDocument(root + name, text, filter)) << name.toStdString();
    }

    void run(QMessageBox::StandardButton deleteAnswer)
    {
        ModalAnswerer answerer([&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            ASSERT_NE(box, nullptr);
            boxes << box->text();
            box->button(box->standardButtons() & QMessageBox::Yes ? deleteAnswer : QMessageBox::Ok)->click();
        }, 60000);
        import->PopupMenuItemsClick2(QStringLiteral("adresy.txt"));
    }

    QByteArray bytes(const QString& name)
    {
        QFile in(root + name);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
    }

    static PrivateWriter* maker;
    QString root;
    QStringList converted;
    QStringList boxes;
};

PrivateWriter* FileSetOffice::maker = nullptr;

}  // namespace

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

    run(QMessageBox::No);

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
    EXPECT_EQ(boxes.value(0), QStringLiteral("Chyba při převodu souboru MS WOrd na text. "));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("rozbity.docx.txt")));
    EXPECT_EQ(boxes.value(1), QStringLiteral("Chcete vymazat vygenerované soubory txt?"));

    QStringList found = import->items->texts();
    for (QString& item : found)
        item.replace(QStringLiteral("\r\n"), QStringLiteral("/"));
    EXPECT_EQ(found, (QStringList{"1. filtr|Hlavní 1/110 00 Praha", "1. filtr|Nádražní 12/602 00 Brno",
                                  "1. filtr|Pražská 3/400 01 Ústí", "1. filtr|Rooseveltova 16/601 95 Brno",
                                  "1. filtr|Skrytá 7/779 00 Olomouc", "1. filtr|Žďárská 5/612 00 Brno"}));

    // A second run converts nothing again; Yes removes what was generated.
    converted.clear();
    boxes.clear();
    run(QMessageBox::Yes);
    EXPECT_EQ(converted, QStringList{root + QStringLiteral("rozbity.docx")});
    for (const QString& name : names)
        EXPECT_FALSE(QFile::exists(root + name + QStringLiteral(".txt"))) << name.toStdString();
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("poznamka.txt")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("smlouva.doc")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral(".skryta/nevidet.docx")));
}
