#include "common/AwayFromGuiThread.h"
#include "common/Error.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

using namespace vorlin;

TEST(AwayFromGuiThread, TheGuiThreadServesItsEventsWhileTheCallWaitsForThem)
{
    // The call waits for something only the GUI thread does (as the office
    // waits for this program's clipboard): without the events served, this
    // would never return.
    std::atomic<bool> served = false;
    QTimer::singleShot(20, [&] { served = true; });
    const Qt::HANDLE guiThread = QThread::currentThreadId();
    Qt::HANDLE callThread = nullptr;
    const int result = awayFromGuiThread([&] {
        callThread = QThread::currentThreadId();
        while (!served)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 42;
    });
    EXPECT_EQ(result, 42);
    EXPECT_NE(callThread, guiThread);
}

TEST(AwayFromGuiThread, ItsErrorIsRaisedAgainForTheCaller)
{
    try {
        awayFromGuiThread([] { throw Error(QStringLiteral("selhalo")); });
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("selhalo"));
    }
}

TEST(AwayFromGuiThread, OffTheGuiThreadTheCallRunsWhereItIs)
{
    Qt::HANDLE caller = nullptr;
    Qt::HANDLE callee = nullptr;
    std::thread other([&] {
        caller = QThread::currentThreadId();
        awayFromGuiThread([&] { callee = QThread::currentThreadId(); });
    });
    other.join();
    EXPECT_EQ(caller, callee);
}

TEST(AwayFromGuiThread, ACallPastItsLimitOrStoppedIsAbandonedAndSaysSo)
{
    for (const bool byStop : {false, true}) {
        std::atomic<bool> cut = false;
        WaitLimits limits;
        limits.timeLimitMs = byStop ? 10000 : 50;
        limits.timedOutMessage = QStringLiteral("neodpovídá");
        limits.abandon = [&] { cut = true; };
        bool stopRequested = false;
        if (byStop) {
            limits.stopWhen = [&] { return stopRequested; };
            QTimer::singleShot(30, [&] { stopRequested = true; });
        }
        try {
            awayFromGuiThread([&] {
                while (!cut)  // a frozen peer, until the connection is cut
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }, limits);
            ADD_FAILURE() << "no error";
        } catch (const CallTimedOut& error) {
            EXPECT_FALSE(byStop);
            EXPECT_EQ(error.message(), QStringLiteral("neodpovídá"));
        } catch (const CallStopped&) {
            EXPECT_TRUE(byStop);
        }
        EXPECT_TRUE(cut);
    }
}

// Work in the background hands its result, or its error, to the GUI thread
// while the object that asked lives; after it is gone, to nobody.
TEST(AwayFromGuiThread, BackgroundWorkReachesOnlyALivingAsker)
{
    const Qt::HANDLE guiThread = QThread::currentThreadId();
    QStringList taken;
    for (const bool failing : {false, true}) {
        QObject asker;
        runInBackground(
            &asker,
            [failing] {
                if (failing)
                    throw Error(QStringLiteral("selhalo"));
                return QStringLiteral("výsledek");
            },
            [&](Outcome<QString> outcome) {
                EXPECT_EQ(QThread::currentThreadId(), guiThread);
                try {
                    taken << outcome.take();
                } catch (const Error& error) {
                    taken << error.message();
                }
            });
        backgroundThreads().waitForDone();
        QCoreApplication::processEvents();
    }
    auto gone = std::make_unique<QObject>();
    runInBackground(gone.get(), [] { return QStringLiteral("pozdě"); }, [&](Outcome<QString> outcome) { taken << outcome.take(); });
    gone.reset();
    backgroundThreads().waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(taken, (QStringList{QStringLiteral("výsledek"), QStringLiteral("selhalo")}));
}
