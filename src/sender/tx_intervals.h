#pragma once
// The send interval's steps (the up-down control beside the interval edit).

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrum {

// TxIntervalSteps: the intervals the up-down control steps through, in ms.
inline constexpr std::array<std::uint32_t, 10> kTxIntervalSteps{10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};

// IntervalStepIndex: the index (0..9) of the largest step not greater than
// `milliseconds`; 0 below 10, 9 above 10000.
int IntervalStepIndex(std::uint32_t milliseconds);

// The text of the interval edit as a decimal integer: digits only, at most
// 2147483647. Nothing for an empty text, any other character, or a larger
// number.
std::optional<std::uint32_t> ParseTxTimeInterval(std::string_view text);

// Keys the interval edit takes: the digits 0-9 and Backspace.
bool TxTimeIntervalKeyAccepted(char key);

}  // namespace kestrum
