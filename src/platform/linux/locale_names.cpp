#include "platform/linux/locale_names.h"

#include <cctype>

namespace kestrum {
namespace {

struct LanguageEntry {
    std::string_view Language;
    std::string_view Territory;  // empty: any territory
    unsigned Id;
};

// Windows language identifiers: sublanguage << 10 | primary language.
constexpr LanguageEntry kLanguages[] = {
    {"de", "DE", 0x0407}, {"de", "CH", 0x0807}, {"de", "AT", 0x0C07},
    {"de", "LU", 0x1007}, {"de", "LI", 0x1407}, {"de", "", 0x0407},
    {"en", "US", 0x0409}, {"en", "GB", 0x0809}, {"en", "AU", 0x0C09},
    {"en", "CA", 0x1009}, {"en", "NZ", 0x1409}, {"en", "IE", 0x1809},
    {"en", "", 0x0409},
    {"fr", "FR", 0x040C}, {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C},
    {"fr", "CH", 0x100C}, {"fr", "", 0x040C},
    {"it", "CH", 0x0810}, {"it", "", 0x0410},
    {"nl", "BE", 0x0813}, {"nl", "", 0x0413},
    {"es", "", 0x0C0A}, {"pt", "BR", 0x0416}, {"pt", "", 0x0816},
    {"da", "", 0x0406}, {"sv", "", 0x041D}, {"nb", "", 0x0414}, {"no", "", 0x0414},
    {"nn", "", 0x0814}, {"fi", "", 0x040B}, {"pl", "", 0x0415}, {"cs", "", 0x0405},
    {"sk", "", 0x041B}, {"hu", "", 0x040E}, {"ru", "", 0x0419}, {"tr", "", 0x041F},
    {"el", "", 0x0408}, {"ja", "", 0x0411}, {"zh", "", 0x0804}, {"ko", "", 0x0412},
};

constexpr unsigned kEnglishUnitedStates = 0x0409;

std::string Upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::string Lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

}  // namespace

unsigned LanguageIdFromLocaleName(std::string_view localeName) {
    // language[_territory][.codeset][@modifier]
    const std::size_t end = localeName.find_first_of(".@");
    const std::string_view base = localeName.substr(0, end);
    const std::size_t underscore = base.find('_');
    const std::string language = Lower(base.substr(0, underscore));
    const std::string territory =
        underscore == std::string_view::npos ? std::string() : Upper(base.substr(underscore + 1));
    for (const LanguageEntry& entry : kLanguages)
        if (entry.Language == language && entry.Territory == territory) return entry.Id;
    for (const LanguageEntry& entry : kLanguages)
        if (entry.Language == language && entry.Territory.empty()) return entry.Id;
    return kEnglishUnitedStates;
}

std::string MessagesLocaleName(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang})
        if (value != nullptr && *value != '\0') return value;
    return "C";
}

std::string TimePictureFromStrftime(std::string_view format, std::string_view ampmFormat) {
    std::string picture;
    std::string literal;  // pending literal letters, quoted when flushed
    bool hasHour = false;
    const auto flushLiteral = [&] {
        if (literal.empty()) return;
        picture += '\'';
        picture += literal;
        picture += '\'';
        literal.clear();
    };
    const auto field = [&](std::string_view text) {
        flushLiteral();
        picture += text;
    };
    const auto convert = [&](std::string_view text, int depth, auto& self) -> void {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c != '%') {
                if (std::isalpha(static_cast<unsigned char>(c)) || c == '\'') {
                    if (c != '\'') literal += c;
                } else {
                    flushLiteral();
                    picture += c;
                }
                continue;
            }
            if (++i >= text.size()) break;
            // Flags, width and the E/O modifiers do not change the picture.
            while (i < text.size() && (text[i] == '-' || text[i] == '_' || text[i] == '0' ||
                                       text[i] == '^' || text[i] == '#' || text[i] == 'E' ||
                                       text[i] == 'O' || std::isdigit(static_cast<unsigned char>(text[i]))))
                ++i;
            if (i >= text.size()) break;
            switch (text[i]) {
                case 'H': field("HH"); hasHour = true; break;
                case 'k': field("H"); hasHour = true; break;
                case 'I': field("hh"); hasHour = true; break;
                case 'l': field("h"); hasHour = true; break;
                case 'M': field("mm"); break;
                case 'S': field("ss"); break;
                case 'p': case 'P': field("tt"); break;
                case 'T': field("HH:mm:ss"); hasHour = true; break;
                case 'R': field("HH:mm"); hasHour = true; break;
                case 'r':
                    if (depth == 0 && !ampmFormat.empty()) self(ampmFormat, depth + 1, self);
                    else { field("hh:mm:ss tt"); hasHour = true; }
                    break;
                case 'n': case 't': flushLiteral(); picture += ' '; break;
                case '%': flushLiteral(); picture += '%'; break;
                default: break;  // date parts and time zones have no place here
            }
        }
    };
    convert(format, 0, convert);
    flushLiteral();
    // Trim blanks left by dropped conversions.
    const std::size_t first = picture.find_first_not_of(' ');
    const std::size_t last = picture.find_last_not_of(' ');
    picture = first == std::string::npos ? std::string() : picture.substr(first, last - first + 1);
    if (!hasHour) return "HH:mm:ss";
    return picture;
}

char SeparatorByte(std::string_view utf8, char fallback) {
    if (utf8.empty()) return '\0';
    const auto b0 = static_cast<unsigned char>(utf8[0]);
    if (b0 < 0x80) return utf8.size() == 1 ? static_cast<char>(b0) : fallback;
    unsigned codePoint = 0;
    if ((b0 & 0xE0) == 0xC0 && utf8.size() == 2) {
        codePoint = (b0 & 0x1Fu) << 6 | (static_cast<unsigned char>(utf8[1]) & 0x3Fu);
    } else if ((b0 & 0xF0) == 0xE0 && utf8.size() == 3) {
        codePoint = (b0 & 0x0Fu) << 12 | (static_cast<unsigned char>(utf8[1]) & 0x3Fu) << 6 |
                    (static_cast<unsigned char>(utf8[2]) & 0x3Fu);
    } else {
        return fallback;
    }
    if (codePoint >= 0xA0 && codePoint <= 0xFF) return static_cast<char>(codePoint);
    if (codePoint == 0x2019) return static_cast<char>(0x92);
    if (codePoint == 0x2009 || codePoint == 0x202F) return static_cast<char>(0xA0);
    return fallback;
}

}  // namespace kestrum
