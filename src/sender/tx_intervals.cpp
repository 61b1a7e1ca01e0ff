#include "sender/tx_intervals.h"

namespace kestrum {

int IntervalStepIndex(std::uint32_t milliseconds) {
    int index = 0;
    for (std::size_t i = 0; i < kTxIntervalSteps.size(); ++i)
        if (kTxIntervalSteps[i] <= milliseconds) index = static_cast<int>(i);
    return index;
}

std::optional<std::uint32_t> ParseTxTimeInterval(std::string_view text) {
    constexpr std::uint64_t kLargest = 2147483647;
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > kLargest) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

bool TxTimeIntervalKeyAccepted(char key) {
    return (key >= '0' && key <= '9') || key == '\b';
}

}  // namespace kestrum
