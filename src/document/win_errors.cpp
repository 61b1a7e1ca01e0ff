#include "document/win_errors.h"

#include <system_error>

#include "document/system_text.h"

namespace kestrum {

std::string WinErrorText(int code, bool oneLine) {
    constexpr std::size_t kBufferSize = 255;
    std::string text = SystemText(std::generic_category().message(code));
    if (text.rfind("Unknown error", 0) == 0) text.clear();
    if (text.size() > kBufferSize) text.resize(kBufferSize);
    if (!oneLine) return text;
    for (std::size_t pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", pos + 1))
        text.replace(pos, 2, " ");
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

void ShowWinError(MessageBoxes& messages, ScreenPoint origin, const std::string& caption, const std::string& text,
                  int code) {
    const std::string message =
        text + "\r" + "WinErrorCode=" + std::to_string(code) + "\r" + WinErrorText(code, false);
    messages.Show(MessageKind::Warning, " " + caption, message, origin, MessageButtons::Ok);
}

}  // namespace kestrum
