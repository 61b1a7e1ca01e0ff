#pragma once
// The protocol field: the rich-text document the recording is written into.
// The GUI implements it over a text widget; tests use a fake.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/colour.h"

namespace kestrum {

struct TextAttributes {
    std::string FontName = "FixedSys";
    int FontSize = 11;           // points
    Colour Color = 0x000000;     // 0x00BBGGRR
    std::uint8_t Style = 0;      // 1 bold, 2 italic, 4 underline, 8 strike-out
    bool operator==(const TextAttributes&) const = default;
};

// One run of a line: bytes in one format (an index into the formats of the
// line source or sink it comes from).
struct TextRun {
    std::string_view Text;
    std::uint32_t Format = 0;
};

// Lines with their formats that the field is filled from (a loaded file,
// pasted Rich Text). Every line is a list of runs; runs never hold CR or LF.
class FieldLineSource {
public:
    virtual ~FieldLineSource() = default;
    virtual std::size_t LineCount() const = 0;
    virtual std::size_t RunCount(std::size_t line) const = 0;
    virtual TextRun Run(std::size_t line, std::size_t run) const = 0;
    virtual std::size_t FormatCount() const = 0;
    virtual const TextAttributes& Format(std::uint32_t index) const = 0;
    // Bytes of text in all lines, line ends not counted.
    virtual std::size_t TextSize() const = 0;
};

// Receives the field's lines with their formats (saving, copying, printing).
class FieldLineSink {
public:
    virtual ~FieldLineSink() = default;
    // Index of `attributes` among the sink's formats, added when new.
    virtual std::uint32_t AddFormat(const TextAttributes& attributes) = 0;
    // Starts a new, empty last line.
    virtual void AddLine() = 0;
    // Appends `text` in format `format` (from AddFormat) to the last line.
    virtual void AppendText(std::string_view text, std::uint32_t format) = 0;
    // Room for so many lines, bytes and runs (a hint).
    virtual void Reserve(std::size_t lines, std::size_t bytes, std::size_t runs) = 0;
};

// What the clipboard offers to a paste.
struct ClipboardContent {
    bool HasText = false;
    std::string Text;  // single-byte characters; line ends as the clipboard holds them
    bool HasRtf = false;
    std::string Rtf;   // the Rich Text bytes
};

// How a search compares.
struct FindOptions {
    bool WholeWord = false;
    bool MatchCase = false;
};

class ProtocolField {
public:
    virtual ~ProtocolField() = default;

    // Attributes of the text appended next (the selection attributes at the end).
    virtual void SetAppendAttributes(const TextAttributes& attributes) = 0;
    // Appends `text` (single-byte characters) as a new last line. Returns false
    // when the field refused the line or took only part of it.
    virtual bool AppendLine(const std::string& text) = 0;
    // Deletes the last line. Returns false when the field failed.
    virtual bool DeleteLastLine() = 0;
    virtual void Clear() = 0;
    virtual int LineCount() = 0;
    // Text of line `index` (0-based), single-byte characters.
    virtual std::string LineText(int index) = 0;
    // Width of the field's control in pixels (its frame and scroll bar
    // included) and the screen's pixels per inch.
    virtual int ControlWidth() = 0;
    virtual int PixelsPerInch() = 0;
    // Gives the field the keyboard focus, caret at the end.
    virtual void FocusAtEnd() = 0;
    // The document's default text attributes (font and text colour) and its
    // background colour; a system colour (high byte 0xFF) is the system's.
    virtual void SetDefaultAttributes(const TextAttributes& attributes) = 0;
    virtual void SetBackgroundColour(Colour colour) = 0;
    // Forgets the undo history (after a recording stops).
    virtual void ClearUndoBuffer() {}
    // How much the field holds at most; AppendLine fails beyond. Zero: no
    // limit is known.
    struct Limits {
        std::int64_t Lines = 0;
        std::int64_t Characters = 0;
    };
    virtual Limits CapacityLimits() const { return {}; }

    // --- Editing, searching and the clipboard -----------------------------
    // Positions count characters from the start of the protocol; every line
    // end counts as one. The caret position is the start of the selection.
    // An implementation that does not support a part does nothing there.

    // Position just past the last character.
    virtual int TextLength() { return 0; }
    virtual int CaretPosition() { return 0; }
    // Puts the caret at `position` (clamped to the text), nothing selected,
    // and shows it.
    virtual void SetCaretPosition(int position) { (void)position; }
    virtual int SelectionLength() { return 0; }
    // Selects `length` characters from `start` (clamped to the text) with the
    // caret at the end of the selection, and shows them.
    virtual void Select(int start, int length) { (void)start, (void)length; }
    virtual void SelectAll() {}
    // Replaces the selection (or inserts at the caret) by `text`, single-byte
    // characters in which CR LF, LF and a lone CR each start a new line. The
    // text takes the typing attributes; the caret ends up after it.
    virtual void ReplaceSelection(const std::string& text) { (void)text; }
    // Replaces the selection by `lines` with their formats, joined by line
    // ends (no line end after the last); the caret ends up after them.
    virtual void ReplaceSelectionWithLines(const FieldLineSource& lines) { (void)lines; }
    // Deletes the selection; with nothing selected, the character after the
    // caret.
    virtual void DeleteSelection() {}
    // The first position from `from` on where `text` occurs, -1 when none.
    // An empty text is never found.
    virtual int Find(const std::string& text, int from, FindOptions options) {
        (void)text, (void)from, (void)options;
        return -1;
    }
    // Replaces every occurrence of `text` from `from` on by `replacement`,
    // left to right, each search going on after the text just put in (as
    // Find, Select and ReplaceSelection in turn do here). Returns how many
    // were replaced; `last` gets the position of the last one (untouched
    // when there was none). A field may do it faster and as one change the
    // user undoes at once.
    virtual int ReplaceAll(const std::string& text, const std::string& replacement, int from, FindOptions options,
                           int& last) {
        int count = 0;
        for (int found = Find(text, from, options); found >= 0; found = Find(text, from, options)) {
            Select(found, static_cast<int>(text.size()));
            ReplaceSelection(replacement);
            last = found;
            from = found + static_cast<int>(replacement.size());
            ++count;
        }
        return count;
    }
    virtual bool CanUndo() { return false; }
    // Undoes the user's last change, if there is one.
    virtual void Undo() {}

    // Every line of the protocol into `sink`. An empty last line after the
    // last line end is not a line.
    virtual void ReadLines(FieldLineSink& sink) { (void)sink; }
    // The selection into `sink`, cut at its line ends: n line ends give n + 1
    // lines, the last one possibly empty.
    virtual void ReadSelectedLines(FieldLineSink& sink) { (void)sink; }
    // Replaces the whole protocol by `lines`, each ending with a line end,
    // caret at the start; not something Undo takes back. False, leaving the
    // protocol as it was, when they exceed CapacityLimits().
    virtual bool LoadLines(const FieldLineSource& lines) {
        (void)lines;
        return false;
    }

    // Puts the selection on the clipboard in exactly two formats: plain text
    // (as the field shows it, lines joined by the platform's line end) and
    // Rich Text, which `makeRtf` makes when a program first asks for it (so
    // it must work from its own copy of the selection, not from the field).
    virtual void CopySelection(std::function<std::string()> makeRtf) { (void)makeRtf; }
    // Whether the clipboard offers text or Rich Text that Paste can take.
    virtual bool ClipboardHasText() { return false; }
    virtual ClipboardContent Clipboard() { return {}; }
};

}  // namespace kestrum
