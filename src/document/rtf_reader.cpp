#include "document/rtf_reader.h"

#include "base/windows1252.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

namespace kestrum {

namespace {

constexpr std::size_t kMaxFontNameLength = 255;
constexpr std::size_t kMaxControlWordLength = 32;
constexpr int kMaxFontPoints = 1638;
constexpr int kDefaultHalfPoints = 24;  // 12 points, the size \plain gives
constexpr Colour kAutoColour = -1;

enum class Destination : std::uint8_t { Text, FontTable, ColourTable, Skip };

enum class Word : std::uint8_t {
    Unknown, Bin, Bold, Italic, Underline, UnderlineNone, Strike, Plain, Font, FontSize, Colour,
    DefaultFont, UnicodeSkip, Unicode, LineEnd, Char, FontTable, ColourTable, SkipDestination,
    Red, Green, Blue,
};

struct WordEntry {
    std::string_view Name;
    Word Kind;
    unsigned char Byte = 0;  // the character of a Word::Char
};

// Sorted by name for the binary search.
constexpr WordEntry kWords[] = {
    {"aftnsep", Word::SkipDestination},
    {"aftnsepc", Word::SkipDestination},
    {"annotation", Word::SkipDestination},
    {"atnid", Word::SkipDestination},
    {"b", Word::Bold},
    {"bin", Word::Bin},
    {"blue", Word::Blue},
    {"bullet", Word::Char, 0x95},
    {"cell", Word::Char, '\t'},
    {"cf", Word::Colour},
    {"colorschememapping", Word::SkipDestination},
    {"colortbl", Word::ColourTable},
    {"datastore", Word::SkipDestination},
    {"deff", Word::DefaultFont},
    {"emdash", Word::Char, 0x97},
    {"emspace", Word::Char, ' '},
    {"endash", Word::Char, 0x96},
    {"enspace", Word::Char, ' '},
    {"f", Word::Font},
    {"fldinst", Word::SkipDestination},
    {"fonttbl", Word::FontTable},
    {"footer", Word::SkipDestination},
    {"footerf", Word::SkipDestination},
    {"footerl", Word::SkipDestination},
    {"footerr", Word::SkipDestination},
    {"footnote", Word::SkipDestination},
    {"fs", Word::FontSize},
    {"ftncn", Word::SkipDestination},
    {"ftnsep", Word::SkipDestination},
    {"ftnsepc", Word::SkipDestination},
    {"generator", Word::SkipDestination},
    {"green", Word::Green},
    {"header", Word::SkipDestination},
    {"headerf", Word::SkipDestination},
    {"headerl", Word::SkipDestination},
    {"headerr", Word::SkipDestination},
    {"i", Word::Italic},
    {"info", Word::SkipDestination},
    {"latentstyles", Word::SkipDestination},
    {"ldblquote", Word::Char, 0x93},
    {"line", Word::LineEnd},
    {"listoverridetable", Word::SkipDestination},
    {"listtable", Word::SkipDestination},
    {"lquote", Word::Char, 0x91},
    {"nestcell", Word::Char, '\t'},
    {"nestrow", Word::LineEnd},
    {"nonshppict", Word::SkipDestination},
    {"object", Word::SkipDestination},
    {"par", Word::LineEnd},
    {"pict", Word::SkipDestination},
    {"plain", Word::Plain},
    {"rdblquote", Word::Char, 0x94},
    {"red", Word::Red},
    {"revtbl", Word::SkipDestination},
    {"row", Word::LineEnd},
    {"rquote", Word::Char, 0x92},
    {"rsidtbl", Word::SkipDestination},
    {"shp", Word::SkipDestination},
    {"strike", Word::Strike},
    {"striked", Word::Strike},
    {"stylesheet", Word::SkipDestination},
    {"tab", Word::Char, '\t'},
    {"template", Word::SkipDestination},
    {"themedata", Word::SkipDestination},
    {"u", Word::Unicode},
    {"uc", Word::UnicodeSkip},
    {"ul", Word::Underline},
    {"uld", Word::Underline},
    {"uldash", Word::Underline},
    {"uldashd", Word::Underline},
    {"uldashdd", Word::Underline},
    {"uldb", Word::Underline},
    {"ulhwave", Word::Underline},
    {"ulldash", Word::Underline},
    {"ulnone", Word::UnderlineNone},
    {"ulth", Word::Underline},
    {"ulthd", Word::Underline},
    {"ulthdash", Word::Underline},
    {"ulthdashd", Word::Underline},
    {"ulthdashdd", Word::Underline},
    {"ulthldash", Word::Underline},
    {"ululdbwave", Word::Underline},
    {"ulw", Word::Underline},
    {"ulwave", Word::Underline},
    {"xmlnstbl", Word::SkipDestination},
};

constexpr bool ByName(const WordEntry& a, const WordEntry& b) { return a.Name < b.Name; }
static_assert(std::is_sorted(std::begin(kWords), std::end(kWords), ByName));

const WordEntry* FindWord(std::string_view name) {
    const WordEntry key{name, Word::Unknown};
    const auto* found = std::lower_bound(std::begin(kWords), std::end(kWords), key, ByName);
    return found != std::end(kWords) && found->Name == name ? found : nullptr;
}

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

struct CharFormat {
    int Font = 0;
    int HalfPoints = kDefaultHalfPoints;
    int ColourIndex = 0;
    std::uint8_t Style = 0;
    bool operator==(const CharFormat&) const = default;
};

struct GroupState {
    CharFormat Format;
    Destination Target = Destination::Text;
    int FallbackCount = 1;  // \ucN: characters that follow a \uN
};

class Reader {
public:
    Reader(std::string_view bytes, ProtocolDocument& document) : bytes_(bytes), document_(document) {}

    RtfReadResult Read() {
        document_.Clear();
        if (!bytes_.starts_with("{\\rtf")) return {RtfError::NotRtf, 0};
        while (pos_ < bytes_.size()) {
            const auto c = static_cast<unsigned char>(bytes_[pos_]);
            if (c == '{') {
                if (groups_.size() >= static_cast<std::size_t>(kMaxRtfGroupDepth)) {
                    return {RtfError::NestingTooDeep, pos_};
                }
                groups_.push_back(state_);
                fallback_ = 0;
                ++pos_;
            } else if (c == '}') {
                CloseGroup();
                ++pos_;
                if (groups_.empty()) return {};
            } else if (c == '\\') {
                if (!ControlSequence()) return error_;
            } else if (c == '\r' || c == '\n') {
                ++pos_;
            } else {
                PlainText();
            }
        }
        return {RtfError::UnexpectedEnd, bytes_.size()};
    }

private:
    void CloseGroup() {
        if (state_.Target == Destination::FontTable) FinishFont();
        state_ = groups_.back();
        groups_.pop_back();
        fallback_ = 0;
    }

    void PlainText() {
        const std::size_t start = pos_;
        while (pos_ < bytes_.size()) {
            const char c = bytes_[pos_];
            if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n') break;
            ++pos_;
        }
        EmitText(bytes_.substr(start, pos_ - start));
    }

    // A control symbol or control word at pos_. False on an error.
    bool ControlSequence() {
        const std::size_t start = pos_;
        if (pos_ + 1 >= bytes_.size()) return Fail(RtfError::UnexpectedEnd, start);
        const auto c = static_cast<unsigned char>(bytes_[pos_ + 1]);
        if (IsLetter(c)) return ControlWord(start);
        pos_ += 2;
        if (c == '\'') {
            if (pos_ + 2 > bytes_.size()) return Fail(RtfError::UnexpectedEnd, start);
            const int high = HexValue(static_cast<unsigned char>(bytes_[pos_]));
            const int low = HexValue(static_cast<unsigned char>(bytes_[pos_ + 1]));
            if (high < 0 || low < 0) {  // not an escape: ignored
                SkipFallback();
                return true;
            }
            pos_ += 2;
            EmitByte(static_cast<unsigned char>(high * 16 + low));
            return true;
        }
        if (SkipFallback()) return true;
        switch (c) {
            case '\\': case '{': case '}': EmitByte(c); break;
            case '~': EmitByte(0xA0); break;
            case '-': EmitByte(0xAD); break;
            case '_': EmitByte('-'); break;
            case '*': state_.Target = Destination::Skip; break;
            case '\r': case '\n': EndLine(); break;
            default: break;  // other symbols carry no text
        }
        return true;
    }

    bool ControlWord(std::size_t start) {
        std::size_t p = pos_ + 1;
        while (p < bytes_.size() && IsLetter(static_cast<unsigned char>(bytes_[p]))) ++p;
        const std::string_view name = bytes_.substr(pos_ + 1, p - pos_ - 1);
        bool negative = false;
        if (p + 1 < bytes_.size() && bytes_[p] == '-' && IsDigit(static_cast<unsigned char>(bytes_[p + 1]))) {
            negative = true;
            ++p;
        }
        bool hasParameter = false;
        long long value = 0;
        while (p < bytes_.size() && IsDigit(static_cast<unsigned char>(bytes_[p]))) {
            hasParameter = true;
            if (value <= INT_MAX) value = value * 10 + (bytes_[p] - '0');
            ++p;
        }
        if (p < bytes_.size() && bytes_[p] == ' ') ++p;
        pos_ = p;
        const long long signedValue = negative ? -value : value;
        const int parameter = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
        const WordEntry* word = name.size() <= kMaxControlWordLength ? FindWord(name) : nullptr;
        if (word != nullptr && word->Kind == Word::Bin) {
            const std::size_t length = hasParameter && parameter > 0 ? static_cast<std::size_t>(parameter) : 0;
            if (length > bytes_.size() - pos_) return Fail(RtfError::BinaryTooLong, start);
            pos_ += length;
            SkipFallback();
            return true;
        }
        if (SkipFallback() || word == nullptr || state_.Target == Destination::Skip) return true;
        Apply(*word, hasParameter, parameter);
        return true;
    }

    void Apply(const WordEntry& word, bool hasParameter, int parameter) {
        CharFormat& format = state_.Format;
        const bool on = !hasParameter || parameter != 0;
        switch (word.Kind) {
            case Word::Bold: SetStyle(1, on); break;
            case Word::Italic: SetStyle(2, on); break;
            case Word::Underline: SetStyle(4, on); break;
            case Word::UnderlineNone: SetStyle(4, false); break;
            case Word::Strike: SetStyle(8, on); break;
            case Word::Plain: format = CharFormat{defaultFont_}; break;
            case Word::Font:
                if (state_.Target == Destination::FontTable) {
                    FinishFont();
                    fontOpen_ = true;
                    fontNumber_ = parameter;
                    fontName_.clear();
                } else {
                    format.Font = parameter;
                }
                break;
            case Word::FontSize: format.HalfPoints = hasParameter ? parameter : kDefaultHalfPoints; break;
            case Word::Colour: format.ColourIndex = parameter; break;
            case Word::DefaultFont: defaultFont_ = parameter; break;
            case Word::UnicodeSkip: state_.FallbackCount = std::max(0, parameter); break;
            case Word::Unicode:
                if (hasParameter) Unicode(parameter);
                break;
            case Word::LineEnd: EndLine(); break;
            case Word::Char: EmitByte(word.Byte); break;
            case Word::FontTable: state_.Target = Destination::FontTable; break;
            case Word::ColourTable: state_.Target = Destination::ColourTable; break;
            case Word::SkipDestination: state_.Target = Destination::Skip; break;
            case Word::Red: SetComponent(0, parameter); break;
            case Word::Green: SetComponent(8, parameter); break;
            case Word::Blue: SetComponent(16, parameter); break;
            case Word::Unknown: case Word::Bin: break;
        }
    }

    void SetStyle(std::uint8_t bit, bool on) {
        std::uint8_t& style = state_.Format.Style;
        style = static_cast<std::uint8_t>(on ? style | bit : style & ~bit);
    }

    void SetComponent(int shift, int value) {
        if (state_.Target != Destination::ColourTable) return;
        colour_ &= ~(0xFF << shift);
        colour_ |= std::clamp(value, 0, 255) << shift;
        colourSet_ = true;
    }

    // \uN: N is a signed 16-bit number. A high surrogate stands for the
    // whole pair (one '?'), so the low one that follows adds nothing.
    void Unicode(int parameter) {
        long long code = parameter;
        if (code < 0 && code >= -32768) code += 65536;
        if (code >= 0xDC00 && code <= 0xDFFF) {
            // low surrogate: already counted
        } else if (code < 0 || code > 0xFFFF || (code >= 0xD800 && code <= 0xDBFF)) {
            EmitByte('?');
        } else {
            EmitByte(UnicodeToWindows1252(static_cast<char32_t>(code)));
        }
        fallback_ = state_.FallbackCount;
    }

    // Swallows one character of a \uN fallback. True when it did.
    bool SkipFallback() {
        if (fallback_ == 0) return false;
        --fallback_;
        return true;
    }

    // A byte from an escape, a \uN or a special character: never a separator.
    void EmitByte(unsigned char byte) {
        if (SkipFallback()) return;
        if (state_.Target == Destination::FontTable) {
            AddToFontName(static_cast<char>(byte));
        } else if (state_.Target == Destination::Text) {
            if (byte == '\r' || byte == '\n') {
                EndLine();
            } else {
                const char c = static_cast<char>(byte);
                AppendToLine(std::string_view(&c, 1));
            }
        }
    }

    // Literal text; in the font and colour tables ';' ends an entry.
    void EmitText(std::string_view text) {
        if (fallback_ > 0) {
            const std::size_t skipped = std::min<std::size_t>(static_cast<std::size_t>(fallback_), text.size());
            text.remove_prefix(skipped);
            fallback_ -= static_cast<int>(skipped);
        }
        if (text.empty()) return;
        switch (state_.Target) {
            case Destination::Text:
                AppendToLine(text);
                break;
            case Destination::FontTable:
                for (const char c : text) {
                    if (c == ';') {
                        FinishFont();
                    } else {
                        AddToFontName(c);
                    }
                }
                break;
            case Destination::ColourTable:
                for (const char c : text) {
                    if (c == ';') FinishColour();
                }
                break;
            case Destination::Skip:
                break;
        }
    }

    void AppendToLine(std::string_view text) {
        if (!lineOpen_) document_.AddLine();
        lineOpen_ = true;
        document_.AppendText(text, CurrentFormat());
    }

    void AddToFontName(char c) {
        if (fontOpen_ && fontName_.size() < kMaxFontNameLength) fontName_ += c;
    }

    void EndLine() {
        if (state_.Target != Destination::Text) return;
        if (!lineOpen_) document_.AddLine();
        lineOpen_ = false;
    }

    void FinishFont() {
        if (!fontOpen_) return;
        fonts_[fontNumber_] = TrimBlanks(fontName_);
        fontOpen_ = false;
        formatKnown_ = false;
    }

    void FinishColour() {
        colours_.push_back(colourSet_ ? colour_ : kAutoColour);
        colour_ = 0;
        colourSet_ = false;
        formatKnown_ = false;
    }

    FormatIndex CurrentFormat() {
        const CharFormat& format = state_.Format;
        if (formatKnown_ && format == lastFormat_) return lastIndex_;
        TextAttributes attributes;
        auto font = fonts_.find(format.Font);
        if (font == fonts_.end()) font = fonts_.find(defaultFont_);
        if (font != fonts_.end()) attributes.FontName = font->second;
        const long long points = (static_cast<long long>(format.HalfPoints) + 1) / 2;
        attributes.FontSize = static_cast<int>(std::clamp<long long>(points, 1, kMaxFontPoints));
        const bool listed = format.ColourIndex >= 0 && static_cast<std::size_t>(format.ColourIndex) < colours_.size();
        const Colour colour = listed ? colours_[static_cast<std::size_t>(format.ColourIndex)] : kAutoColour;
        attributes.Color = colour == kAutoColour ? 0 : colour;
        attributes.Style = format.Style;
        lastIndex_ = document_.AddFormat(attributes);
        lastFormat_ = format;
        formatKnown_ = true;
        return lastIndex_;
    }

    bool Fail(RtfError error, std::size_t offset) {
        error_ = {error, offset};
        return false;
    }

    std::string_view bytes_;
    ProtocolDocument& document_;
    std::size_t pos_ = 0;
    RtfReadResult error_;

    GroupState state_;
    std::vector<GroupState> groups_;  // the states of the enclosing groups
    int fallback_ = 0;                // \uN fallback characters still to skip
    bool lineOpen_ = false;           // the last line takes further text

    int defaultFont_ = 0;
    std::unordered_map<int, std::string> fonts_;
    bool fontOpen_ = false;
    int fontNumber_ = 0;
    std::string fontName_;
    std::vector<Colour> colours_;
    Colour colour_ = 0;
    bool colourSet_ = false;

    CharFormat lastFormat_;
    FormatIndex lastIndex_ = 0;
    bool formatKnown_ = false;
};

}  // namespace

RtfReadResult ReadRtf(std::string_view bytes, ProtocolDocument& document) {
    return Reader(bytes, document).Read();
}

}  // namespace kestrum
