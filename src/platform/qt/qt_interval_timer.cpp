#include "platform/qt/qt_interval_timer.h"

#include <limits>

namespace kestrum {

QtIntervalTimer::QtIntervalTimer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &QtIntervalTimer::Tick);
}

void QtIntervalTimer::SetInterval(std::uint32_t milliseconds) {
    interval_ = milliseconds;
    Update();
}

void QtIntervalTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void QtIntervalTimer::Update() {
    if (!enabled_ || interval_ == 0) {
        timer_.stop();
        return;
    }
    // QTimer counts in int milliseconds.
    constexpr std::uint32_t kLongest = std::numeric_limits<int>::max();
    timer_.start(static_cast<int>(interval_ < kLongest ? interval_ : kLongest));
}

void QtIntervalTimer::Tick() {
    if (inHandler_ || !handler_) return;
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(inHandler_);
    handler_();
}

}  // namespace kestrum
