// The snippet query at 100,000 and 1,000,000 snippets, in the Czech order and
// in a language the system's collation library orders (English): opening,
// a keystroke of the search (a short word matching many rows, a long one
// matching few), a title click, and the memory held. Each beside its floor:
// the names scanned in memory by the plainest loop, and the same search
// statement run by SQLite with its own LIKE.
#include "bench/Measure.h"
#include "bench/Memory.h"
#include "bench/SnippetGenerator.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "data/QuickSearch.h"
#include "data/SnippetSearch.h"
#include "db/Sqlite.h"
#include "db/TextOrder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sqlite3.h>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

// The floor: every name (and, for the search's whole work, its keywords) held
// lower-cased, scanned for the word.
double floorMicroseconds(const QString& file, const std::string& word, bool withKeywords)
{
    std::vector<std::string> names;
    std::vector<std::string> keywords;
    {
        db::Database database(file);
        db::Statement rows(database, QStringLiteral("SELECT nazev, tag FROM vorlin"));
        while (rows.step()) {
            names.push_back(rows.column(0).toString().toLower().toStdString());
            keywords.push_back(withKeywords ? rows.column(1).toString().toLower().toStdString() : std::string());
        }
    }
    std::size_t found = 0;
    return medianMicroseconds(9, [&] {
        found = 0;
        for (std::size_t row = 0; row < names.size(); ++row)
            found += names[row].find(word) != std::string::npos || keywords[row].find(word) != std::string::npos;
    });
}

double sqliteMicroseconds(const QString& file, const QString& word)
{
    db::Database database(file);
    const QString sql = QStringLiteral("SELECT ID, nazev, druh, tag FROM vorlin WHERE nazev LIKE ?1 OR tag LIKE ?1");
    return medianMicroseconds(5, [&] {
        db::Statement statement(database, sql);
        statement.bind(1, u'%' + word + u'%');
        while (statement.step())
            for (int column = 0; column < statement.columnCount(); ++column)
                sqlite3_column_text(statement.handle(), column);
    });
}

void run(int rows, const QLocale& locale, const char* language)
{
    useGeneratedDataFolder(rows, rows >= 1000000 ? 200 : 2048);
    QLocale::setDefault(locale);
    const std::string size = rows >= 1000000 ? "1m" : "100k";
    const auto name = [&](const char* what) { return std::string(what) + '_' + size + '_' + language; };
    const QString file = libraryFileIn(paths().dataDir);

    const double before = residentMegabytes();
    TDM dm;
    db::Query& query = dm.Vorlin_ADOQuery;
    QElapsedTimer opened;
    opened.start();
    dm.DataModuleCreate();
    query.awaitTable();  // the whole table, also behind first rows kept at an end before
    report(name("query_open_sorted"), double(opened.nsecsElapsed()) / 1e6, "ms");
    report(name("query_resident_growth"), residentMegabytes() - before, "MB");
    report(name("process_resident"), residentMegabytes(), "MB");
    report(name("query_held"), double(query.memoryBytes()) / 1e6, "MB");

    struct Word {
        const char* label;
        const char* text;
    };
    const auto searchFor = [&](const QString& word) {
        search::SnippetSearch search;
        if (!word.isEmpty())
            search.words = {word};
        query.setSelection(search::selectionOf(search));
        query.open();
    };
    // A key typed into the empty box: every row is tried.
    for (const Word word : {Word{"short_many", "z"}, Word{"long_few", "4711"}}) {
        const double keystroke = medianMicroseconds(
            9, [&] { searchFor(QString()); }, [&] { searchFor(QString::fromUtf8(word.text)); });
        const std::string what = std::string("query_keystroke_") + word.label;
        report(name(what.c_str()), keystroke / 1000.0, "ms");
        report(name((what + "_rows").c_str()), query.recordCount(), "rows");
        const double floor = floorMicroseconds(file, word.text, false);
        report(name((what + "_floor").c_str()), floor / 1000.0, "ms");
        report(name((what + "_vs_floor").c_str()), keystroke / floor, "x");
        const double wholeFloor = floorMicroseconds(file, word.text, true);
        report(name((what + "_floor_names_keywords").c_str()), wholeFloor / 1000.0, "ms");
        report(name((what + "_vs_floor_names_keywords").c_str()), keystroke / wholeFloor, "x");
        report(name((what + "_vs_sqlite3").c_str()), keystroke / sqliteMicroseconds(file, QString::fromUtf8(word.text)), "x");
    }

    // A word typed on ("pave" → "pavel"): only the rows found before are tried.
    const double grown = medianMicroseconds(
        9, [&] { searchFor(QStringLiteral("pave")); }, [&] { searchFor(QStringLiteral("pavel")); });
    report(name("query_keystroke_word_grown"), grown / 1000.0, "ms");
    report(name("query_keystroke_word_grown_rows"), query.recordCount(), "rows");

    db::Selection all = search::selectionOf(search::SnippetSearch{});
    // The first click on the title: the other direction of the order the
    // list opened in.
    QElapsedTimer firstClick;
    firstClick.start();
    all.descending = !all.descending;
    query.setSelection(all);
    query.open();
    report(name("query_first_title_click"), double(firstClick.nsecsElapsed()) / 1e6, "ms");
    const double click = medianMicroseconds(9, [&] {
        all.descending = !all.descending;
        query.setSelection(all);
        query.open();
    });
    report(name("query_title_click"), click / 1000.0, "ms");

    // The quick insertion's pop-up searching the same rows, accents and case
    // left aside.
    QElapsedTimer lettered;
    lettered.start();
    std::optional<db::Query::TableSnapshot> table = query.tableSnapshot(QStringLiteral("nazev"));
    report(name("quick_search_first_snapshot"), double(lettered.nsecsElapsed()) / 1e6, "ms");
    search::QuickSearch quick(std::move(table->rows), table->columns, std::move(table->order));
    quick.useLetters(std::move(table->letters));
    for (const char* word : {"z", "novak", "pavel"}) {
        const QStringList words{QString::fromUtf8(word)};
        report(name((std::string("quick_search_keystroke_") + word).c_str()),
               medianMicroseconds(9, [&] { (void)quick.matching(words, QString()); }) / 1000.0, "ms");
    }
    // A word typed on: "pave" found before, "pavel" tried among those.
    const QStringList shorter{QStringLiteral("pave")};
    search::QuickSearch::Found found;
    (void)quick.matching(shorter, QString(), {}, &found);
    report(name("quick_search_keystroke_word_grown"), medianMicroseconds(9, [&] {
               search::QuickSearch::Found last = found;
               (void)quick.matching({QStringLiteral("pavel")}, QString(), {}, &last);
           }) / 1000.0,
           "ms");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (const int rows : {100000, 1000000}) {
        run(rows, QLocale(QLocale::Czech, QLocale::Czechia), "czech");
        run(rows, QLocale(QLocale::English, QLocale::UnitedKingdom), "english");
    }
    return 0;
}
