// "Vložit" into a running LibreOffice Writer on a private X server (run
// through scripts/x11-session): the click to the text in the document, the
// first and the later ones, and the connection alone.
#include "PrivateWriter.h"
#include "ui/shell/VorlinApplication.h"
#include "bench/Measure.h"
#include "bench/SnippetGenerator.h"
#include "bench/WindowParts.h"
#include "data/DM_Unit.h"
#include "output/EditorInsertion.h"
#include "platform/UnoOfficeAutomation.h"
#include "platform/X11DesktopWindows.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/richtext/DBRichEdit.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

int occurrences(test::PrivateWriter& writer, const QString& fileName, const QString& text)
{
    int count = 0;
    for (const auto& paragraph : writer.paragraphs(fileName))
        count += int(paragraph.text().count(text));
    return count;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("bench_x11_writer_insertion: needs an X display (scripts/x11-session)\n");
        return 0;
    }
    VorlinApplication app(argc, argv);
    useGeneratedDataFolder(1000);

    test::PrivateWriter writer;
    const QString file = QStringLiteral("Mereni.odt");
    if (!writer.start() || !writer.newDocument(file, QString(), 0)) {
        std::printf("bench_x11_writer_insertion: the office did not start\n");
        return 1;
    }
    // The main window as start-up makes it, with the private office.
    platform::UnoOfficeAutomation office(writer.pipeName(), writer.profileArguments());
    platform::X11DesktopWindows desktop;
    TDM data;
    TVorlin_Form window(data, {.desktopWindows = desktop, .office = office});
    window.FormCreate();
    data.setBodyEditor(&window);
    data.DataModuleCreate();
    window.show();
    QCoreApplication::processEvents();
    auto* documents = control<QListWidget>(&window, "Word_ListBox");
    auto* insertButton = control<QPushButton>(&window, "Button35");
    // The main window stays shown and the document keeps its size, so that
    // every click does the same work.
    control<QCheckBox>(&window, "CheckBox1")->setChecked(false);
    control<QCheckBox>(&window, "CheckBox2")->setChecked(false);
    const QString title = test::PrivateWriter::windowTitle(file);
    if (!QTest::qWaitFor([&] {
            control<QPushButton>(&window, "Button2")->click();
            return !documents->findItems(title, Qt::MatchExactly).isEmpty();
        }, 20000)) {
        std::printf("bench_x11_writer_insertion: the document's window was not listed\n");
        return 1;
    }
    documents->setCurrentItem(documents->findItems(title, Qt::MatchExactly).first());
    data.Vorlin_ADOQuery.first();
    QCoreApplication::processEvents();
    const QString body = control<ui::DBRichEdit>(&window, "DBRichEdit1")->toPlainText().section(u'\n', 0, 0).left(20);

    QElapsedTimer first;
    first.start();
    insertButton->click();
    report("writer_insert_first_click", double(first.nsecsElapsed()) / 1e6, "ms");

    const int rounds = 21;
    report("writer_insert_later_clicks_median",
           medianMicroseconds(rounds, [&] { insertButton->click(); }) / 1000.0, "ms");
    report("writer_insert_clicks_that_arrived", double(occurrences(writer, file, body)), "of 22");

    // With "Přepnout do okna text. editoru": the document's window activated
    // first, as users have it; the main window is activated again between clicks.
    control<QCheckBox>(&window, "CheckBox2")->setChecked(true);
    report("writer_insert_activated_median", medianMicroseconds(
                                                 rounds, [&] { desktop.activate(quint32(window.winId()), false); },
                                                 [&] { insertButton->click(); }) / 1000.0,
           "ms");
    control<QCheckBox>(&window, "CheckBox2")->setChecked(false);

    std::vector<double> connect;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        // The connection with the desktop, let go at once.
        if (!office.isRunning())
            return 1;
        connect.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(connect.begin(), connect.begin() + rounds / 2, connect.end());
    report("writer_connect_median", connect[rounds / 2], "ms");

    // "Spuštěné OO Writer" with ten documents open: the window walk and the
    // office's own list of its documents, and that list alone.
    for (int i = 2; i <= 10; ++i)
        writer.newDocument(QStringLiteral("Mereni%1.odt").arg(i), QString(), 0);
    auto* writerButton = control<QPushButton>(&window, "Button2");
    report("writer_listing_10_documents_median", medianMicroseconds(rounds, [&] { writerButton->click(); }) / 1000.0,
           "ms");
    report("writer_listing_10_documents_listed", double(documents->count()), "titles");
    report("writer_office_documents_10_median", medianMicroseconds(rounds, [&] { (void)office.openDocuments(); }) / 1000.0,
           "ms");

    window.FormDestroy();
    return 0;
}
