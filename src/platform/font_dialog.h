#pragma once
// The font dialog (ChooseFontA): name, size, style and colour of one font
// entry, modal, with OK and Cancel.

#include <cstdint>
#include <string>

#include "base/colour.h"

namespace kestrum {

// A font as the channel table keeps it.
struct FontChoice {
    std::string Name;        // a font that does not exist here (the default "FixedSys") is
                             // shown as the system's fixed-pitch font and kept unless changed
    int Size = 11;           // points
    std::uint8_t Style = 0;  // 1 bold, 2 italic, 4 underline, 8 strike-out
    Colour Color = 0;        // 0x00BBGGRR
    bool operator==(const FontChoice&) const = default;
};

struct FontDialogOptions {
    bool FixedPitchOnly = false;  // list fixed-pitch fonts only
    bool Effects = true;          // offer colour, underline and strike-out
    int Language = 1;             // 1 English, 2 German
};

class FontDialog {
public:
    virtual ~FontDialog() = default;
    // Starts at `choice`. OK: true with the chosen font in `choice` (without
    // effects, its underline, strike-out and colour stay as they were);
    // Cancel: false with `choice` unchanged.
    virtual bool ChooseFont(FontChoice& choice, const FontDialogOptions& options) = 0;
};

}  // namespace kestrum
