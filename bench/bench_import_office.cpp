// Converting documents for the file-set run: the private office's start, and
// 200 generated documents (half doc, half docx) through it, against the
// office's own command line started once per file; the whole folder import
// of the same documents (converted by two offices at once, then filtered)
// against one batch call of the office's command line over them.
#include "PrivateWriter.h"
#include "ui/shell/VorlinApplication.h"
#include "bench/Measure.h"
#include "platform/PrivateOfficeConverter.h"
#include "platform/UnoContext.h"
#include "import/FileSetRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

using namespace vorlin;
using namespace vorlin::bench;

int main(int argc, char** argv)
{
    VorlinApplication app(argc, argv);
    QTemporaryDir folder;
    test::PrivateWriter maker;
    maker.headless = true;
    if (!maker.start()) {
        std::printf("bench_import_office: the office did not start\n");
        return 1;
    }
    QStringList documents;
    for (int i = 0; i < 200; ++i) {
        const bool doc = i % 2 == 0;
        const QString path = folder.filePath(QStringLiteral("dopis%1.%2").arg(i).arg(doc ? "doc" : "docx"));
        QString text;
        for (int line = 0; line < 30; ++line)
            text += QStringLiteral("Odstavec %1 dopisu %2: Krajský soud v Brně, Rooseveltova 16, 601 95 Brno.\n").arg(line).arg(i);
        if (!maker.saveDocument(path, text, doc ? "MS Word 97" : "MS Word 2007 XML"))
            return 1;
        documents << path;
    }
    maker.stop();

    platform::PrivateOfficeConverter converter;
    QElapsedTimer timer;
    timer.start();
    converter.start();
    report("import_private_office_start", double(timer.nsecsElapsed()) / 1e6, "ms");

    timer.restart();
    for (const QString& document : documents)
        converter.convert(document, document + QStringLiteral(".txt"));
    const double privateSeconds = double(timer.nsecsElapsed()) / 1e9;
    converter.stop();
    report("import_private_office_200_documents", privateSeconds, "s");
    report("import_private_office_rate", 200 / privateSeconds, "documents/s");
    // Two seconds, the window serving its events, as the user looks for a folder.
    const auto lookForTheFolder = [] {
        QElapsedTimer choosing;
        choosing.start();
        while (choosing.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    {
        // Started while the user looks for the folder (two seconds here):
        // what is left to wait for once it is chosen.
        platform::PrivateOfficeConverter early;
        early.prepare();
        lookForTheFolder();
        QElapsedTimer left;
        left.start();
        early.start();
        report("import_private_office_start_after_2s_in_the_folder_dialog", double(left.nsecsElapsed()) / 1e6, "ms");
    }

    // The command line, a new office per file, over the first 20 documents.
    QTemporaryDir profile;
    QTemporaryDir out;
    timer.restart();
    for (int i = 0; i < 20; ++i) {
        QProcess office;
        office.start(platform::officeProgramDir() + QStringLiteral("/soffice"),
                     {QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                      QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):MS_1250,CRLF,,"),
                      QStringLiteral("--outdir"), out.path(), documents[i]});
        office.waitForFinished(120000);
    }
    const double commandLineSeconds = double(timer.nsecsElapsed()) / 1e9;
    report("import_convert_to_rate", 20 / commandLineSeconds, "documents/s");
    report("import_private_office_speedup", (200 / privateSeconds) / (20 / commandLineSeconds), "x");

    // The folder import as the window runs it, the texts of the first
    // conversions gone first.
    for (const QString& document : documents)
        QFile::remove(document + QStringLiteral(".txt"));
    ReviewListModel items;
    FileSetRun::Hooks hooks{.status = [](const QString&) {},
                            .notice = [](const QString& text) { std::printf("notice: %s\n", qPrintable(text)); },
                            .deleteGeneratedFiles = [] { return true; },
                            .showFilteredText = [](const QString&) {},
                            .serveEvents = [] { QCoreApplication::processEvents(); },
                            .listComplete = [] {}};
    const bool notStopped = false;
    timer.restart();
    FileSetRun(hooks, items, [] { return std::make_unique<platform::PrivateOfficeConverter>(); }, 120000)
        .run(folder.path() + u'/', QCoreApplication::applicationDirPath() + QStringLiteral("/../app/filtr_adres.txt"),
             notStopped);
    const double folderSeconds = double(timer.nsecsElapsed()) / 1e9;
    report("import_folder_200_documents", folderSeconds, "s");
    report("import_folder_200_documents_candidates", items.rowCount(), "rows");

    // The same as the window runs it: both offices started while the user
    // looks for the folder (two seconds here), the time from the folder
    // chosen.
    for (const QString& document : documents)
        QFile::remove(document + QStringLiteral(".txt"));
    std::vector<std::unique_ptr<platform::DocumentConverter>> early;
    for (int office = 0; office < 2; ++office) {
        early.push_back(std::make_unique<platform::PrivateOfficeConverter>());
        early.back()->prepare();
    }
    lookForTheFolder();
    ReviewListModel laterItems;
    timer.restart();
    FileSetRun(hooks, laterItems,
               [&early] {
                   std::unique_ptr<platform::DocumentConverter> next = std::move(early.front());
                   early.erase(early.begin());
                   return next;
               },
               120000)
        .run(folder.path() + u'/', QCoreApplication::applicationDirPath() + QStringLiteral("/../app/filtr_adres.txt"),
             notStopped);
    const double chosenSeconds = double(timer.nsecsElapsed()) / 1e9;
    report("import_folder_200_documents_from_the_folder_chosen", chosenSeconds, "s");

    // One batch call of the command line over the same documents.
    QTemporaryDir batchOut;
    QProcess batch;
    timer.restart();
    batch.start(platform::officeProgramDir() + QStringLiteral("/soffice"),
                QStringList{QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                            QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):MS_1250,CRLF,,"),
                            QStringLiteral("--outdir"), batchOut.path()}
                    + documents);
    batch.waitForFinished(600000);
    const double batchSeconds = double(timer.nsecsElapsed()) / 1e9;
    report("import_batch_convert_to_200_documents", batchSeconds, "s");
    report("import_folder_vs_batch_convert_to", folderSeconds / batchSeconds, "x");
    report("import_folder_from_the_folder_chosen_vs_batch_convert_to", chosenSeconds / batchSeconds, "x");
    return 0;
}
