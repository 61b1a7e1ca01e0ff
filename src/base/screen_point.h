#pragma once

namespace kestrum {

// A point on the screen in pixels (where message boxes and dialogs go).
struct ScreenPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

}  // namespace kestrum
