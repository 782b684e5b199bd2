#include "common/WindowTimer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorlin;

TEST(WindowTimer, FiresEveryIntervalWhileEnabled)
{
    WindowTimer timer;
    QSignalSpy fired(&timer, &WindowTimer::timeout);
    timer.setInterval(30);
    EXPECT_FALSE(timer.isCounting());
    timer.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired.size() >= 3; }, 2000));
    timer.setEnabled(false);
    const auto count = fired.size();
    QTest::qWait(100);
    EXPECT_EQ(fired.size(), count);
}

TEST(WindowTimer, AnIntervalOfZeroNeverFires)
{
    WindowTimer timer;
    QSignalSpy fired(&timer, &WindowTimer::timeout);
    timer.setInterval(0);
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_FALSE(timer.isCounting());
    QTest::qWait(100);
    EXPECT_TRUE(fired.isEmpty());
    timer.setInterval(20);  // a later interval counts normally
    EXPECT_TRUE(fired.wait(1000));
}

TEST(WindowTimer, TheSameIntervalOrEnablingAgainDoesNotRestartANewOneDoes)
{
    WindowTimer timer;
    QSignalSpy fired(&timer, &WindowTimer::timeout);
    timer.setInterval(300);
    QElapsedTimer clock;
    clock.start();
    timer.setEnabled(true);
    QTest::qWait(150);
    timer.setInterval(300);
    timer.setEnabled(true);
    ASSERT_TRUE(fired.wait(1000));
    EXPECT_LT(clock.elapsed(), 420);  // counted from the first start

    timer.setEnabled(false);
    fired.clear();
    timer.setInterval(300);
    clock.restart();
    timer.setEnabled(true);
    QTest::qWait(150);
    timer.setInterval(301);  // another interval: the count starts again
    ASSERT_TRUE(fired.wait(1000));
    EXPECT_GE(clock.elapsed(), 440);
}

TEST(WindowTimer, AnIntervalBeyondOneSystemTimerDoesNotWrapIntoAShortOne)
{
    WindowTimer timer;
    QSignalSpy fired(&timer, &WindowTimer::timeout);
    timer.setInterval(4294966296u);  // what -1 s gives
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isCounting());
    QTest::qWait(100);
    EXPECT_TRUE(fired.isEmpty());
}

TEST(WindowTimer, ALongIntervalIsCountedInPiecesToItsEnd)
{
    const auto saved = WindowTimer::longestPiece;
    WindowTimer::longestPiece = 40;
    WindowTimer timer;
    QSignalSpy fired(&timer, &WindowTimer::timeout);
    timer.setInterval(200);
    QElapsedTimer clock;
    clock.start();
    timer.setEnabled(true);
    EXPECT_TRUE(fired.wait(1000));
    EXPECT_GE(clock.elapsed(), 195);
    WindowTimer::longestPiece = saved;
}
