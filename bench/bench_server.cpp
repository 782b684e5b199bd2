// The office library on a PostgreSQL server of the benchmark's own, on
// loopback, with 100,000 snippets: moving them there, the start (the first
// one copying the library here in the background, the next ones catching
// the copy up), a
// search keystroke beside the same on this computer's file, a colleague's
// save until the other copy shows it, the start after 1,000 changes
// made while the program was not running, a bulk change and a wipe by one
// statement until another copy shows them, and the start while the server's
// host does not answer.
#include "bench/Measure.h"
#include "bench/SnippetGenerator.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "data/LibraryUpload.h"
#include "data/SnippetSearch.h"
#include "db/PostgresStore.h"
#include "db/ServerMirror.h"
#include "support/PostgresServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QThread>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

std::unique_ptr<TDM> started(const LibraryAddress& library, double* ms = nullptr)
{
    auto data = std::make_unique<TDM>();
    data->library = library;
    QElapsedTimer timer;
    timer.start();
    data->DataModuleCreate();
    if (ms)
        *ms = msSince(timer);
    return data;
}

double keystrokeMs(TDM& data, const char* word)
{
    search::SnippetSearch search;
    search.words = {QString::fromUtf8(word)};
    const db::Selection selection = search::selectionOf(search);
    db::Query& query = data.Vorlin_ADOQuery;
    return medianMicroseconds(9, [&] {
               query.setSelection(selection);
               query.open();
           })
        / 1000.0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    useGeneratedDataFolder(100000);
    test::PostgresServer& server = test::PostgresServer::shared();
    const LibraryAddress library{server.uri(server.newDatabase()), QStringLiteral("vorlin")};

    {
        db::PostgresStore store({library.server, library.user, QString(), QString()});
        QElapsedTimer timer;
        timer.start();
        const auto done = uploadLocalLibrary(libraryFileIn(paths().dataDir), store);
        report("server_upload_100k", msSince(timer) / 1000.0, "s");
        report("server_upload_100k_sent", done.sent, "rows");
    }

    // The first start on a computer: the copy here is made in the background.
    const QString mirror = paths().dataDir + QStringLiteral("knihovna_serveru.mdb");
    QFile::remove(mirror);
    double ms = 0;
    {
        // Closed at once: the copy begun is left for the next start.
        std::unique_ptr<TDM> first = started(library);
        QThread::msleep(200);
        QElapsedTimer timer;
        timer.start();
        first.reset();
        report("server_close_during_first_copy_100k", msSince(timer), "ms");
    }
    {
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<TDM> first = started(library, &ms);
        report("server_start_first_100k", ms, "ms");
        while (!db::ServerMirror::holdsCopyOf(mirror, library.server))
            QThread::msleep(20);
        report("server_first_copy_made_100k", msSince(timer), "ms");
    }
    std::vector<double> starts;
    for (int round = 0; round < 5; ++round) {
        started(library, &ms);
        starts.push_back(ms);
    }
    std::sort(starts.begin(), starts.end());
    report("server_start_100k_median", starts[starts.size() / 2], "ms");

    std::unique_ptr<TDM> mine = started(library);
    std::unique_ptr<TDM> local = started(LibraryAddress{});
    for (const char* word : {"z", "4711"}) {
        report(std::string("server_keystroke_") + word + "_100k", keystrokeMs(*mine, word), "ms");
        report(std::string("file_keystroke_") + word + "_100k", keystrokeMs(*local, word), "ms");
    }
    local.reset();

    // A colleague saves; the time until this copy's list shows it.
    mine->Vorlin_ADOQuery.setSelection(search::selectionOf({}));
    mine->Vorlin_ADOQuery.open();
    std::unique_ptr<TDM> colleague = started(library);
    db::Query& theirs = colleague->Vorlin_ADOQuery;
    std::vector<double> shown;
    for (int round = 0; round < 15; ++round) {
        QSignalSpy refreshed(&mine->Vorlin_ADOQuery, &db::Query::rowsRefreshed);
        theirs.moveTo(round * 1000);
        theirs.edit();
        theirs.setValue(QStringLiteral("tag"), QStringLiteral("změna %1").arg(round));
        QElapsedTimer timer;
        timer.start();
        theirs.post();
        if (!refreshed.wait(5000))
            report("server_colleague_save_not_shown", round, "round");
        shown.push_back(msSince(timer));
    }
    std::sort(shown.begin(), shown.end());
    report("server_colleague_save_shown_median", shown[shown.size() / 2], "ms");
    report("server_colleague_save_shown_slowest", shown.back(), "ms");
    colleague.reset();
    mine.reset();

    // Changes made while the program was closed: its copy here catches up.
    server.run(library.server.section(u'/', -1),
               QStringLiteral("UPDATE vorlin SET tag = coalesce(tag, '') || ' upraveno' WHERE \"ID\" <= 1000"));
    started(library, &ms);
    report("server_start_after_1000_changes_100k", ms, "ms");

    // A bulk change: every snippet's keywords rewritten by one statement,
    // then the whole library wiped; the time until another copy shows it.
    mine = started(library);
    colleague = started(library);
    mine->Vorlin_ADOQuery.open();
    const auto bulk = [&](const char* name, const QString& sql) {
        // A refresh ends by saying where the current row is, whether the
        // rows stayed as many (the keywords) or went (the wipe).
        QSignalSpy refreshed(&mine->Vorlin_ADOQuery, &db::Query::scrolled);
        QElapsedTimer timer;
        timer.start();
        colleague->ADOCommand1.setCommandText(sql);
        colleague->ADOCommand1.execute();
        report(std::string("server_") + name + "_statement_100k", msSince(timer), "ms");
        if (!refreshed.wait(60000))
            report(std::string("server_") + name + "_not_shown", 1, "");
        report(std::string("server_") + name + "_shown_100k", msSince(timer), "ms");
    };
    bulk("bulk_update", QStringLiteral("UPDATE vorlin SET tag = 'hromadně'"));
    bulk("wipe", QStringLiteral("DELETE * FROM vorlin"));
    report("server_wipe_rows_left_shown", mine->Vorlin_ADOQuery.recordCount(), "rows");
    colleague.reset();
    mine.reset();

    // The server's host does not answer (a cable pulled, a firewall): the
    // start shows the copy kept here.
    server.kill();
    QTcpServer silent;
    silent.listen(QHostAddress::LocalHost, quint16(server.port()));
    started(library, &ms);
    report("server_start_host_silent", ms, "ms");
    silent.close();
    server.start();
    return 0;
}
