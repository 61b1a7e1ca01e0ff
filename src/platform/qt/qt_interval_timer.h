#pragma once
// The window timer over a single-shot QTimer of the precise kind, armed at
// each tick for the next point of its own grid of whole intervals (see
// platform/interval_timer.h): a tick that runs late, or a tick missed while
// the thread was busy, does not move the ticks after it. The event loop
// wakes in whole milliseconds, up to one before the grid point; the tick
// sleeps the rest, so ticks keep to the grid within a fraction of one. (A periodic QTimer
// starts its count afresh after a late tick, and with interval 0 it would
// fire at every pass of the event loop; here interval 0 means no ticks.)

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/interval_timer.h"

namespace kestrum {

class QtIntervalTimer : public QObject, public IntervalTimer {
    Q_OBJECT
public:
    explicit QtIntervalTimer(QObject* parent = nullptr);

    void SetHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    void SetInterval(std::uint32_t milliseconds) override;
    std::uint32_t Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }

    // Whether a tick is due (enabled with a non-zero interval).
    bool Ticking() const { return enabled_ && interval_ != 0; }

private:
    using Clock = std::chrono::steady_clock;
    // A wake-up earlier than this before the grid point waits in the loop again.
    static constexpr std::chrono::milliseconds kLongestSleep{2};
    // Starts the grid now.
    void Restart();
    // Arms the single shot for the first grid point after now that has not
    // ticked yet.
    void ArmNext();
    void Tick();

    QTimer timer_;
    std::function<void()> handler_;
    std::uint32_t interval_ = 1000;
    bool enabled_ = false;
    bool inHandler_ = false;
    Clock::time_point origin_;   // grid point 0
    std::int64_t lastTick_ = 0;  // grid point of the latest tick (0: none yet)
    std::int64_t armed_ = 0;     // grid point the single shot is armed for
};

}  // namespace kestrum
