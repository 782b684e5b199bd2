#include "support/StoreFixture.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

#include <csignal>
#include <cstdio>

using namespace vorlin;
using namespace vorlin::test;

namespace {

class StoreCrash : public StoreFixture {};

}  // namespace

// Posts that returned survive a kill at any moment, and the file stays whole.
TEST_F(StoreCrash, EveryReturnedPostSurvivesSigkill)
{
    QSet<qint64> returned;
    QRandomGenerator random(20261207);
    for (int round = 0; round < 8; ++round) {
        QProcess child;
        child.start(QStringLiteral(STORE_CRASH_CHILD), {dataDir});
        ASSERT_TRUE(child.waitForStarted());
        // Let it post for a while, then kill it wherever it is.
        ASSERT_TRUE(child.waitForReadyRead(10000));
        QThread::msleep(random.bounded(20, 200));
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished();
        for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                returned.insert(line.toLongLong());
    }
    ASSERT_GE(returned.size(), 8);  // at least one post a round, however slow the disk
    std::printf("posts returned before the kills: %lld\n", qint64(returned.size()));

    db::Database database(databaseFile());
    db::Statement check(database, QStringLiteral("PRAGMA integrity_check"));
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.column(0).toString(), QStringLiteral("ok"));

    QSet<qint64> stored;
    db::Statement ids(database, QStringLiteral("SELECT ID FROM vorlin"));
    while (ids.step())
        stored.insert(ids.column(0).toLongLong());
    for (qint64 id : returned)
        EXPECT_TRUE(stored.contains(id)) << "post " << id << " was lost";
}
