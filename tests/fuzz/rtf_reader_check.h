#pragma once
// The properties every input must keep, checked by the libFuzzer target and
// by the mutation test: reading ends with a result or an error inside the
// input, no line holds a line end, the runs of a line make up its text, and
// whatever was read is written and read back unchanged.

#include <string>
#include <string_view>

#include "document/rtf_reader.h"
#include "document/rtf_writer.h"

namespace kestrum::test {

// Empty when every property holds; otherwise what went wrong.
inline std::string CheckRtfReader(std::string_view input) {
    ProtocolDocument document;
    const RtfReadResult result = ReadRtf(input, document);
    if (result.Offset > input.size()) return "error offset beyond the input";
    for (std::size_t line = 0; line < document.LineCount(); ++line) {
        const std::string_view text = document.LineText(line);
        if (text.find_first_of("\r\n") != std::string_view::npos) return "line end inside line " + std::to_string(line);
        std::string joined;
        for (std::size_t run = 0; run < document.RunCount(line); ++run) {
            const LineRun piece = document.Run(line, run);
            if (piece.Text.empty()) return "empty run in line " + std::to_string(line);
            if (piece.Format >= document.FormatCount()) return "bad format index in line " + std::to_string(line);
            joined += piece.Text;
        }
        if (joined != text) return "runs do not make up line " + std::to_string(line);
    }
    const std::string written = WriteRtf(document);
    ProtocolDocument again;
    const RtfReadResult second = ReadRtf(written, again);
    if (!second.Ok()) return "own output does not read: error at " + std::to_string(second.Offset);
    if (!(again == document)) return "own output reads back differently";
    return {};
}

}  // namespace kestrum::test
