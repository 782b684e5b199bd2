// The snippet store on generated databases of 10,000 and 100,000 snippets:
// opening the whole table, a search (close + reopen with a two-word filter),
// moving to another row (its body read), and the memory the rows take. The
// same search statement is also run by SQLite alone with its built-in LIKE,
// for comparison.
#include "bench/Measure.h"
#include "bench/Memory.h"
#include "bench/SnippetGenerator.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "db/Sqlite.h"
#include "db/Selection.h"

#include <QCoreApplication>
#include <QLocale>
#include <QDir>

#include <sqlite3.h>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

const QString kTwoWords =
    QStringLiteral("((nazev like '%novák%') or (tag like '%novák%') or (nazev like '%brno%') or (tag like '%brno%'))");

// The search statement with SQLite's own LIKE, every row stepped and its
// columns read, as the query reads them.
double plainSqliteMicroseconds(const QString& file, const QString& sql)
{
    db::Database database(file);
    return medianMicroseconds(15, [&] {
        db::Statement statement(database, sql);
        while (statement.step()) {
            for (int column = 0; column < statement.columnCount(); ++column)
                sqlite3_column_text(statement.handle(), column);
        }
    });
}

void run(int rows)
{
    useGeneratedDataFolder(rows);
    const QString dataDir = paths().dataDir;
    const QString size = rows >= 100000 ? QStringLiteral("100k") : QStringLiteral("10k");
    const auto name = [&](const char* what) { return (QString::fromUtf8(what) + u'_' + size).toStdString(); };

    const double before = residentMegabytes();
    TDM dm;
    auto& query = dm.Vorlin_ADOQuery;
    const double openUs = medianMicroseconds(1, [&] { dm.DataModuleCreate(); });
    report(name("store_open_all"), openUs / 1000.0, "ms");
    report(name("store_memory_growth_after_open"), residentMegabytes() - before, "MB");
    report(name("store_rows_held"), double(query.memoryBytes()) / (1024.0 * 1024.0), "MB");

    const double reopenAllUs = medianMicroseconds(15, [&] {
        query.close();
        query.open();
    });
    report(name("store_reopen_all_median"), reopenAllUs / 1000.0, "ms");

    const db::Selection all = query.selection();
    db::Selection twoWords = all;
    QList<db::LikeTerm> eitherWord;
    for (const char* word : {"%novák%", "%brno%"})
        eitherWord << db::LikeTerm{QStringLiteral("nazev"), QString::fromUtf8(word)}
                   << db::LikeTerm{QStringLiteral("tag"), QString::fromUtf8(word)};
    twoWords.filter = {eitherWord};
    query.setSelection(twoWords);
    const double searchUs = medianMicroseconds(15, [&] {
        query.close();
        query.open();
    });
    report(name("store_reopen_two_word_search_median"), searchUs / 1000.0, "ms");
    report(name("store_two_word_search_rows"), query.recordCount(), "rows");

    const QString statement =
        QStringLiteral("SELECT ID, nazev, druh, tag FROM vorlin WHERE %1 ORDER BY nazev ASC").arg(kTwoWords);
    const double plainUs = plainSqliteMicroseconds(libraryFileIn(dataDir), statement);
    report(name("sqlite_builtin_like_same_search_median"), plainUs / 1000.0, "ms");
    report(name("store_search_vs_sqlite_ratio"), searchUs / plainUs, "x");

    query.setSelection(all);
    query.open();
    int row = 0;
    const double moveUs = medianMicroseconds(201, [&] {
        row = (row + 7919) % query.recordCount();
        query.moveTo(row);
        (void)query.value(QStringLiteral("obsah"));
    });
    report(name("store_move_row_with_body_median"), moveUs / 1000.0, "ms");

    db::Selection byKind = all;
    byKind.orderColumn = QStringLiteral("druh");
    byKind.descending = true;
    query.setSelection(byKind);
    const double sortUs = medianMicroseconds(9, [&] {
        query.close();
        query.open();
    });
    report(name("store_reopen_sorted_by_kind_desc_median"), sortUs / 1000.0, "ms");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Lists sort in the user's alphabetical order: Czech, as its users have it.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    run(10000);
    run(100000);
    return 0;
}
