#pragma once
// The time of day of a date-time written in a Windows-style time format.

#include <string>
#include <string_view>

#include "platform/clock.h"

namespace kestrum {

// Format letters: H / HH hours 0..23, h / hh hours 1..12, m / mm minutes,
// s / ss seconds (the doubled letter pads to two digits), t / tt the first
// letter / the whole of "AM" or "PM"; text in single quotes ('' is one quote)
// and every other character are copied as they are.
std::string FormatLongTime(DateTime dateTime, std::string_view format);

}  // namespace kestrum
