#include "document/rtf_writer.h"

#include <charconv>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kestrum {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::uint8_t kStyleBits[] = {1, 2, 4, 8};
constexpr const char* kStyleOn[] = {"\\b", "\\i", "\\ul", "\\strike"};
constexpr const char* kStyleOff[] = {"\\b0", "\\i0", "\\ulnone", "\\strike0"};

// What one format turns into in the file.
struct RunFormat {
    int Font = 0;            // index in the font table
    long long HalfPoints = 24;
    int Colour = 0;          // index in the colour table, 0 automatic
    std::uint8_t Style = 0;  // bits 1, 2, 4, 8
    bool operator==(const RunFormat&) const = default;
};

void AppendNumber(std::string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendHexEscape(std::string& out, unsigned char byte) {
    out += "\\'";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 15];
}

bool IsPlainByte(unsigned char byte) {
    return byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '{' && byte != '}';
}

void AppendEscapedText(std::string& out, std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && IsPlainByte(static_cast<unsigned char>(text[end]))) ++end;
        out.append(text.substr(pos, end - pos));
        if (end == text.size()) return;
        const auto byte = static_cast<unsigned char>(text[end]);
        if (byte == '\\' || byte == '{' || byte == '}') {
            out += '\\';
            out += static_cast<char>(byte);
        } else {
            AppendHexEscape(out, byte);
        }
        pos = end + 1;
    }
}

// A font name ends at ';' in the font table, so ';' is escaped there too.
void AppendFontName(std::string& out, std::string_view name) {
    for (const char c : name) {
        if (c == ';') {
            AppendHexEscape(out, ';');
        } else {
            AppendEscapedText(out, std::string_view(&c, 1));
        }
    }
}

class TableBuilder {
public:
    explicit TableBuilder(const FieldLineSource& document) : formats_(document.FormatCount()) {
        std::vector<bool> used(document.FormatCount(), false);
        for (std::size_t line = 0; line < document.LineCount(); ++line) {
            for (std::size_t run = 0; run < document.RunCount(line); ++run) used[document.Run(line, run).Format] = true;
        }
        for (FormatIndex index = 0; index < used.size(); ++index) {
            if (used[index]) formats_[index] = Add(document.Format(index));
        }
        if (fontNames_.empty()) fontNames_.push_back(TextAttributes{}.FontName);
    }

    const RunFormat& Of(FormatIndex index) const { return formats_[index]; }

    void AppendTables(std::string& out) const {
        out += "{\\fonttbl";
        for (std::size_t i = 0; i < fontNames_.size(); ++i) {
            out += "{\\f";
            AppendNumber(out, static_cast<long long>(i));
            out += "\\fnil\\fcharset0 ";
            AppendFontName(out, fontNames_[i]);
            out += ";}";
        }
        out += "}\r\n{\\colortbl ;";
        for (const std::uint32_t rgb : colours_) {
            out += "\\red";
            AppendNumber(out, rgb & 0xFF);
            out += "\\green";
            AppendNumber(out, (rgb >> 8) & 0xFF);
            out += "\\blue";
            AppendNumber(out, (rgb >> 16) & 0xFF);
            out += ';';
        }
        out += "}\r\n";
    }

private:
    RunFormat Add(const TextAttributes& attributes) {
        RunFormat format;
        format.Font = IndexOf(fonts_, fontNames_, attributes.FontName);
        format.HalfPoints = 2LL * attributes.FontSize;
        const auto colour = static_cast<std::uint32_t>(attributes.Color);
        format.Colour = (colour >> 24) != 0 ? 0 : IndexOf(colourIndex_, colours_, colour) + 1;
        format.Style = static_cast<std::uint8_t>(attributes.Style & 0x0F);
        return format;
    }

    template <typename Key>
    static int IndexOf(std::unordered_map<Key, int>& index, std::vector<Key>& list, const Key& key) {
        const auto [it, added] = index.emplace(key, static_cast<int>(list.size()));
        if (added) list.push_back(key);
        return it->second;
    }

    std::vector<RunFormat> formats_;
    std::unordered_map<std::string, int> fonts_;
    std::vector<std::string> fontNames_;
    std::unordered_map<std::uint32_t, int> colourIndex_;
    std::vector<std::uint32_t> colours_;
};

// Appends the control words that turn `from` into `to`. True when any was
// written.
bool AppendChanges(std::string& out, const RunFormat& from, const RunFormat& to) {
    const std::size_t before = out.size();
    if (from.Font != to.Font) {
        out += "\\f";
        AppendNumber(out, to.Font);
    }
    if (from.HalfPoints != to.HalfPoints) {
        out += "\\fs";
        AppendNumber(out, to.HalfPoints);
    }
    if (from.Colour != to.Colour) {
        out += "\\cf";
        AppendNumber(out, to.Colour);
    }
    for (std::size_t i = 0; i < std::size(kStyleBits); ++i) {
        const bool on = (to.Style & kStyleBits[i]) != 0;
        if (on != ((from.Style & kStyleBits[i]) != 0)) out += on ? kStyleOn[i] : kStyleOff[i];
    }
    return out.size() != before;
}

// Enough room for the usual file, so that the text is not copied while it
// grows: every escape takes four bytes, a line end eight, a format change
// about forty.
std::size_t EstimatedSize(const FieldLineSource& document) {
    std::size_t escapes = 0;
    std::size_t runs = 0;
    for (std::size_t line = 0; line < document.LineCount(); ++line) {
        const std::size_t count = document.RunCount(line);
        for (std::size_t run = 0; run < count; ++run)
            for (const char c : document.Run(line, run).Text)
                escapes += IsPlainByte(static_cast<unsigned char>(c)) ? 0 : 1;
        runs += count;
    }
    return document.TextSize() + 3 * escapes + 8 * document.LineCount() + 40 * runs + 4096;
}

}  // namespace

std::string WriteRtf(const FieldLineSource& document, bool endLastLine) {
    const TableBuilder tables(document);
    std::string out;
    out.reserve(EstimatedSize(document));
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    tables.AppendTables(out);
    out += "\\pard\\plain\r\n";
    RunFormat current;  // what \plain leaves: font 0, 12 points, automatic colour, no style
    for (std::size_t line = 0; line < document.LineCount(); ++line) {
        for (std::size_t run = 0; run < document.RunCount(line); ++run) {
            const LineRun piece = document.Run(line, run);
            const RunFormat& format = tables.Of(piece.Format);
            if (AppendChanges(out, current, format)) out += ' ';
            current = format;
            AppendEscapedText(out, piece.Text);
        }
        if (endLastLine || line + 1 < document.LineCount()) out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

}  // namespace kestrum
