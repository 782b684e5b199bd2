// The program's start at 100,000 and 1,000,000 snippets, in the Czech order
// and in English (the system's collation library), beside the start with an
// empty library: from the start of start-up to the main window shown with
// its first rows, and to the whole list there (read behind the first rows
// kept at the last end), the memory of the whole process then (and its
// peak), and with the quick insertion's pop-up open. Each case runs in a
// process of its own, so that the memory is that of one start; each size
// starts once before it is measured, as the program has always ended once
// before a user's start.
#include "app/QuickInsert.h"
#include "app/Startup.h"
#include "bench/Measure.h"
#include "bench/Memory.h"
#include "bench/SnippetGenerator.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/quick/QuickInsertPopup.h"
#include "ui/shell/VorlinApplication.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTableView>

#include <cstdio>

using namespace vorlin;
using namespace vorlin::bench;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 3) {
        const auto run = [argv](const char* rows, const char* language) {
            QProcess one;
            one.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            one.start(QString::fromLocal8Bit(argv[0]), {QString::fromLatin1(rows), QString::fromLatin1(language)});
            one.waitForFinished(-1);
            return one.readAllStandardOutput();
        };
        for (const char* rows : {"0", "100000", "1000000"})
            for (const char* language : {"czech", "english"}) {
                run(rows, language);  // the end before: the first rows kept
                std::fputs(run(rows, language).constData(), stdout);
            }
        return 0;
    }
    const int rows = std::atoi(argv[1]);
    const bool czech = std::string(argv[2]) == "czech";
    VorlinApplication app(argc, argv);
    useGeneratedDataFolder(rows, rows >= 1000000 ? 200 : 2048);
    QLocale::setDefault(czech ? QLocale(QLocale::Czech, QLocale::Czechia) : QLocale(QLocale::English, QLocale::UnitedKingdom));
    const std::string suffix = std::string(rows >= 1000000 ? "_1m_" : rows > 0 ? "_100k_" : "_empty_") + argv[2];

    QElapsedTimer timer;
    timer.start();
    TVorlin_Form& window = createWindows(&app, GraphicalSession::current());
    QCoreApplication::processEvents();
    report("start_to_window_shown" + suffix, double(timer.nsecsElapsed()) / 1e6, "ms");
    const QAbstractItemModel* list = window.findChild<QTableView*>()->model();
    while (list->rowCount() < rows)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    report("start_to_whole_list" + suffix, double(timer.nsecsElapsed()) / 1e6, "ms");
    report("start_process_resident" + suffix, residentMegabytes(), "MB");
    report("start_process_peak" + suffix, peakResidentMegabytes(), "MB");
    // The quick insertion's pop-up searches the main list's copy of the
    // table: opened, it adds its list and little else.
    timer.restart();
    quickInsert().open();
    report("start_quick_insert_popup_opened" + suffix, double(timer.nsecsElapsed()) / 1e6, "ms");
    report("start_process_resident_with_quick_insert_open" + suffix, residentMegabytes(), "MB");
    quickInsert().popup().hide();
    destroyWindows();
    return 0;
}
