#pragma once
// The device watcher on the window's event loop, TimerDeviceChange, and the
// look at the open ports' lines: each calls its handler from the event loop
// (also while a recording lets events through).

#include <QObject>
#include <QTimer>

#include <functional>

#include "channels/device_changes.h"
#include "platform/device_watcher.h"

class QSocketNotifier;

namespace kestrum {

class DeviceChangeWatch : public QObject, public DeviceChangeTimer {
    Q_OBJECT
public:
    // How often the open ports' lines are looked at.
    static constexpr int kLineCheckMs = 100;

    // `watcher` may be null, or have no handle: then no device change is
    // ever reported.
    explicit DeviceChangeWatch(DeviceWatcher* watcher, QObject* parent = nullptr);

    // `deviceChange` runs once for every batch of device changes the watcher
    // reports (the scan it causes covers them all), `timerFired` when
    // TimerDeviceChange fires, `lineCheck` every kLineCheckMs.
    void SetHandlers(std::function<void()> deviceChange, std::function<void()> timerFired,
                     std::function<void()> lineCheck);

    // TimerDeviceChange.
    void Restart(int intervalMs) override;
    void Stop() override;
    bool TimerActive() const { return timer_.isActive(); }

private:
    void Drain();

    DeviceWatcher* watcher_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer timer_;
    QTimer lineCheck_;
    std::function<void()> deviceChange_;
    std::function<void()> timerFired_;
    std::function<void()> lineCheckHandler_;
};

}  // namespace kestrum
