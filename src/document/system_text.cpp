#include "document/system_text.h"

#include "base/windows1252.h"

namespace kestrum {
namespace {

// Length of the UTF-8 sequence at `pos` and its code point; 0 when the
// bytes there are not a valid sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::string SystemText(std::string_view name) {
    std::string text;
    text.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
        char32_t code = 0;
        const std::size_t length = static_cast<unsigned char>(name[pos]) < 0x80 ? 0 : DecodeUtf8(name, pos, code);
        if (length == 0) {
            text.push_back(name[pos++]);
        } else {
            text.push_back(static_cast<char>(UnicodeToWindows1252(code)));
            pos += length;
        }
    }
    return text;
}

}  // namespace kestrum
