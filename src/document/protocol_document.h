#pragma once
// The protocol as plain data: lines of single-byte (Windows-1252) text, each
// made of runs that carry a text format. It is what the file codecs read and
// write and what the protocol field is filled from and read back into.
//
// Built for large recordings: all text lives in one contiguous buffer, each
// distinct format is stored once in a table and runs refer to it by index,
// and a line costs two indices plus one small record per run.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/protocol_field.h"

namespace kestrum {

using FormatIndex = std::uint32_t;

// The position of the first CR or LF in `text` from `pos` on, or npos.
// (find_first_of with a set of two looks each byte up in the set by a call.)
inline std::size_t FindLineEnd(std::string_view text, std::size_t pos) {
    for (; pos < text.size(); ++pos)
        if (text[pos] == '\r' || text[pos] == '\n') return pos;
    return std::string_view::npos;
}

// One run of a line: its bytes and the index of its format.
using LineRun = TextRun;

// The protocol field reads its lines into a document and is filled from one.
class ProtocolDocument final : public FieldLineSource, public FieldLineSink {
public:
    // --- Reading ---------------------------------------------------------
    std::size_t LineCount() const override { return lineEnds_.size(); }
    // Bytes of line `line` (0-based, below LineCount()); never holds CR or LF.
    std::string_view LineText(std::size_t line) const;
    // Number of runs of line `line`; an empty line has none. Runs are never
    // empty, and neighbouring runs of one line have different formats.
    std::size_t RunCount(std::size_t line) const override;
    // Run `run` (below RunCount(line)) of line `line`.
    LineRun Run(std::size_t line, std::size_t run) const override;

    std::size_t FormatCount() const override { return formats_.size(); }
    // Format `index` (below FormatCount()).
    const TextAttributes& Format(FormatIndex index) const override { return formats_[index]; }
    // Total bytes of text in all lines, line ends not counted.
    std::size_t TextSize() const override { return text_.size(); }

    // --- Building --------------------------------------------------------
    // Index of `attributes` in the format table, added when it is new. The
    // table only grows; a format no run uses is simply not written out.
    FormatIndex AddFormat(const TextAttributes& attributes) override;
    // Starts a new, empty last line.
    void AddLine() override;
    // Appends `text` in format `format` (an index from AddFormat) to the last
    // line, starting a line first when there is none. A CR, an LF or a CR LF
    // pair in `text` ends the line there and starts a new one, so a line
    // never holds a line end and no byte is lost. Throws std::out_of_range
    // for a format index that AddFormat did not hand out.
    void AppendText(std::string_view text, FormatIndex format) override;
    // AddLine() followed by AppendText(text, AddFormat(attributes)).
    void AddLine(std::string_view text, const TextAttributes& attributes);
    // Removes every line and every format.
    void Clear();
    // Room for `lines` lines, `bytes` bytes of text and `runs` runs.
    void Reserve(std::size_t lines, std::size_t bytes, std::size_t runs) override;

    // Same lines with the same texts and runs in the same formats (compared
    // by their attributes, not by their table indices).
    bool operator==(const ProtocolDocument& other) const;

private:
    struct RunEntry {
        std::size_t End;  // offset in text_ just past the run
        FormatIndex Format;
    };
    struct AttributesHash {
        std::size_t operator()(const TextAttributes& a) const;
    };

    void AppendPiece(std::string_view piece, FormatIndex format);
    std::size_t LineStart(std::size_t line) const { return line == 0 ? 0 : lineEnds_[line - 1]; }
    std::size_t FirstRun(std::size_t line) const { return line == 0 ? 0 : lineRunEnds_[line - 1]; }

    std::string text_;                      // all lines, back to back
    std::vector<std::size_t> lineEnds_;     // text offset just past each line
    std::vector<std::size_t> lineRunEnds_;  // index in runs_ just past each line's runs
    std::vector<RunEntry> runs_;
    std::vector<TextAttributes> formats_;
    std::unordered_map<TextAttributes, FormatIndex, AttributesHash> formatIndex_;
};

}  // namespace kestrum
