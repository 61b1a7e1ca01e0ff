#pragma once
// The window timer over a QTimer of the precise kind (its ticks keep to a
// grid of whole intervals from the start; see platform/interval_timer.h).
// A QTimer with interval 0 would fire at every pass of the event loop: here
// interval 0 stops the QTimer until a non-zero interval comes.

#include <QObject>
#include <QTimer>

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

    // Whether the underlying QTimer runs (enabled with a non-zero interval).
    bool Ticking() const { return timer_.isActive(); }

private:
    void Update();
    void Tick();

    QTimer timer_;
    std::function<void()> handler_;
    std::uint32_t interval_ = 1000;
    bool enabled_ = false;
    bool inHandler_ = false;
};

}  // namespace kestrum
