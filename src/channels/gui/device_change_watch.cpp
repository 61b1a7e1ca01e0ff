#include "channels/gui/device_change_watch.h"

#include <QSocketNotifier>

namespace kestrum {

DeviceChangeWatch::DeviceChangeWatch(DeviceWatcher* watcher, QObject* parent) : QObject(parent), watcher_(watcher) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (timerFired_) timerFired_();
    });
    lineCheck_.setInterval(kLineCheckMs);
    connect(&lineCheck_, &QTimer::timeout, this, [this] {
        if (lineCheckHandler_) lineCheckHandler_();
    });
    if (watcher_ != nullptr && watcher_->EventHandle() >= 0) {
        notifier_ = new QSocketNotifier(watcher_->EventHandle(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    }
}

void DeviceChangeWatch::SetHandlers(std::function<void()> deviceChange, std::function<void()> timerFired,
                                    std::function<void()> lineCheck) {
    deviceChange_ = std::move(deviceChange);
    timerFired_ = std::move(timerFired);
    lineCheckHandler_ = std::move(lineCheck);
    lineCheck_.start();
}

void DeviceChangeWatch::Restart(int intervalMs) {
    timer_.stop();
    timer_.start(intervalMs);
}

void DeviceChangeWatch::Stop() { timer_.stop(); }

void DeviceChangeWatch::Drain() {
    if (watcher_->DrainDeviceChanges() > 0 && deviceChange_) deviceChange_();
}

}  // namespace kestrum
