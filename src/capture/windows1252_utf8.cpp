#include "capture/windows1252_utf8.h"

#include <array>
#include <cstdint>

namespace kestrum {
namespace {

// Unicode code points of the bytes 0x80..0x9F.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

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
        const char16_t code = (byte >= 0x80 && byte <= 0x9F) ? kHighControlBlock[byte - 0x80u] : char16_t{byte};
        if (!AppendUtf8(out, code, maxBytes)) break;
    }
    return out;
}

}  // namespace kestrum
