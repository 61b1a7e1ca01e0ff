#pragma once

namespace kestrum {

// low if value < low, else high if value > high, else value.
template <typename T>
constexpr T Clamp(T value, T low, T high) {
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

}  // namespace kestrum
