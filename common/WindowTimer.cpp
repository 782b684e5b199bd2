#include "common/WindowTimer.h"

#include "common/Error.h"

#include <QTimerEvent>

#include <algorithm>

namespace vorlin {

void WindowTimer::setInterval(std::uint32_t milliseconds)
{
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    if (enabled_)
        restart();
}

void WindowTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled_)
        restart();
    else
        timer_.stop();
}

void WindowTimer::restart()
{
    timer_.stop();
    if (interval_ == 0)
        return;
    remaining_ = interval_;
    startPiece();
}

void WindowTimer::startPiece()
{
    const auto piece = std::min(remaining_, longestPiece);
    remaining_ -= piece;
    timer_.start(int(piece), Qt::PreciseTimer, this);
    if (!timer_.isActive()) {
        enabled_ = false;
        throw Error(QStringLiteral("Not enough timers available"));
    }
}

void WindowTimer::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer_.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    timer_.stop();
    if (remaining_ > 0) {
        startPiece();
        return;
    }
    // The next interval counts from now, as a window timer's does.
    remaining_ = interval_;
    startPiece();
    Q_EMIT timeout();
}

}  // namespace vorlin
