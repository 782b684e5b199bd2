// Searching and sorting in the main window over 100,000 snippets: one
// keystroke (the query reopened, the grid and the editor showing the first
// match), a click on a column title, and fast typing.
#include "app/Startup.h"
#include "ui/shell/VorlinApplication.h"
#include "bench/Measure.h"
#include "bench/SnippetGenerator.h"
#include "bench/WindowParts.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "data/QuickSearch.h"
#include "data/QuickSnippets.h"
#include "db/Sqlite.h"
#include "db/TextOrder.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/datacontrols/DBGrid.h"
#include "ui/richtext/DBRichEdit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

void typeKey(QWidget* widget, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &release);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VorlinApplication app(argc, argv);
    useGeneratedDataFolder(100000);
    // The list sorts in the user's alphabetical order: Czech, as its users have it.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));

    TVorlin_Form& mainWindow = createWindows(&app, GraphicalSession::current());

    db::Query& snippets = control<TDM>(&app, "DM")->Vorlin_ADOQuery;
    QCoreApplication::processEvents();
    auto* box = control<QLineEdit>(&mainWindow, "Jmeno_Edit");
    auto* editor = control<ui::DBRichEdit>(&mainWindow, "DBRichEdit1");
    auto* list = control<ui::DBGrid>(&mainWindow, "DBGrid1");

    int round = 0;
    const auto searchFor = [&](const QStringList& alternatives) {
        return medianMicroseconds(31, [&] {
            box->setText(alternatives[round++ % alternatives.size()]);
            (void)editor->toPlainText();
            QCoreApplication::processEvents();
        });
    };
    report("search_keystroke_one_word_median_100k",
           searchFor({QStringLiteral("novák"), QStringLiteral("brno")}) / 1000.0, "ms");
    report("search_keystroke_three_words_median_100k",
           searchFor({QStringLiteral("novák%brno%smlouva"), QStringLiteral("dvořák%plzeň%byt")}) / 1000.0, "ms");

    box->clear();
    QCoreApplication::processEvents();
    report("sort_title_click_median_100k", medianMicroseconds(21, [&] {
                                               clickTitle(list, 0);
                                               QCoreApplication::processEvents();
                                           }) / 1000.0,
           "ms");

    // The same with another language, through the system's collation library.
    snippets.setTextOrder(db::TextOrder::forLocale(QLocale(QLocale::English, QLocale::UnitedKingdom)));
    report("sort_title_click_median_100k_english", medianMicroseconds(11, [&] {
                                                       clickTitle(list, 0);
                                                       QCoreApplication::processEvents();
                                                   }) / 1000.0,
           "ms");
    snippets.setTextOrder(db::TextOrder::forLocale(QLocale()));

    // Twenty keys typed 30 ms apart: how long until the last result shows.
    box->clear();
    QCoreApplication::processEvents();
    const QString typed = QStringLiteral("jan novák praha smlo");
    QElapsedTimer timer;
    timer.start();
    int next = 0;
    QTimer keys;
    keys.setTimerType(Qt::PreciseTimer);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        typeKey(box, typed[next++]);
        if (next == typed.size()) {
            keys.stop();
            QCoreApplication::processEvents();
            app.quit();
        }
    });
    keys.start(30);
    app.exec();
    report("search_20_keys_30ms_apart_total", double(timer.nsecsElapsed()) / 1e6, "ms");
    report("search_20_keys_typing_time", 30.0 * typed.size(), "ms");
    destroyWindows();

    // The quick-insert pop-up's search: the names, kinds and keywords held,
    // accents and case left aside.
    QElapsedTimer held;
    held.start();
    std::shared_ptr<const search::QuickSearch> held100k;
    {
        db::Database database(libraryFileIn(paths().dataDir));
        held100k = search::readQuickSearch(database, *db::TextOrder::forLocale(QLocale()));
    }
    const search::QuickSearch& quick = *held100k;
    report("quick_search_held_100k", double(held.nsecsElapsed()) / 1e6, "ms");
    const QStringList typedWords[] = {{QStringLiteral("novak")}, {QStringLiteral("brno"), QStringLiteral("smlouva")}};
    int next2 = 0;
    report("quick_search_keystroke_median_100k", medianMicroseconds(31, [&] {
               (void)quick.matching(typedWords[next2++ % 2], QString());
           }) / 1000.0,
           "ms");
    return 0;
}
