#include "base/hex_text.h"

#include <cstdint>

namespace kestrum {

namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTrimmed(text[first])) ++first;
    while (last > first && IsTrimmed(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

// One left-to-right pass; text formed by a removal is not looked at again.
std::string RemoveAll(const std::string& text, std::string_view what) {
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.compare(pos, what.size(), what) == 0) {
            pos += what.size();
        } else {
            result += text[pos++];
        }
    }
    return result;
}

// Steps 1-3 of the conversion: trim, upper-case, drop prefixes and suffixes,
// turn separators into single blanks, trim again.
std::string CleanUp(std::string_view text) {
    std::string s = Trim(text);
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    s = RemoveAll(s, "$");
    s = RemoveAll(s, "H");
    s = RemoveAll(s, "0X");
    std::string spaced;
    spaced.reserve(s.size());
    for (char c : s) {
        if (c == '-' || c == '\t') c = ' ';
        if (c == ' ' && !spaced.empty() && spaced.back() == ' ') continue;
        spaced += c;
    }
    return Trim(spaced);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

HexTextError ParseHexText(std::string_view text, std::string& bytes, std::string* cleanText) {
    bytes.clear();
    std::string clean = CleanUp(text);
    for (char c : clean) {
        if (c != ' ' && HexValue(c) < 0) {
            if (cleanText != nullptr) *cleanText = std::move(clean);
            return HexTextError::InvalidCipher;
        }
    }
    std::string result;
    std::size_t pos = 0;
    while (pos < clean.size()) {
        // Tokens are separated by exactly one blank after the clean-up.
        std::uint32_t value = 0;
        while (pos < clean.size() && clean[pos] != ' ') {
            // Saturate: any value above FF is refused the same way.
            if (value <= 0xFF) value = value * 16 + static_cast<std::uint32_t>(HexValue(clean[pos]));
            ++pos;
        }
        if (value > 0xFF) {
            if (cleanText != nullptr) *cleanText = std::move(clean);
            return HexTextError::AboveFF;
        }
        result += static_cast<char>(value);
        ++pos;  // the blank
    }
    bytes = std::move(result);
    if (cleanText != nullptr) *cleanText = std::move(clean);
    return HexTextError::None;
}

int PaddedHexTextWidth(int maxLength) {
    const int width = 3 * maxLength + 2 * ((maxLength - 1) / 8) + 2;
    return width < 0 ? 0 : width;
}

std::optional<std::string> FormatHexText(std::string_view bytes, int maxLength, bool pad) {
    if (maxLength < 0 || bytes.size() > static_cast<std::size_t>(maxLength)) return std::nullopt;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(static_cast<std::size_t>(PaddedHexTextWidth(maxLength)));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
        text += ' ';
        if ((i + 1) % 8 == 0 && i + 1 < bytes.size()) text += "- ";
    }
    if (!pad) {
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text;
    }
    const auto width = static_cast<std::size_t>(PaddedHexTextWidth(maxLength));
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

}  // namespace kestrum
