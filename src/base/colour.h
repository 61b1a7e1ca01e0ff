#pragma once
// Colours as the settings file and the fonts keep them.

#include <cstdint>

namespace kestrum {

// 0x00BBGGRR; a system colour has the high byte 0xFF and the system's colour
// index in the low byte (5 the window background, 8 the window text, ...).
using Colour = std::int32_t;

constexpr Colour kSystemWindowColour = static_cast<Colour>(0xFF000005u);
constexpr Colour kSilver = 0xC0C0C0;

constexpr bool IsSystemColour(Colour colour) {
    return (static_cast<std::uint32_t>(colour) >> 24) == 0xFF;
}

}  // namespace kestrum
