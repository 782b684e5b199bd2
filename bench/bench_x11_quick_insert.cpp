// The quick insertion on a real X server (run through scripts/x11-session)
// at 100,000 snippets, with the program started as start-up starts it: the
// shortcut pressed (through XTest) to the pop-up shown with the keyboard, a
// keystroke in its search box to the list, and Enter to the text arriving in
// another program.
#include "PasteTarget.h"
#include "app/QuickInsert.h"
#include "app/Startup.h"
#include "bench/Measure.h"
#include "bench/SnippetGenerator.h"
#include "platform/XTestKeyboard.h"
#include "ui/quick/QuickInsertPopup.h"
#include "ui/shell/VorlinApplication.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

// Serves events until the condition holds, woken by every event; false after
// the time limit.
bool serveUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("bench_x11_quick_insert: needs an X display (scripts/x11-session)\n");
        return 0;
    }
    VorlinApplication app(argc, argv);
    useGeneratedDataFolder(100000);
    QElapsedTimer started;
    started.start();
    createWindows(&app, GraphicalSession::current());
    QuickInsert& quick = quickInsert();
    QSignalSpy read(&quick, &QuickInsert::snippetsRead);
    if (read.isEmpty() && !read.wait(20000)) {
        std::printf("bench_x11_quick_insert: the snippets were not ready\n");
        return 1;
    }
    report("quick_insert_snippets_ready_100k", double(started.elapsed()), "ms");

    test::PasteTarget target;
    if (!target.start()) {
        std::printf("bench_x11_quick_insert: the other program did not come up\n");
        return 1;
    }
    ui::QuickInsertPopup& popup = quick.popup();
    auto* box = popup.findChild<QLineEdit*>(QStringLiteral("QuickSearchBox"));
    auto* list = popup.findChild<QListView*>(QStringLiteral("QuickList"));
    platform::XTestKeyboard keyboard;
    const auto popUp = [&] {
        QElapsedTimer clock;
        clock.start();
        keyboard.sendChord(Qt::Key_V, Qt::ControlModifier | Qt::AltModifier);
        if (!serveUntil([&] { return popup.isActiveWindow() && box->hasFocus(); }, 5000))
            return -1.0;
        return double(clock.nsecsElapsed()) / 1e6;
    };

    // The shortcut to the pop-up, then Esc and back to the other program.
    std::vector<double> shown;
    for (int run = 0; run < 21; ++run) {
        const double ms = popUp();
        if (ms < 0) {
            std::printf("bench_x11_quick_insert: the pop-up did not come in run %d\n", run + 1);
            return 1;
        }
        shown.push_back(ms);
        QTest::keyClick(box, Qt::Key_Escape);
        serveUntil([] { return QGuiApplication::focusWindow() == nullptr; }, 2000);
        QTest::qWait(50);
    }
    report("quick_insert_shortcut_to_popup_focused_median_100k", median(shown), "ms");

    // A keystroke to the list: one letter matching many, then a longer word.
    popUp();
    const QStringList typed = {QStringLiteral("k"), QStringLiteral("krajsky"), QStringLiteral("novak"), QString()};
    int next = 0;
    report("quick_insert_keystroke_to_list_median_100k", medianMicroseconds(41, [&] {
               box->setText(typed[next++ % typed.size()]);
               (void)list->model()->rowCount();
           }) / 1000.0, "ms");
    QTest::keyClick(box, Qt::Key_Escape);
    serveUntil([] { return QGuiApplication::focusWindow() == nullptr; }, 2000);

    // Enter to the text in the other program, the clipboard given back each time.
    QSignalSpy ended(&quick, &QuickInsert::finished);
    std::vector<double> arrived;
    for (int run = 0; run < 15; ++run) {
        QTest::qWait(100);
        if (popUp() < 0) {
            std::printf("bench_x11_quick_insert: the pop-up did not come in run %d\n", run + 1);
            return 1;
        }
        box->setText(QStringLiteral("novak"));
        const qint64 pressed = QDateTime::currentMSecsSinceEpoch();
        QTest::keyClick(box, Qt::Key_Return);
        const auto change = target.nextChange(5000);
        if (!change) {
            std::printf("bench_x11_quick_insert: nothing arrived in run %d\n", run + 1);
            return 1;
        }
        arrived.push_back(double(change->at - pressed));
        if (!serveUntil([&] { return !ended.isEmpty(); }, 5000) || !ended.takeFirst().value(0).toString().isEmpty()) {
            std::printf("bench_x11_quick_insert: the insertion failed in run %d\n", run + 1);
            return 1;
        }
    }
    report("quick_insert_enter_to_text_in_other_program_median_15_runs", median(arrived), "ms");
    report("quick_insert_enter_to_text_in_other_program_max_15_runs", *std::max_element(arrived.begin(), arrived.end()), "ms");
    destroyWindows();
    return 0;
}
