#pragma once
// The protocol field: the rich-text document the recording is written into.
// The GUI implements it over a text widget; tests use a fake.

#include <cstdint>
#include <string>

#include "base/colour.h"

namespace kestrum {

struct TextAttributes {
    std::string FontName = "FixedSys";
    int FontSize = 11;           // points
    Colour Color = 0x000000;     // 0x00BBGGRR
    std::uint8_t Style = 0;      // 1 bold, 2 italic, 4 underline, 8 strike-out
    bool operator==(const TextAttributes&) const = default;
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
};

}  // namespace kestrum
