#include "fakes/fake_protocol_field.h"

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

}  // namespace kestrum::fakes
