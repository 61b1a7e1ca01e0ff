#include "capture/windows1252_utf8.h"

#include "base/windows1252.h"

#include <array>
#include <cstdint>

namespace kestrum {
namespace {

// Appends the UTF-8 form of a code point below 0x10000; false when it
// would not fit in `maxBytes`.
bool AppendUtf8(std::string& out, char16_t code, std::size_t maxBytes) {
    char encoded[3];
    std::size_t length = 0;
    if (code < 0x80) {
        encoded[length++] = static_cast<char>(code);
    } else if (code < 0x800) {
        encoded[length++] = static_cast<char>(0xC0 | (code >> 6));
        encoded[length++] = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        encoded[length++] = static_cast<char>(0xE0 | (code >> 12));
        encoded[length++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        encoded[length++] = static_cast<char>(0x80 | (code & 0x3F));
    }
    if (out.size() + length > maxBytes) return false;
    out.append(encoded, length);
    return true;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view text, std::size_t maxBytes) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t code = Windows1252ToUnicode(byte);
        if (!AppendUtf8(out, code, maxBytes)) break;
    }
    return out;
}

}  // namespace kestrum
