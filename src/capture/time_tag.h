#pragma once
// Time tags and grouped fixed-point numbers in the locale's separators,
// formatted without the C library's locale.

#include <string>

#include "platform/locale_info.h"

namespace kestrum {

// `value` rounded to at most `precision` significant digits and shown with
// `decimals` decimals (digits beyond the significant ones as 0), the integer
// part grouped by thousands. A value with more integer digits than
// `precision` is shown in exponent form ("1.5E12").
std::string FormatGroupedNumber(double value, int precision, int decimals,
                                const LocaleInfo& locale);

// The time tag of a line: 6 decimals and 10 significant digits with the
// performance counter, 3 decimals and 7 significant digits without.
std::string FormatTimeTag(double seconds, bool counterAvailable, const LocaleInfo& locale);

}  // namespace kestrum
