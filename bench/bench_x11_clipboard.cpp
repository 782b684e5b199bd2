// The clipboard copy and the delayed Ctrl+V on a real X server (run through
// scripts/x11-session): copying a 1 MB formatted body, and how late the
// Ctrl+V arrives in another program after its countdown.
#include "PasteTarget.h"
#include "app/Startup.h"
#include "ui/shell/VorlinApplication.h"
#include "bench/Measure.h"
#include "bench/WindowParts.h"
#include "bench/SnippetGenerator.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "db/Sqlite.h"
#include "ui/main/Vorlin_Unit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <QDateTime>
#include <QTest>

#include <algorithm>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

// About a megabyte of RTF: paragraphs of words in changing faces, sizes,
// colours and styles.
QString formattedBody(qsizetype bytes)
{
    QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}"
                                 "{\\f1\\froman\\fcharset238 Times New Roman;}}"
                                 "{\\colortbl;\\red128\\green0\\blue0;\\red0\\green0\\blue255;}");
    for (int i = 0; rtf.size() < bytes; ++i) {
        rtf += QStringLiteral("\\pard\\f%1\\fs%2\\cf%3 ").arg(i % 2).arg(16 + 2 * (i % 5)).arg(i % 3);
        rtf += QStringLiteral("{\\b Krajsk\\'fd soud} v Brn\\'ec, {\\i spisov\\'e1 zna\\'e8ka} %1 ").arg(i);
        rtf += QStringLiteral("{\\ul \\'d8\\'ed\\'9ezen\\'ed o d\\'ecdictv\\'ed} a dal\\'9a\\'ed text odstavce.\\par\n");
    }
    return rtf + u'}';
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("bench_x11_clipboard: needs an X display (scripts/x11-session)\n");
        return 0;
    }
    VorlinApplication app(argc, argv);
    useGeneratedDataFolder(1000);
    qint64 bigId = 0;
    {
        db::Database database(libraryFileIn(paths().dataDir));
        database.execute(QStringLiteral("DELETE FROM vorlin WHERE nazev = 'Žaloba 1 MB'"));
        db::Statement insert(database, QStringLiteral("INSERT INTO vorlin (nazev, druh, obsah, tag) "
                                                      "VALUES ('Žaloba 1 MB', 'odstavec', ?, '') RETURNING ID"));
        insert.bind(1, formattedBody(1024 * 1024));
        insert.step();
        bigId = insert.column(0).toLongLong();
    }
    TVorlin_Form& mainWindow = createWindows(&app, GraphicalSession::current());
    db::Query& snippets = control<TDM>(&app, "DM")->Vorlin_ADOQuery;
    auto* copyButton = control<QPushButton>(&mainWindow, "Button3");
    auto* delayedPaste = control<QCheckBox>(&mainWindow, "CheckBox3");
    QCoreApplication::processEvents();

    snippets.locate(QStringLiteral("ID"), bigId);
    QCoreApplication::processEvents();
    report("clipboard_copy_1mb_body_median",
           medianMicroseconds(11, [&] { delayedPaste->setChecked(false); copyButton->click(); }) / 1000.0, "ms");

    // The delayed Ctrl+V into another program, 20 times over.
    snippets.first();
    QCoreApplication::processEvents();
    test::PasteTarget target;
    if (!target.start()) {
        std::printf("bench_x11_clipboard: the other program did not come up\n");
        destroyWindows();
        return 1;
    }
    delayedPaste->setChecked(true);
    control<QLineEdit>(&mainWindow, "Edit1")->setText(QStringLiteral("1"));
    std::vector<double> keyLate;
    std::vector<double> late;
    for (int run = 0; run < 20; ++run) {
        const qint64 due = QDateTime::currentMSecsSinceEpoch() + 1000;
        copyButton->click();
        const auto change = target.nextChange(5000);
        if (!change) {
            std::printf("bench_x11_clipboard: no paste arrived in run %d\n", run + 1);
            destroyWindows();
            return 1;
        }
        keyLate.push_back(double(target.lastKeyAt() - due));
        late.push_back(double(change->at - due));
    }
    std::sort(keyLate.begin(), keyLate.end());
    std::sort(late.begin(), late.end());
    report("delayed_paste_ctrl_v_arrival_late_median_20_runs", keyLate[keyLate.size() / 2], "ms");
    report("delayed_paste_ctrl_v_arrival_late_max_20_runs", keyLate.back(), "ms");
    report("delayed_paste_text_pasted_late_median_20_runs", late[late.size() / 2], "ms");
    report("delayed_paste_text_pasted_late_max_20_runs", late.back(), "ms");

    destroyWindows();
    // The generated folder is shared: it is left as it was made.
    db::Database(libraryFileIn(paths().dataDir))
        .execute(QStringLiteral("DELETE FROM vorlin WHERE nazev = 'Žaloba 1 MB'"));
    return 0;
}
