#pragma once

#include <QBasicTimer>
#include <QObject>

#include <cstdint>

namespace vorlin {

// A timer that behaves as a window timer of the desktop the program comes
// from: it fires every interval while enabled, on the thread that owns it.
// An interval of 0 never fires; setting the interval it already has, or
// enabling a timer that is enabled, changes nothing; a new interval restarts
// the count. Intervals are unsigned milliseconds and may exceed what one
// system timer takes: a long one is counted down in pieces.
class WindowTimer : public QObject {
    Q_OBJECT
public:
    explicit WindowTimer(QObject* parent = nullptr) : QObject(parent) {}

    std::uint32_t interval() const { return interval_; }
    // Raises "Not enough timers available" when no system timer can be had.
    void setInterval(std::uint32_t milliseconds);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // Whether a count is running (enabled with an interval above 0).
    bool isCounting() const { return timer_.isActive(); }

    // The longest piece one system timer counts: what Qt's timers take.
    // Tests shorten it to see a long interval counted in pieces.
    static inline std::uint64_t longestPiece = 0x7FFFFFFF;

Q_SIGNALS:
    void timeout();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void restart();
    void startPiece();

    std::uint32_t interval_ = 1000;
    bool enabled_ = false;
    std::uint64_t remaining_ = 0;  // of the current interval, before the running piece
    QBasicTimer timer_;
};

}  // namespace vorlin
