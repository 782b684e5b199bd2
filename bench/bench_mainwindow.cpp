// The main window over 100,000 snippets: start to the window shown, moving
// from row to row (the body loaded and shown), and the memory it all takes.
#include "app/Startup.h"
#include "app/VorlinApplication.h"
#include "bench/Measure.h"
#include "bench/Memory.h"
#include "bench/SnippetGenerator.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "ui/main/Vorlin_Unit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

using namespace vorlin;
using namespace vorlin::bench;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const double before = residentMegabytes();
    VorlinApplication app(argc, argv);
    useGeneratedDataFolder(100000);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));  // the users' alphabetical order

    QElapsedTimer timer;
    timer.start();
    createWindows(&app);
    QCoreApplication::processEvents();
    report("mainwindow_start_to_shown_100k", double(timer.nsecsElapsed()) / 1e6, "ms");
    report("mainwindow_resident_memory_100k", residentMegabytes(), "MB");
    report("mainwindow_memory_growth_100k", residentMegabytes() - before, "MB");

    QRandomGenerator random(1);
    auto* model = Vorlin_Form->DBGrid1->model();
    const double moveUs = medianMicroseconds(201, [&] {
        const int row = random.bounded(model->rowCount());
        Vorlin_Form->DBGrid1->setCurrentIndex(model->index(row, 0));
        QCoreApplication::processEvents();  // drawn as the user sees it
    });
    report("mainwindow_move_row_median_100k", moveUs / 1000.0, "ms");

    destroyWindows();
    return 0;
}
