// The import's memo run with the delivered address filter: how many of the
// addresses in 320 generated letters and contracts it finds and how many of
// its finds are addresses (recall, precision), on the plain corpus and on the
// hard one (with the earlier filter beside), its speed over 10 MB of text,
// and 100,000 candidates going into the review list and scrolled through.
#include "bench/AddressCorpus.h"
#include "bench/DeliveredFilter.h"
#include "bench/Measure.h"
#include "common/Win1250.h"
#include "import/ReviewListModel.h"
#include "regex/RegExpr.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QSet>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

// The filter delivered before the one of today, for comparison on the hard
// corpus.
QList<QByteArray> earlierFilterPatterns()
{
    return {win1250::encode(QString::fromUtf8(
                R"([^\s][^\r\n]*\r\n[^\s][^\r\n]* (č\. ?p\. ?)?\d+(/\d+)?[a-zA-Z]?\r\n\d{3} ?\d{2} [^\r\n]*[^\s](\r\nČeská republika)?)")),
            win1250::encode(QString::fromUtf8(
                R"([^\s,:;][^:;\r\n]*, [^\s,][^,\r\n]* (č\. ?p\. ?)?\d+(/\d+)?[a-zA-Z]?, \d{3} ?\d{2} [^,.;\r\n]*[^,.;\s](, Česká republika)?)"))};
}

// The memo run without the list: every match of every line.
QStringList memoRun(TRegExpr& engine, const QList<QByteArray>& patterns, const QString& text)
{
    const QByteArray input = win1250::encode(text);
    QStringList found;
    for (const QByteArray& pattern : patterns) {
        engine.setExpression(pattern);
        for (bool hit = engine.exec(input); hit; hit = engine.execNext())
            found << win1250::decode(engine.match());
    }
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QList<QByteArray> patterns = deliveredFilterPatterns();

    TRegExpr engine;
    // Recall and precision of a filter over 320 documents of a corpus.
    const auto measure = [&](const char* name, const QList<QByteArray>& filter, bool hard) {
        AddressCorpus corpus(2026, hard);
        int expected = 0, foundRight = 0, foundWrong = 0;
        for (int i = 0; i < 320; ++i) {
            const Document document = corpus.next();
            expected += int(document.addresses.size());
            QSet<QString> right;
            for (const QString& match : memoRun(engine, filter, document.text)) {
                if (document.addresses.contains(match))
                    right << match;
                else
                    ++foundWrong;
            }
            foundRight += int(right.size());
        }
        report(std::string(name) + "_addresses", expected, "addresses");
        report(std::string(name) + "_recall", 100.0 * foundRight / expected, "%");
        report(std::string(name) + "_precision", 100.0 * foundRight / std::max(1, foundRight + foundWrong), "%");
    };
    measure("address_filter", patterns, false);
    measure("address_filter_hard", patterns, true);
    measure("address_filter_hard_earlier", earlierFilterPatterns(), true);

    AddressCorpus generator(2026, false);
    QString text;
    while (text.size() < 10 * 1024 * 1024)
        text += generator.letter().text;
    QElapsedTimer timer;
    timer.start();
    const QStringList found = memoRun(engine, patterns, text);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    report("memo_run_delivered_filter_10mb", double(win1250::encode(text).size()) / (1024 * 1024) / seconds, "MB/s");
    report("memo_run_delivered_filter_10mb_matches", double(found.size()), "matches");

    ReviewListModel model;
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    view.resize(600, 400);
    view.show();
    QCoreApplication::processEvents();
    timer.restart();
    for (int i = 0; i < 100000; ++i)
        model.add(QStringLiteral("%1. filtr|Jan Novák %2, Masarykova %3, 602 00 Brno").arg(1 + i % 2).arg(i).arg(i % 200));
    model.flush();
    QCoreApplication::processEvents();
    report("review_list_100k_candidates_in", double(timer.nsecsElapsed()) / 1e6, "ms");
    report("review_list_scroll_page_median_100k", medianMicroseconds(51, [&] {
                                                      QScrollBar* bar = view.verticalScrollBar();
                                                      bar->setValue((bar->value() + bar->pageStep() * 97) % bar->maximum());
                                                      view.repaint();
                                                  }) / 1000.0,
           "ms");
    return 0;
}
