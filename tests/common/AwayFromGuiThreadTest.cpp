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

TEST(AwayFromGuiThread, ACallPastItsLimitIsAbandonedAndSaysSo)
{
    std::atomic<bool> cut = false;
    try {
        awayFromGuiThread([&] {
            while (!cut)  // a frozen peer, until the connection is cut
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }, 50, [&] { cut = true; }, QStringLiteral("neodpovídá"));
        ADD_FAILURE() << "no error";
    } catch (const CallTimedOut& error) {
        EXPECT_EQ(error.message(), QStringLiteral("neodpovídá"));
    }
    EXPECT_TRUE(cut);
}
