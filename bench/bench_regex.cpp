// The delivered address filter over 100 MB of generated Czech text, through
// the engine, through bare PCRE2 JIT on the same translated patterns, and
// (for the record, on a smaller slice) through std::regex.
#include "bench/DeliveredFilter.h"
#include "bench/Measure.h"
#include "common/Win1250.h"
#include "regex/CodePageCase.h"
#include "regex/RegExpr.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <regex>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

QByteArray czechText(qsizetype bytes)
{
    const QStringList prose = {
        QStringLiteral("Vážený pane doktore, v příloze zasíláme návrh smlouvy o dílo."),
        QStringLiteral("Žalobce se domáhá zaplacení částky 125 000 Kč s příslušenstvím."),
        QStringLiteral("Soud prvního stupně rozhodl rozsudkem ze dne 3. 5. 2021, č. j. 25 C 14/2020-118."),
        QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy."),
        QStringLiteral("S pozdravem"),
    };
    const QStringList addresses = {
        QStringLiteral("JUDr. Jan Novák\r\nDlouhá 12/5\r\n110 00 Praha 1"),
        QStringLiteral("Marie Dvořáková, Husova 7, 602 00 Brno"),
        QStringLiteral("Stavby Morava s.r.o., IČO: 12345678"),
    };
    QRandomGenerator random(5);
    QByteArray text;
    text.reserve(bytes + 1024);
    QList<QByteArray> encodedProse;
    for (const QString& line : prose)
        encodedProse << win1250::encode(line) + "\r\n";
    QList<QByteArray> encodedAddresses;
    for (const QString& address : addresses)
        encodedAddresses << win1250::encode(address) + "\r\n\r\n";
    while (text.size() < bytes) {
        text += encodedProse[random.bounded(int(encodedProse.size()))];
        if (random.bounded(20) == 0)
            text += encodedAddresses[random.bounded(int(encodedAddresses.size()))];
    }
    return text;
}

long long runEngine(const QList<QByteArray>& patterns, const QByteArray& text)
{
    long long matches = 0;
    TRegExpr engine;
    for (const QByteArray& pattern : patterns) {
        engine.setExpression(pattern);
        for (bool found = engine.exec(text); found; found = engine.execNext())
            ++matches;
    }
    return matches;
}

long long runBarePcre(const std::vector<std::string>& translations, const QByteArray& text)
{
    long long matches = 0;
    for (const std::string& translation : translations) {
        int error = 0;
        PCRE2_SIZE offset = 0;
        pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
        pcre2_set_character_tables(context, regex::pcreTables());
        pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translation.data()), translation.size(), 0,
                                         &error, &offset, context);
        pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
        pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
        const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.constData());
        PCRE2_SIZE start = 0;
        while (start <= PCRE2_SIZE(text.size())
               && pcre2_jit_match(code, subject, PCRE2_SIZE(text.size()), start, 0, data, nullptr) >= 0) {
            const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
            ++matches;
            start = ovector[1] == ovector[0] ? ovector[1] + 1 : ovector[1];
        }
        pcre2_match_data_free(data);
        pcre2_code_free(code);
        pcre2_compile_context_free(context);
    }
    return matches;
}

double megabytesPerSecond(qsizetype bytes, const std::function<void()>& run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return double(bytes) / (1024.0 * 1024.0) / (double(timer.nsecsElapsed()) / 1e9);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QList<QByteArray> patterns = deliveredFilterPatterns();
    const QByteArray text = czechText(100 * 1024 * 1024);

    std::vector<std::string> translations;
    for (const QByteArray& pattern : patterns) {
        TRegExpr engine;
        engine.setExpression(pattern);
        engine.exec(QByteArray());
        translations.push_back(engine.translation());
    }

    long long engineMatches = 0;
    long long bareMatches = 0;
    const double engineSpeed = megabytesPerSecond(text.size(), [&] { engineMatches = runEngine(patterns, text); });
    const double bareSpeed = megabytesPerSecond(text.size(), [&] { bareMatches = runBarePcre(translations, text); });
    report("regex_address_filter_engine_100mb", engineSpeed, "MB/s");
    report("regex_address_filter_bare_pcre2_jit_100mb", bareSpeed, "MB/s");
    report("regex_engine_vs_bare_pcre2_ratio", bareSpeed / engineSpeed, "x");
    report("regex_address_filter_matches", double(engineMatches), "matches");
    report("regex_bare_pcre2_matches", double(bareMatches), "matches");

    // std::regex, on one megabyte, with those of the filter's own lines that
    // are valid ECMAScript patterns too; its ranges cannot take bytes above
    // 0x7F, so it does not get the translations.
    const QByteArray slice = text.left(1024 * 1024);
    long long stdMatches = 0;
    int refused = 0;
    const double stdSpeed = megabytesPerSecond(slice.size(), [&] {
        for (const QByteArray& pattern : patterns) {
            try {
                const std::regex re(pattern.toStdString());
                const std::string subject = slice.toStdString();
                stdMatches += std::distance(std::sregex_iterator(subject.begin(), subject.end(), re),
                                            std::sregex_iterator());
            } catch (const std::exception&) {
                ++refused;
            }
        }
    });
    report("regex_address_filter_std_regex_1mb", stdSpeed, "MB/s");
    report("regex_std_regex_matches_1mb", double(stdMatches), "matches");
    report("regex_std_regex_refused_lines", double(refused), "lines");
    return 0;
}
