// "Vložit" into a running LibreOffice Writer on a private X server (run
// through scripts/x11-session): the click to the text in the document, the
// first and the later ones, and the connection alone.
#include "PrivateWriter.h"
#include "app/Startup.h"
#include "ui/shell/VorlinApplication.h"
#include "bench/Measure.h"
#include "bench/SnippetGenerator.h"
#include "data/DM_Unit.h"
#include "output/EditorInsertion.h"
#include "platform/UnoOfficeAutomation.h"
#include "ui/main/Vorlin_Unit.h"

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
    createWindows(&app);
    QCoreApplication::processEvents();

    test::PrivateWriter writer;
    const QString file = QStringLiteral("Mereni.odt");
    if (!writer.start() || !writer.newDocument(file, QString(), 0)) {
        std::printf("bench_x11_writer_insertion: the office did not start\n");
        destroyWindows();
        return 1;
    }
    platform::UnoOfficeAutomation office(writer.pipeName(), writer.profileArguments());
    Vorlin_Form->office = &office;
    // The main window stays shown and the document keeps its size, so that
    // every click does the same work.
    Vorlin_Form->CheckBox1->setChecked(false);
    Vorlin_Form->CheckBox2->setChecked(false);
    const QString title = test::PrivateWriter::windowTitle(file);
    if (!QTest::qWaitFor([&] {
            Vorlin_Form->Button36Click(EditorKind::Writer);
            return !Vorlin_Form->Word_ListBox->findItems(title, Qt::MatchExactly).isEmpty();
        }, 20000)) {
        std::printf("bench_x11_writer_insertion: the document's window was not listed\n");
        destroyWindows();
        return 1;
    }
    Vorlin_Form->Word_ListBox->setCurrentItem(Vorlin_Form->Word_ListBox->findItems(title, Qt::MatchExactly).first());
    DM->Vorlin_ADOQuery.first();
    QCoreApplication::processEvents();
    const QString body = Vorlin_Form->DBRichEdit1->toPlainText().section(u'\n', 0, 0).left(20);

    QElapsedTimer first;
    first.start();
    Vorlin_Form->Button35Click();
    report("writer_insert_first_click", double(first.nsecsElapsed()) / 1e6, "ms");

    const int rounds = 21;
    report("writer_insert_later_clicks_median",
           medianMicroseconds(rounds, [] { Vorlin_Form->Button35Click(); }) / 1000.0, "ms");
    report("writer_insert_clicks_that_arrived", double(occurrences(writer, file, body)), "of 22");

    std::vector<double> connect;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        // The connection with the desktop and the dispatch helper, let go at once.
        if (!office.isRunning())
            return 1;
        connect.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(connect.begin(), connect.begin() + rounds / 2, connect.end());
    report("writer_connect_median", connect[rounds / 2], "ms");

    destroyWindows();
    return 0;
}
