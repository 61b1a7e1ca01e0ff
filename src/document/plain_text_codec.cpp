#include "document/plain_text_codec.h"

namespace kestrum {

void ReadPlainText(std::string_view bytes, const TextAttributes& attributes, ProtocolDocument& document) {
    document.Clear();
    const FormatIndex format = document.AddFormat(attributes);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = FindLineEnd(bytes, pos);
        document.AddLine();
        if (end == std::string_view::npos) {
            document.AppendText(bytes.substr(pos), format);
            return;
        }
        document.AppendText(bytes.substr(pos, end - pos), format);
        pos = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
}

std::string WritePlainText(const ProtocolDocument& document) {
    std::string out;
    out.reserve(document.TextSize() + 2 * document.LineCount());
    for (std::size_t line = 0; line < document.LineCount(); ++line) {
        out.append(document.LineText(line));
        out += "\r\n";
    }
    return out;
}

}  // namespace kestrum
