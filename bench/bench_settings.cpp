// The settings window's long jobs: the bulk font change over 10,000 snippets,
// the backup of a data folder holding a 400 MB database against `cp -r` of the
// same folder, and the start with the update check ticked and no network.
#include "app/Startup.h"
#include "ui/shell/VorlinApplication.h"
#include "bench/Measure.h"
#include "bench/WindowParts.h"
#include "bench/SnippetGenerator.h"
#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "db/Sqlite.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/settings/About_Unit.h"
#include "ui/shell/MessageBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QFontDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

// Answers the font dialog with Tahoma 10 and every box with its first button.
void answerDialogs()
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* fonts = modal->findChild<QFontDialog*>()) {
            QFont font(QStringLiteral("Tahoma"));
            font.setPointSize(10);
            fonts->setCurrentFont(font);
            static_cast<QDialog*>(modal)->accept();
        }
    });
    timer->start(5);
    // Every question answered with its first button.
    MessageBox::answerWith([](const MessageBox::Shown&) { return 0; });
}

// A copy of a folder, for a benchmark that changes what it works on.
QString copyOf(const QString& folder, const QString& into)
{
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), folder, into});
    return into + u'/' + QDir(folder).dirName() + u'/';
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir work;
    // Nothing answers for the update check: the start must not wait long.
    qputenv("VORLIN_UPDATE_URL", "http://127.0.0.1:9/vorlin.txt");
    VorlinApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));

    useGeneratedDataFolder(10000);
    const Paths generated = paths();
    const QString dataDir = copyOf(QDir::cleanPath(generated.dataDir), work.path());
    setPaths({generated.exeDir, dataDir, dataDir + QStringLiteral("hledani/")});

    QElapsedTimer timer;
    timer.start();
    createWindows(&app, GraphicalSession::current());
    db::Query& snippets = control<TDM>(&app, "DM")->Vorlin_ADOQuery;
    QCoreApplication::processEvents();
    auto* settingsWindow = topLevelWindow<TAbout_Form>("About_Form");
    report("start_to_window_update_check_nothing_listening", double(timer.nsecsElapsed()) / 1e6, "ms");

    answerDialogs();
    const int rows = snippets.recordCount();
    timer.restart();
    settingsWindow->findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    report("bulk_font_change_per_snippet_10k", double(timer.nsecsElapsed()) / 1e6 / rows, "ms");

    // A data folder holding a 400 MB database.
    {
        db::Database database(libraryFileIn(dataDir));
        database.execute(QStringLiteral("BEGIN"));
        db::Statement insert(database, QStringLiteral("INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES (?, '', ?, '')"));
        QString body;
        for (int i = 0; body.size() < 1024 * 1024; ++i)
            body += QString::number(i * 7919 % 100003) + u' ';
        for (int i = 0; i < 380; ++i) {
            insert.reset();
            insert.bind(1, QStringLiteral("Velký %1").arg(i));
            insert.bind(2, body);
            insert.step();
        }
        database.execute(QStringLiteral("COMMIT"));
    }
    const double megabytes = double(QFileInfo(libraryFileIn(dataDir)).size()) / (1024 * 1024);
    report("backup_database_size", megabytes, "MB");
    // Each copy twice, one after the other, the second of each measured, so
    // that both meet the same page cache.
    bool backedUp = false;
    double oursMs = 0;
    double cpMs = 0;
    for (int round = 0; round < 2; ++round) {
        const QString ours = work.path() + QStringLiteral("/ours%1").arg(round);
        const QString theirs = work.path() + QStringLiteral("/cp%1").arg(round);
        QDir().mkpath(ours);
        QDir().mkpath(theirs);
        timer.restart();
        backedUp = settingsWindow->backUpInto(ours);
        oursMs = double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QDir::cleanPath(dataDir), theirs});
        cpMs = double(timer.nsecsElapsed()) / 1e6;
        QDir(ours).removeRecursively();
        QDir(theirs).removeRecursively();
    }
    report("backup_400mb_folder", oursMs, backedUp ? "ms" : "ms (failed)");
    report("cp_r_same_folder", cpMs, "ms");
    report("backup_speed_relative_to_cp_r", cpMs / oursMs, "x");

    destroyWindows();
    return 0;
}
