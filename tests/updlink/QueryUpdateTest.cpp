// The update library against a small HTTP server of the test's own on
// 127.0.0.1, serving from another thread while the library waits.
#include "support/TempDir.h"
#include "support/TinyHttpServer.h"
#include "updlink/VersionCompare.h"
#include "updlink/updlink.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace vorlin::updlink;
using vorlin::test::TempDir;
using TinyServer = vorlin::test::TinyHttpServer;

namespace {

struct Outcome {
    int result;
    unsigned char newer;
};

Outcome ask(const QByteArray& url, const QByteArray& installed = "2.1\r\n")
{
    TempDir dir;
    dir.write(QStringLiteral("vorlin.txt"), installed);
    const QByteArray local = QFile::encodeName(dir.file(QStringLiteral("vorlin.txt")));
    unsigned char newer = 7;
    const int result = QueryUpdate(url.constData(), local.constData(), "http://127.0.0.1/stazeni/",
                                   QFile::encodeName(dir.path()).constData(), 0, &newer);
    return {result, newer};
}

}  // namespace

TEST(Versions, DottedNumbersCompareAsNumbers)
{
    EXPECT_TRUE(isNewer(*parseVersion("2.10"), *parseVersion("2.9")));
    EXPECT_FALSE(isNewer(*parseVersion("2.1"), *parseVersion("2.1.0")));
    EXPECT_TRUE(isNewer(*parseVersion("2.1.1"), *parseVersion("2.1")));
    EXPECT_FALSE(isNewer(*parseVersion("1.9.9"), *parseVersion("2")));
    EXPECT_TRUE(parseVersion(" 3.0 ").has_value());
    for (const char* bad : {"", "abc", "2.", ".2", "2..1", "2.1a", "v2", "1 2"})
        EXPECT_FALSE(parseVersion(bad).has_value()) << bad;
    EXPECT_EQ(firstLine("\xEF\xBB\xBF" "2.2\r\nnews"), "2.2");
}

TEST(QueryUpdate, TheServersVersionDecidesTheFlag)
{
    struct Case {
        const char* name;
        QByteArray status;
        QByteArray body;
        int result;
        unsigned char newer;
    };
    const Case cases[] = {
        {"newer", "200 OK", "2.2\r\nnové funkce\r\n", 0, 1},
        {"same", "200 OK", "2.1", 0, 0},
        {"same, longer form", "200 OK", "2.1.0\n", 0, 0},
        {"older", "200 OK", "2.0.9", 0, 0},
        {"garbage", "200 OK", "<html>Not here</html>", 1, 0},
        {"empty", "200 OK", "", 1, 0},
        {"not found", "404 Not Found", "2.2", 1, 0},
        {"a page too long", "200 OK", "2.3\n" + QByteArray(100000, 'x'), 0, 1},
    };
    for (const Case& c : cases) {
        TinyServer server(c.status, c.body);
        const Outcome outcome = ask(server.url());
        EXPECT_EQ(outcome.result, c.result) << c.name;
        EXPECT_EQ(outcome.newer, c.newer) << c.name;
    }
}

TEST(QueryUpdate, NoServerOrASlowOneFailsWithinTheTimeouts)
{
    // Nothing listens on a port that was just free.
    QByteArray closed;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closed = "http://127.0.0.1:" + QByteArray::number(probe.serverPort()) + "/vorlin.txt";
    }
    QElapsedTimer clock;
    clock.start();
    Outcome outcome = ask(closed);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.newer, 0);
    EXPECT_LT(clock.elapsed(), 1000);

    TinyServer slow("200 OK", "9.9", 3500);
    clock.restart();
    outcome = ask(slow.url());
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.newer, 0);
    EXPECT_LT(clock.elapsed(), 3600);

    clock.restart();
    outcome = ask("http://neexistuje.invalid/vorlin.txt");
    EXPECT_EQ(outcome.result, 1);
    EXPECT_LT(clock.elapsed(), 3600);
}

TEST(QueryUpdate, OnlyHttpsIsFetchedAlsoAfterARedirect)
{
    TinyServer plain("200 OK", "9.9");
    TinyServer redirecting("302 Found\r\nLocation: " + plain.url(), "");
    const Outcome redirected = ask(redirecting.url());
    EXPECT_EQ(redirected.result, 1);
    EXPECT_EQ(redirected.newer, 0);
    // Plain HTTP from any other machine is not asked at all.
    EXPECT_EQ(ask("http://192.0.2.1/vorlin.txt").result, 1);
}

TEST(QueryUpdate, AMissingLocalVersionFileIsAFailedCheck)
{
    TinyServer server("200 OK", "2.2");
    unsigned char newer = 7;
    EXPECT_EQ(QueryUpdate(server.url().constData(), "/nikde/vorlin.txt", "", "", 0, &newer), 1);
    EXPECT_EQ(newer, 0);
    // Asked by the user, the failure is told through the program's reporter.
    static std::string told;
    SetUpdateReporter([](const char* message) { told = message; });
    EXPECT_EQ(QueryUpdate(server.url().constData(), "/nikde/vorlin.txt", "", "", 1, &newer), 1);
    SetUpdateReporter(nullptr);
    EXPECT_EQ(told, "Kontrola aktualizací se nezdařila: server neodpověděl nebo neuvedl verzi.");
}
