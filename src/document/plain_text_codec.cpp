#include "document/plain_text_codec.h"

#include <optional>

#include "base/windows1252.h"

namespace kestrum {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// The Windows-1252 text of UTF-8 `text`; nothing when it does not decode
// (a stray byte, a cut or overlong sequence, a surrogate, beyond U+10FFFF).
std::optional<std::string> FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        int follow = 0;
        char32_t code = 0;
        char32_t least = 0;
        if ((lead & 0xE0) == 0xC0) follow = 1, code = lead & 0x1F, least = 0x80;
        else if ((lead & 0xF0) == 0xE0) follow = 2, code = lead & 0x0F, least = 0x800;
        else if ((lead & 0xF8) == 0xF0) follow = 3, code = lead & 0x07, least = 0x10000;
        else return std::nullopt;
        if (i + static_cast<std::size_t>(follow) >= text.size()) return std::nullopt;
        for (int k = 1; k <= follow; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
        out += static_cast<char>(UnicodeToWindows1252(code));
        i += static_cast<std::size_t>(follow) + 1;
    }
    return out;
}

// The Windows-1252 text of UTF-16 `text` in the given byte order; a lone
// surrogate and an odd last byte become '?'.
std::string FromUtf16(std::string_view text, bool littleEndian) {
    std::string out;
    out.reserve(text.size() / 2 + 1);
    const auto unit = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(text[at]);
        const auto b = static_cast<unsigned char>(text[at + 1]);
        return static_cast<char32_t>(littleEndian ? (b << 8 | a) : (a << 8 | b));
    };
    std::size_t i = 0;
    for (; i + 1 < text.size(); i += 2) {
        char32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < text.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        out += (code >= 0xD800 && code <= 0xDFFF) ? '?' : static_cast<char>(UnicodeToWindows1252(code));
    }
    if (i < text.size()) out += '?';
    return out;
}

bool HasByteOrderMark(std::string_view bytes) {
    for (std::string_view mark : {kUtf8Mark, kUtf16LeMark, kUtf16BeMark})
        if (bytes.substr(0, mark.size()) == mark) return true;
    return false;
}

}  // namespace

std::string PlainTextBytes(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        if (std::optional<std::string> text = FromUtf8(bytes.substr(kUtf8Mark.size()))) return *text;
        return std::string(bytes);
    }
    if (bytes.substr(0, kUtf16LeMark.size()) == kUtf16LeMark) return FromUtf16(bytes.substr(2), true);
    if (bytes.substr(0, kUtf16BeMark.size()) == kUtf16BeMark) return FromUtf16(bytes.substr(2), false);
    return std::string(bytes);
}

void ReadPlainText(std::string_view bytes, const TextAttributes& attributes, ProtocolDocument& document) {
    document.Clear();
    std::string converted;
    if (HasByteOrderMark(bytes)) {
        converted = PlainTextBytes(bytes);
        bytes = converted;
    }
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
