#include "app/command_guard.h"

#include <string>

namespace kestrum {

std::string StandardErrorText(const std::exception& error) {
    std::string text = error.what() ? error.what() : "";
    return text.empty() ? std::string("An unexpected error occurred.") : text;
}

bool RunGuarded(MessageBoxes& messages, ScreenPoint origin, const std::function<void()>& action) {
    std::string text;
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        text = StandardErrorText(error);
    } catch (...) {
        text = "An unexpected error occurred.";
    }
    messages.Beep(MessageKind::Error);
    messages.Show(MessageKind::Error, "Kestrum", text, origin);
    return false;
}

}  // namespace kestrum
