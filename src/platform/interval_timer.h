#pragma once
// A window timer (the TTimer of the window, SetTimer on Windows): while it is
// enabled and its interval is not 0, its handler runs on the window's thread
// every `Interval` milliseconds.
//
// Semantics every implementation keeps:
// - Ticks keep to a grid that starts when the timer is enabled or its
//   interval is set: tick k is due k intervals after that moment, however
//   late the ticks before it ran, so the rate does not drift. A tick that
//   comes due while the handler still runs, or one missed altogether, is
//   dropped, not made up in a burst.
// - Interval 0 means no ticks (not ticks as fast as possible); the timer
//   ticks again once a non-zero interval is set.
// - Setting the interval, also to the value it has, starts the grid afresh
//   from now. Enabling an enabled timer, or disabling a disabled one,
//   changes nothing.
// - The handler never runs nested inside itself.

#include <cstdint>
#include <functional>

namespace kestrum {

class IntervalTimer {
public:
    virtual ~IntervalTimer() = default;
    // What runs at each tick (may be empty).
    virtual void SetHandler(std::function<void()> handler) = 0;
    virtual void SetInterval(std::uint32_t milliseconds) = 0;
    virtual std::uint32_t Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

}  // namespace kestrum
