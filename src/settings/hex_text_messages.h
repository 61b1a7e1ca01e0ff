#pragma once
// Hex text conversions with their messages in the user's language.

#include <string>
#include <string_view>

#include "base/hex_text.h"
#include "platform/message_box.h"

namespace kestrum {

// Where HexTextToBytes reports a text it cannot convert. A null `Boxes`
// turns the messages off (the default).
struct HexTextMessages {
    MessageBoxes* Boxes = nullptr;
    ScreenPoint Origin;              // DialogOrigin
    int Language = 1;                // 1 English, 2 German
    std::string Caption = "Kestrum"; // title of the error box
};

// ParseHexText; false, with `bytes` emptied, when the text does not
// convert. With messages on, the error beep and an error box at the origin
// come first: "The input contains an invalid hex cipher:", two line breaks
// and the cleaned-up text, or "The input contains a hex number > FF.".
bool HexTextToBytes(std::string_view text, std::string& bytes, const HexTextMessages& messages = {});

// FormatHexText; more bytes than `maxLength` give the text "Error: The ASCII
// string contains more than <maxLength> characters." (German with
// `language` 2) instead.
std::string BytesToHexText(std::string_view bytes, int maxLength, bool pad, int language = 1);

}  // namespace kestrum
