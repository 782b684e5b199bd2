// The import's memo run with the delivered address filter: how many of the
// addresses in 320 generated letters and contracts it finds and how many of
// its finds are addresses (recall, precision), its speed over 10 MB of text,
// and 100,000 candidates going into the review list and scrolled through.
#include "bench/DeliveredFilter.h"
#include "bench/Measure.h"
#include "common/Win1250.h"
#include "import/ReviewListModel.h"
#include "regex/RegExpr.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSet>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

struct Document {
    QString text;
    QSet<QString> addresses;  // as the filter should find them
};

class Generator {
public:
    explicit Generator(quint32 seed) : random_(seed) {}

    QString pick(const QStringList& list) { return list[random_.bounded(int(list.size()))]; }
    int number(int low, int high) { return low + random_.bounded(high - low + 1); }
    bool chance(int percent) { return random_.bounded(100) < percent; }

    QString person()
    {
        static const QStringList titles = {"", "", "JUDr. ", "Mgr. ", "Ing. ", "MUDr. ", "Bc. "};
        static const QStringList men = {"Jan Novák", "Petr Svoboda", "Josef Dvořák", "Pavel Černý", "Tomáš Procházka",
                                        "Jiří Kučera", "Martin Veselý", "Jaroslav Horák", "Miroslav Němec", "Karel Šťastný"};
        static const QStringList women = {"Marie Nováková", "Jana Svobodová", "Eva Dvořáková", "Hana Černá",
                                          "Lenka Procházková", "Petra Kučerová", "Věra Veselá", "Alena Horáková"};
        return pick(titles) + pick(chance(50) ? men : women);
    }

    QString recipient()
    {
        static const QStringList bodies = {"Okresní soud v Chrudimi", "Krajský soud v Brně", "Městský soud v Praze",
                                           "Stavby Morava s.r.o.", "Novák & partneři, advokátní kancelář",
                                           "Obecní úřad Lhota", "Česká pojišťovna a.s."};
        return chance(70) ? person() : pick(bodies);
    }

    QString street()
    {
        static const QStringList streets = {"Masarykova", "Husova", "Na Příkopě", "Dlouhá", "nám. Míru",
                                            "tř. Kpt. Jaroše", "Palackého", "Žižkova", "U Školy", "Křižíkova"};
        static const QStringList villages = {"Lhota", "Újezd", "Dolní Bučice", "Horní Dubenky"};
        switch (random_.bounded(4)) {
        case 0: return pick(streets) + u' ' + QString::number(number(1, 200));
        case 1: return pick(streets) + u' ' + QString::number(number(100, 3000)) + u'/' + QString::number(number(1, 60));
        case 2: return pick(streets) + u' ' + QString::number(number(1, 90)) + QChar(u'a' + random_.bounded(3));
        default: return pick(villages) + (chance(50) ? QStringLiteral(" č. p. ") : QStringLiteral(" č.p. "))
                     + QString::number(number(1, 400));
        }
    }

    QString town()
    {
        static const QStringList towns = {"Brno", "Praha 1", "Chrudim", "Ostrava-Poruba", "Plzeň", "Frýdek-Místek",
                                          "České Budějovice", "Ústí nad Labem", "Hradec Králové"};
        const QString code = QString::number(number(100, 799));
        const QString rest = QStringLiteral("%1").arg(number(0, 99), 2, 10, QChar(u'0'));
        return code + (chance(75) ? QStringLiteral(" ") : QString()) + rest + u' ' + pick(towns);
    }

    QString distractor()
    {
        switch (random_.bounded(6)) {
        case 0: return QStringLiteral("V Brně dne %1. %2. %3").arg(number(1, 28)).arg(number(1, 12)).arg(number(2000, 2026));
        case 1: return QStringLiteral("sp. zn. %1 Cdo %2/%3").arg(number(1, 33)).arg(number(100, 4999)).arg(number(2005, 2026));
        case 2: return QStringLiteral("Částka %1 %2 Kč je splatná do 15 dnů.").arg(number(1, 999)).arg(number(100, 999));
        case 3: return QStringLiteral("Tel.: +420 %1 %2 %3").arg(number(600, 799)).arg(number(100, 999)).arg(number(100, 999));
        case 4: return QStringLiteral("IČO: %1, DIČ: CZ%1").arg(number(10000000, 99999999));
        default: return pick({QStringLiteral("Vážený pane doktore,"), QStringLiteral("S pozdravem"),
                              QStringLiteral("K Vašemu dopisu ze dne 3. 4. 2008 sdělujeme, že věc projednáme."),
                              QStringLiteral("Žalobce se domáhá zaplacení částky 125 000 Kč s příslušenstvím."),
                              QStringLiteral("Příloha č. 1: plná moc")});
        }
    }

    QString addressBlock()
    {
        // Now and then a department or a person under the recipient: a block
        // of four lines, which the filter's three-line block does not expect.
        QString head = recipient();
        if (chance(6))
            head += QStringLiteral("\r\n") + pick({QStringLiteral("k rukám p. ředitele"), QStringLiteral("občanskoprávní úsek")});
        QString block = head + QStringLiteral("\r\n") + street() + QStringLiteral("\r\n") + town();
        if (chance(20))
            block += QStringLiteral("\r\nČeská republika");
        return block;
    }

    QString addressLine() { return recipient() + QStringLiteral(", ") + street() + QStringLiteral(", ") + town(); }

    Document letter()
    {
        Document document;
        QStringList lines;
        for (int i = number(0, 2); i > 0; --i)
            lines << distractor();
        const QString to = addressBlock();
        document.addresses << to;
        lines << QStringLiteral("Vážený pan") << to << QString();
        for (int i = number(3, 8); i > 0; --i)
            lines << distractor();
        const QString from = addressLine();
        document.addresses << from;
        lines << QString() << from;
        if (chance(8)) {
            // An address inside a sentence.
            const QString inside = addressLine();
            document.addresses << inside;
            lines << QStringLiteral("Zásilku prosím doručte na adresu ") + inside + QStringLiteral(".");
        }
        document.text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        return document;
    }

    Document contract()
    {
        Document document;
        QStringList lines{QStringLiteral("KUPNÍ SMLOUVA"), QString()};
        for (const char* party : {"Prodávající: ", "Kupující: "}) {
            const QString address = addressLine();
            document.addresses << address;
            lines << QString::fromUtf8(party) + address << distractor() << QString();
        }
        for (int i = number(4, 10); i > 0; --i)
            lines << distractor();
        document.text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        return document;
    }

private:
    QRandomGenerator random_;
};

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

    Generator generator(2026);
    int expected = 0, foundRight = 0, foundWrong = 0;
    TRegExpr engine;
    for (int i = 0; i < 320; ++i) {
        const Document document = i % 5 < 3 ? generator.letter() : generator.contract();
        expected += int(document.addresses.size());
        QSet<QString> right;
        for (const QString& match : memoRun(engine, patterns, document.text)) {
            if (document.addresses.contains(match))
                right << match;
            else
                ++foundWrong;
        }
        foundRight += int(right.size());
    }
    report("address_filter_documents", 320, "documents");
    report("address_filter_addresses", expected, "addresses");
    report("address_filter_recall", 100.0 * foundRight / expected, "%");
    report("address_filter_precision", 100.0 * foundRight / std::max(1, foundRight + foundWrong), "%");

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
