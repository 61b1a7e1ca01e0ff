#include "sender/input_line_history.h"

#include <algorithm>

#include "settings/language_texts.h"

namespace kestrum {

void AddInputLineToHistory(std::vector<std::string>& items, std::string_view text, int maxCount) {
    const std::string entry(text.empty() ? kNullString : text);
    const auto same = std::find(items.begin(), items.end(), entry);
    if (same != items.end()) {
        items.erase(same);
    } else {
        const std::size_t most = static_cast<std::size_t>(std::max(maxCount, 1));
        while (items.size() >= most) items.pop_back();
    }
    items.insert(items.begin(), entry);
}

InputLineButtonCaptions InputLineButtonCaptionsOf(int language) {
    if (language == kLanguageGerman) return {"OK", "Abbrechen", "Liste l\xF6schen"};
    return {"OK", "Cancel", "Clear History"};
}

}  // namespace kestrum
