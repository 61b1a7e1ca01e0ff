#include "fakes/fake_protocol_field.h"

#include <algorithm>
#include <cctype>

namespace kestrum::fakes {

std::vector<std::string> FakeProtocolField::Texts() const {
    std::vector<std::string> texts;
    texts.reserve(Lines.size());
    for (const FakeLine& line : Lines) texts.push_back(line.Text);
    return texts;
}

std::size_t FakeProtocolField::Characters() const {
    std::size_t total = 0;
    for (const FakeLine& line : Lines) total += line.Text.size();
    return total;
}

void FakeProtocolField::SetAppendAttributes(const TextAttributes& attributes) {
    Current = attributes;
}

bool FakeProtocolField::AppendLine(const std::string& text) {
    ++Appends;
    if (RefuseAtLine >= 0 && static_cast<int>(Lines.size()) >= RefuseAtLine) {
        ++FailedAppends;
        return false;
    }
    const std::size_t used = Characters();
    const std::size_t room = used < Capacity ? Capacity - used : 0;
    if (text.size() > room) {
        if (room > 0) Lines.push_back({text.substr(0, room), Current});
        ++FailedAppends;
        return false;
    }
    Lines.push_back({text, Current});
    return true;
}

bool FakeProtocolField::DeleteLastLine() {
    ++Deletes;
    if (!Lines.empty()) Lines.pop_back();
    return true;
}

void FakeProtocolField::Clear() {
    ++Clears;
    Lines.clear();
}

int FakeProtocolField::LineCount() {
    return static_cast<int>(Lines.size());
}

std::string FakeProtocolField::LineText(int index) {
    if (index < 0 || index >= static_cast<int>(Lines.size())) return {};
    return Lines[static_cast<std::size_t>(index)].Text;
}

int FakeProtocolField::ControlWidth() {
    return Width;
}

int FakeProtocolField::PixelsPerInch() {
    return Ppi;
}

void FakeProtocolField::FocusAtEnd() {
    ++Focuses;
}

void FakeProtocolField::ClearUndoBuffer() {
    ++UndoClears;
}

std::string FakeProtocolField::Text() const {
    std::string text;
    for (const FakeLine& line : Lines) text += line.Text + '\n';
    return text;
}

void FakeProtocolField::SetText(const std::string& text) {
    std::vector<FakeLine> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::string piece = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        const std::size_t index = lines.size();
        lines.push_back({piece, index < Lines.size() ? Lines[index].Attributes : Current});
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    Lines = std::move(lines);
}

std::string FakeProtocolField::SelectedText() const {
    const std::string text = Text();
    return text.substr(std::min<std::size_t>(static_cast<std::size_t>(SelectionStart), text.size()),
                       static_cast<std::size_t>(SelectionSize));
}

int FakeProtocolField::TextLength() { return static_cast<int>(Text().size()); }

void FakeProtocolField::SetCaretPosition(int position) {
    SelectionStart = std::clamp(position, 0, TextLength());
    SelectionSize = 0;
}

void FakeProtocolField::Select(int start, int length) {
    const int end = TextLength();
    SelectionStart = std::clamp(start, 0, end);
    SelectionSize = std::clamp(length, 0, end - SelectionStart);
}

void FakeProtocolField::SelectAll() { Select(0, TextLength()); }

void FakeProtocolField::ReplaceSelection(const std::string& text) {
    std::string inserted;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            inserted += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            inserted += text[i];
        }
    }
    std::string all = Text();
    all.replace(static_cast<std::size_t>(SelectionStart), static_cast<std::size_t>(SelectionSize), inserted);
    SetText(all);
    SelectionStart += static_cast<int>(inserted.size());
    SelectionSize = 0;
    UndoAvailable = true;
}

void FakeProtocolField::ReplaceSelectionWithLines(const FieldLineSource& lines) {
    std::string text;
    for (std::size_t line = 0; line < lines.LineCount(); ++line) {
        if (line > 0) text += '\n';
        for (std::size_t run = 0; run < lines.RunCount(line); ++run) text += lines.Run(line, run).Text;
    }
    ReplaceSelection(text);
}

void FakeProtocolField::DeleteSelection() {
    std::string all = Text();
    const auto start = static_cast<std::size_t>(SelectionStart);
    if (SelectionSize > 0) all.erase(start, static_cast<std::size_t>(SelectionSize));
    else if (start < all.size()) all.erase(start, 1);
    SetText(all);
    SelectionSize = 0;
    UndoAvailable = true;
}

int FakeProtocolField::Find(const std::string& text, int from, FindOptions options) {
    if (text.empty()) return -1;
    const auto fold = [&](std::string value) {
        if (!options.MatchCase)
            for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return value;
    };
    const std::string all = fold(Text());
    const std::string needle = fold(text);
    const auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (std::size_t pos = all.find(needle, static_cast<std::size_t>(std::max(from, 0))); pos != std::string::npos;
         pos = all.find(needle, pos + 1)) {
        const std::size_t end = pos + needle.size();
        if (!options.WholeWord || ((pos == 0 || !word(all[pos - 1])) && (end >= all.size() || !word(all[end]))))
            return static_cast<int>(pos);
    }
    return -1;
}

void FakeProtocolField::Undo() {
    ++Undos;
    UndoAvailable = false;
}

void FakeProtocolField::ReadLines(FieldLineSink& sink) {
    for (const FakeLine& line : Lines) {
        sink.AddLine();
        if (!line.Text.empty()) sink.AppendText(line.Text, sink.AddFormat(line.Attributes));
    }
}

void FakeProtocolField::ReadSelectedLines(FieldLineSink& sink) {
    const std::string selected = SelectedText();
    // Each piece takes the attributes of the line it comes from.
    const std::string all = Text();
    std::size_t line = static_cast<std::size_t>(std::count(all.begin(), all.begin() + SelectionStart, '\n'));
    std::size_t pos = 0;
    while (true) {
        const std::size_t end = selected.find('\n', pos);
        sink.AddLine();
        const std::string piece = selected.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        const TextAttributes attributes = line < Lines.size() ? Lines[line].Attributes : Current;
        if (!piece.empty()) sink.AppendText(piece, sink.AddFormat(attributes));
        if (end == std::string::npos) break;
        pos = end + 1;
        ++line;
    }
}

bool FakeProtocolField::LoadLines(const FieldLineSource& lines) {
    ++Loads;
    if (Capacities.Lines > 0 && static_cast<std::int64_t>(lines.LineCount()) > Capacities.Lines) return false;
    if (Capacities.Characters > 0 &&
        static_cast<std::int64_t>(lines.TextSize() + lines.LineCount() + 1) > Capacities.Characters)
        return false;
    Lines.clear();
    for (std::size_t line = 0; line < lines.LineCount(); ++line) {
        FakeLine loaded{{}, lines.RunCount(line) > 0 ? lines.Format(lines.Run(line, 0).Format) : Current};
        for (std::size_t run = 0; run < lines.RunCount(line); ++run) loaded.Text += lines.Run(line, run).Text;
        Lines.push_back(std::move(loaded));
    }
    SelectionStart = SelectionSize = 0;
    UndoAvailable = false;
    return true;
}

void FakeProtocolField::CopySelection(std::function<std::string()> makeRtf) {
    ++Copies;
    CopiedText = SelectedText();
    CopiedRtf = makeRtf ? makeRtf() : std::string();
}

}  // namespace kestrum::fakes
