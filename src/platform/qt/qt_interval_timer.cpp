#include "platform/qt/qt_interval_timer.h"

#include <algorithm>
#include <limits>
#include <thread>

namespace kestrum {

QtIntervalTimer::QtIntervalTimer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QtIntervalTimer::Tick);
}

void QtIntervalTimer::SetInterval(std::uint32_t milliseconds) {
    interval_ = milliseconds;
    Restart();
}

void QtIntervalTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Restart();
}

void QtIntervalTimer::Restart() {
    timer_.stop();
    if (!Ticking()) return;
    origin_ = Clock::now();
    lastTick_ = 0;
    ArmNext();
}

void QtIntervalTimer::ArmNext() {
    const auto interval = std::chrono::milliseconds(interval_);
    const auto now = Clock::now();
    // Grid points that passed while the thread was busy are dropped.
    armed_ = std::max(lastTick_, static_cast<std::int64_t>((now - origin_) / interval)) + 1;
    // The event loop counts whole milliseconds: it wakes up to one before the
    // grid point, and the tick sleeps the rest.
    const auto wait = std::chrono::floor<std::chrono::milliseconds>(origin_ + armed_ * interval - now);
    timer_.start(static_cast<int>(std::min<std::int64_t>(wait.count(), std::numeric_limits<int>::max())));
}

void QtIntervalTimer::Tick() {
    if (!Ticking()) return;
    const Clock::time_point due = origin_ + armed_ * std::chrono::milliseconds(interval_);
    if (Clock::now() < due) {
        if (due - Clock::now() > kLongestSleep) {
            ArmNext();
            return;
        }
        std::this_thread::sleep_until(due);
    }
    lastTick_ = armed_;
    if (inHandler_ || !handler_) {
        ArmNext();
        return;
    }
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(inHandler_);
    handler_();
    // A handler that set the interval or enabled the timer again has armed it.
    if (Ticking() && !timer_.isActive()) ArmNext();
}

}  // namespace kestrum
