#pragma once
// A protocol field for unit tests: a list of lines, each with the attributes
// it was appended with. It can be told to refuse a line.

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "platform/protocol_field.h"

namespace kestrum::fakes {

struct FakeLine {
    std::string Text;
    TextAttributes Attributes;
};

class FakeProtocolField : public ProtocolField {
public:
    std::vector<FakeLine> Lines;
    TextAttributes Current;  // attributes of the text appended next
    int Width = 800;         // ControlWidth
    int Ppi = 96;            // PixelsPerInch
    TextAttributes Default;  // SetDefaultAttributes
    Colour Background = 0;   // SetBackgroundColour

    // Refuses (appends nothing) the append that would make line `RefuseAtLine`
    // (0-based) while the field holds that many lines; -1 never.
    int RefuseAtLine = -1;
    // Total characters the field holds; an append that does not fit takes
    // what fits and fails.
    std::size_t Capacity = std::numeric_limits<std::size_t>::max();

    int Appends = 0;
    int Deletes = 0;
    int Clears = 0;
    int UndoClears = 0;
    int Focuses = 0;
    int FailedAppends = 0;

    std::vector<std::string> Texts() const;
    std::size_t Characters() const;

    void SetAppendAttributes(const TextAttributes& attributes) override;
    bool AppendLine(const std::string& text) override;
    bool DeleteLastLine() override;
    void Clear() override;
    int LineCount() override;
    std::string LineText(int index) override;
    int ControlWidth() override;
    int PixelsPerInch() override;
    void FocusAtEnd() override;
    void SetDefaultAttributes(const TextAttributes& attributes) override { Default = attributes; }
    void SetBackgroundColour(Colour colour) override { Background = colour; }
    void ClearUndoBuffer() override;

    // --- Editing: the text is the lines, each followed by '\n' ------------
    int SelectionStart = 0;   // also the caret
    int SelectionSize = 0;
    bool UndoAvailable = false;
    int Undos = 0;
    Limits Capacities;        // CapacityLimits(); LoadLines refuses beyond
    ClipboardContent Offered; // what Clipboard() returns
    std::string CopiedText;   // the plain text of the last CopySelection
    std::string CopiedRtf;    // its Rich Text, made at once
    int Copies = 0;
    int Loads = 0;

    // The lines joined, each followed by '\n'.
    std::string Text() const;
    // Replaces the lines by `text` cut at '\n' (a last piece without one is
    // a line too); new lines take `Current`.
    void SetText(const std::string& text);
    std::string SelectedText() const;

    Limits CapacityLimits() const override { return Capacities; }
    int TextLength() override;
    int CaretPosition() override { return SelectionStart; }
    void SetCaretPosition(int position) override;
    int SelectionLength() override { return SelectionSize; }
    void Select(int start, int length) override;
    void SelectAll() override;
    void ReplaceSelection(const std::string& text) override;
    void ReplaceSelectionWithLines(const FieldLineSource& lines) override;
    void DeleteSelection() override;
    int Find(const std::string& text, int from, FindOptions options) override;
    bool CanUndo() override { return UndoAvailable; }
    void Undo() override;
    void ReadLines(FieldLineSink& sink) override;
    void ReadSelectedLines(FieldLineSink& sink) override;
    bool LoadLines(const FieldLineSource& lines) override;
    void CopySelection(std::function<std::string()> makeRtf) override;
    bool ClipboardHasText() override { return Offered.HasText || Offered.HasRtf; }
    ClipboardContent Clipboard() override { return Offered; }
};

}  // namespace kestrum::fakes
