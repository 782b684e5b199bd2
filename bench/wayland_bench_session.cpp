// Run inside a headless sway session by bench_wayland (a script): the delayed
// Ctrl+V's lateness into a native GTK window (from the keystroke asked for to
// the text in the window), and "Vložit" into a native Wayland Writer.
#include "PrivateWriter.h"
#include "bench/Measure.h"
#include "bench/SnippetGenerator.h"
#include "bench/WindowParts.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "platform/SessionKeyboard.h"
#include "platform/UnoOfficeAutomation.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/shell/VorlinApplication.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

qint64 sizeOf(const QString& file)
{
    return QFile(file).size();
}

// The focused window writes what it holds into the file; each Ctrl+V adds
// the clipboard's text to it.
void ctrlVLateness(const QString& arrivals)
{
    platform::SessionKeyboard keyboard(GraphicalSession::current(), QStringLiteral("/dev/null"));
    std::vector<double> late;
    for (int run = 0; run < 21; ++run) {
        const qint64 before = sizeOf(arrivals);
        QElapsedTimer timer;
        timer.start();
        if (!keyboard.sendChord(Qt::Key_V, Qt::ControlModifier))
            return report("wayland_ctrl_v_typed", 0, "of 1");
        while (sizeOf(arrivals) == before && !timer.hasExpired(3000))
            QTest::qWait(1);
        if (run > 0)  // the first chord pays for the new keyboard
            late.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(late.begin(), late.begin() + late.size() / 2, late.end());
    report("wayland_ctrl_v_arrival_late_median", late[late.size() / 2], "ms");
}

void writerInsertion()
{
    test::PrivateWriter writer;
    const QString file = QStringLiteral("Mereni.odt");
    if (!writer.start() || !writer.newDocument(file, QString(), 0))
        return report("wayland_writer_started", 0, "of 1");
    platform::UnoOfficeAutomation office(writer.pipeName(), writer.profileArguments());
    TDM data;
    TVorlin_Form window(data, {.office = office});
    window.FormCreate();
    data.setBodyEditor(&window);
    data.DataModuleCreate();
    window.show();
    control<QCheckBox>(&window, "CheckBox1")->setChecked(false);
    control<QCheckBox>(&window, "CheckBox2")->setChecked(false);
    control<QPushButton>(&window, "Button2")->click();
    auto* documents = control<QListWidget>(&window, "Word_ListBox");
    const auto found = documents->findItems(test::PrivateWriter::windowTitle(file), Qt::MatchExactly);
    if (found.isEmpty())
        return report("wayland_writer_listed", 0, "of 1");
    documents->setCurrentItem(found.first());
    auto* insert = control<QPushButton>(&window, "Button35");
    insert->click();
    report("wayland_writer_insert_later_clicks_median", medianMicroseconds(21, [&] { insert->click(); }) / 1000.0, "ms");
    window.FormDestroy();
}

}  // namespace

int main(int argc, char** argv)
{
    VorlinApplication app(argc, argv);
    // The session's user cannot write into the build: the data folder lies
    // in the folder it runs in.
    const QString exeDir = QCoreApplication::applicationDirPath() + QStringLiteral("/../app/");
    const QString dataDir = QDir::currentPath() + QStringLiteral("/data/");
    QDir().mkpath(dataDir);
    generateSnippetDatabase(libraryFileIn(exeDir), libraryFileIn(dataDir), 1000, 2048);
    QFile::copy(exeDir + QStringLiteral("vorlin_druh.txt"), dataDir + QStringLiteral("vorlin_druh.txt"));
    setPaths({exeDir, dataDir, dataDir + QStringLiteral("hledani/")});
    ctrlVLateness(QString::fromLocal8Bit(argv[1]));
    writerInsertion();
    return 0;
}
