#include "document/protocol_document.h"

#include <functional>
#include <stdexcept>

namespace kestrum {

std::size_t ProtocolDocument::AttributesHash::operator()(const TextAttributes& a) const {
    std::size_t h = std::hash<std::string>{}(a.FontName);
    const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<std::size_t>(a.FontSize));
    mix(static_cast<std::size_t>(static_cast<std::uint32_t>(a.Color)));
    mix(a.Style);
    return h;
}

std::string_view ProtocolDocument::LineText(std::size_t line) const {
    const std::size_t start = LineStart(line);
    return std::string_view(text_).substr(start, lineEnds_[line] - start);
}

std::size_t ProtocolDocument::RunCount(std::size_t line) const {
    return lineRunEnds_[line] - FirstRun(line);
}

LineRun ProtocolDocument::Run(std::size_t line, std::size_t run) const {
    const std::size_t index = FirstRun(line) + run;
    const std::size_t start = run == 0 ? LineStart(line) : runs_[index - 1].End;
    return {std::string_view(text_).substr(start, runs_[index].End - start), runs_[index].Format};
}

FormatIndex ProtocolDocument::AddFormat(const TextAttributes& attributes) {
    const auto found = formatIndex_.find(attributes);
    if (found != formatIndex_.end()) return found->second;
    const auto index = static_cast<FormatIndex>(formats_.size());
    formats_.push_back(attributes);
    formatIndex_.emplace(attributes, index);
    return index;
}

void ProtocolDocument::AddLine() {
    lineEnds_.push_back(text_.size());
    lineRunEnds_.push_back(runs_.size());
}

void ProtocolDocument::AppendText(std::string_view text, FormatIndex format) {
    if (format >= formats_.size()) throw std::out_of_range("ProtocolDocument: unknown format index");
    if (lineEnds_.empty()) AddLine();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = FindLineEnd(text, pos);
        if (end == std::string_view::npos) {
            AppendPiece(text.substr(pos), format);
            return;
        }
        AppendPiece(text.substr(pos, end - pos), format);
        pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        AddLine();
    }
}

void ProtocolDocument::AppendPiece(std::string_view piece, FormatIndex format) {
    if (piece.empty()) return;
    text_.append(piece);
    lineEnds_.back() = text_.size();
    // The last run belongs to the last line when the line has any run.
    const bool lineHasRun = lineRunEnds_.back() > FirstRun(lineEnds_.size() - 1);
    if (lineHasRun && runs_.back().Format == format) {
        runs_.back().End = text_.size();
        return;
    }
    runs_.push_back({text_.size(), format});
    lineRunEnds_.back() = runs_.size();
}

void ProtocolDocument::AddLine(std::string_view text, const TextAttributes& attributes) {
    const FormatIndex format = AddFormat(attributes);
    AddLine();
    AppendText(text, format);
}

void ProtocolDocument::Clear() {
    text_.clear();
    lineEnds_.clear();
    lineRunEnds_.clear();
    runs_.clear();
    formats_.clear();
    formatIndex_.clear();
}

void ProtocolDocument::Reserve(std::size_t lines, std::size_t bytes, std::size_t runs) {
    text_.reserve(bytes);
    lineEnds_.reserve(lines);
    lineRunEnds_.reserve(lines);
    runs_.reserve(runs);
}

bool ProtocolDocument::operator==(const ProtocolDocument& other) const {
    if (LineCount() != other.LineCount() || text_ != other.text_) return false;
    for (std::size_t line = 0; line < LineCount(); ++line) {
        if (LineText(line) != other.LineText(line) || RunCount(line) != other.RunCount(line)) return false;
        for (std::size_t run = 0; run < RunCount(line); ++run) {
            const LineRun mine = Run(line, run);
            const LineRun theirs = other.Run(line, run);
            if (mine.Text != theirs.Text || Format(mine.Format) != other.Format(theirs.Format)) return false;
        }
    }
    return true;
}

}  // namespace kestrum
