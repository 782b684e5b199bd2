// The main window over 100,000 snippets: start to the window shown, moving
// from row to row (the body loaded and shown), the memory it all takes, and
// the preview window shown and closed.
#include "app/Startup.h"
#include "ui/shell/VorlinApplication.h"
#include "bench/Measure.h"
#include "bench/Memory.h"
#include "bench/SnippetGenerator.h"
#include "bench/WindowParts.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "rtf/Rtf.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/preview/Nahled_Unit.h"
#include "ui/datacontrols/DBGrid.h"
#include "ui/datacontrols/DBNavigator.h"
#include "ui/richtext/DBRichEdit.h"
#include "fields/FieldValue.h"
#include "fields/FilledFields.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>

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
    TVorlin_Form& mainWindow = createWindows(&app, GraphicalSession::current());
    db::Query& snippets = control<TDM>(&app, "DM")->Vorlin_ADOQuery;
    QCoreApplication::processEvents();
    report("mainwindow_start_to_shown_100k", double(timer.nsecsElapsed()) / 1e6, "ms");
    report("mainwindow_resident_memory_100k", residentMegabytes(), "MB");
    report("mainwindow_memory_growth_100k", residentMegabytes() - before, "MB");

    QRandomGenerator random(1);
    auto* list = control<ui::DBGrid>(&mainWindow, "DBGrid1");
    auto* model = list->model();
    const double moveUs = medianMicroseconds(201, [&] {
        const int row = random.bounded(model->rowCount());
        list->setCurrentIndex(model->index(row, 0));
        QCoreApplication::processEvents();  // drawn as the user sees it
    });
    report("mainwindow_move_row_median_100k", moveUs / 1000.0, "ms");

    // The preview window: shown the first time, then closed while a new row
    // with a 1 MB formatted body is being inserted (the body goes over to the
    // main window's editor).
    timer.restart();
    control<QPushButton>(&mainWindow, "Button4")->click();
    QCoreApplication::processEvents();
    report("preview_first_show_100k", double(timer.nsecsElapsed()) / 1e6, "ms");

    QString body = QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}}"
                                  "{\\colortbl;\\red128\\green0\\blue0;}");
    for (int i = 0; body.size() < 1024 * 1024; ++i)
        body += QStringLiteral("\\pard\\fs%1\\cf%2 {\\b Krajsk\\'fd soud} v Brn\\'ec {\\i %3}\\par\n")
                    .arg(16 + 2 * (i % 5))
                    .arg(i % 2)
                    .arg(i);
    body += u'}';
    control<ui::DBNavigator>(&mainWindow, "DBNavigator1")->press(ui::DBNavigator::Insert);
    auto* preview = topLevelWindow<TNahled_Form>("Nahled_Form");
    rtf::read(body.toLatin1(), *control<ui::DBRichEdit>(preview, "Nahled_DBRichEdit1")->document());
    QCoreApplication::processEvents();
    timer.restart();
    preview->close();
    QCoreApplication::processEvents();
    report("preview_close_inserting_1mb_body", double(timer.nsecsElapsed()) / 1e6, "ms");
    snippets.cancel();

    // A snippet with 20 fields: from "Kopírovat text do schránky" to its form
    // on the screen, and the filled text built from the values.
    QString fieldsBody;
    for (int i = 0; i < 20; ++i)
        fieldsBody += QStringLiteral("Odstavec %1: {{pole %1}}, lhůta {{lhůta %1: lhůta 15 dnů od doručení}}. ").arg(i / 2);
    snippets.first();
    snippets.edit();
    snippets.setValue(QStringLiteral("obsah"), fieldsBody);
    snippets.post();
    QCoreApplication::processEvents();
    auto* copy = control<QPushButton>(&mainWindow, "Button3");
    std::vector<double> formMs;
    for (int round = 0; round < 21; ++round) {
        QElapsedTimer shown;
        shown.start();
        QTimer::singleShot(0, [&] {
            formMs.push_back(double(shown.nsecsElapsed()) / 1e6);
            if (auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                form->reject();
        });
        copy->click();
    }
    std::sort(formMs.begin(), formMs.end());
    const double formUs = formMs.empty() ? 0 : formMs[formMs.size() / 2] * 1000.0;
    report("fields_form_shown_median_100k", formUs / 1000.0, "ms");
    QTextDocument document;
    document.setPlainText(fieldsBody);
    const QList<fields::Field> asked = fields::distinctFields(fields::scanFields(document.toPlainText()).fields);
    const QDate today(2026, 12, 7);
    const double fillUs = medianMicroseconds(201, [&] {
        std::unique_ptr<QTextDocument> filled(document.clone());
        fields::fillFields(*filled, [&](const fields::Field& field) -> std::optional<QString> {
            return fields::evaluateField(field, QStringLiteral("3. 12. 2026"), today).value;
        });
    });
    report("fields_filled_text_20_fields_median", fillUs / 1000.0, "ms");
    report("fields_distinct_in_body", double(asked.size()), "fields");

    destroyWindows();
    return 0;
}
