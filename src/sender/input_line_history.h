#pragma once
// The list of the manual-send dialog: its entries, newest first, each once,
// and the texts of its buttons.

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// Stands for an empty entry in the list and in the saved history.
inline constexpr std::string_view kNullString = "<NullString>";

// AddInputLineToHistory: puts `text` at the top of `items`. An empty text
// becomes "<NullString>"; the same text further down (exact, case-sensitive)
// is removed; otherwise, with `maxCount` items already, the oldest is
// dropped. A `maxCount` below 1 keeps one item.
void AddInputLineToHistory(std::vector<std::string>& items, std::string_view text, int maxCount);

// Captions of the dialog's buttons in `language` (2 German, else English).
struct InputLineButtonCaptions {
    std::string Ok;
    std::string Cancel;
    std::string ClearHistory;
};
InputLineButtonCaptions InputLineButtonCaptionsOf(int language);

}  // namespace kestrum
