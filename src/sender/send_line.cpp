#include "sender/send_line.h"

namespace kestrum {
namespace {

void ReplaceAll(std::string& text, std::string_view token, char byte) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, from)) {
        out.append(text, from, at - from);
        out.push_back(byte);
        from = at + token.size();
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string_view StripComment(std::string_view line, std::string_view delimiter, bool& cut) {
    cut = false;
    if (delimiter.empty()) return line;
    const std::size_t at = line.find(delimiter);
    if (at == std::string_view::npos) return line;
    cut = true;
    return line.substr(0, at);
}

std::string AsciiSendBytes(std::string_view line, const Options& options) {
    std::string bytes(line);
    if (options.SendCrStrAsCrChar || options.SendLfStrAsLfChar) {
        if (options.SendCrStrAsCrChar) ReplaceAll(bytes, "<CR>", '\r');
        if (options.SendLfStrAsLfChar) ReplaceAll(bytes, "<LF>", '\n');
    } else {
        while (EndsWith(bytes, "<CR>") || EndsWith(bytes, "<LF>")) bytes.resize(bytes.size() - 4);
    }
    if (options.AppendCrChar) bytes.push_back('\r');
    if (options.AppendLfChar) bytes.push_back('\n');
    return bytes;
}

std::string_view TrimBlanksAndControls(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
    return text;
}

std::string HexSendText(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos) line.remove_prefix(colon + 1);
    line = TrimBlanksAndControls(line);
    const std::size_t gap = line.find("  ");
    if (gap != std::string_view::npos) line = line.substr(0, gap);
    return std::string(line);
}

bool WriteWhole(SerialPorts& ports, PortHandle port, const std::string& bytes) {
    std::uint32_t written = 0;
    const auto size = static_cast<std::uint32_t>(bytes.size());
    return ports.WriteFile(port, reinterpret_cast<const std::uint8_t*>(bytes.data()), size, written) &&
           written == size;
}

}  // namespace kestrum
