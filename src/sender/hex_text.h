#pragma once
// The hex text form of byte sequences: "41 42 43", with "- " after every
// eighth byte. Used for trigger words, input histories, hex send lines and
// the hex column of dump lines. Bytes are single-byte strings.

#include <string>
#include <string_view>

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

// Converts hex text to bytes. Accepts blanks, "-" and tabs as separators and
// ignores "$", "H" and "0X" (any case). Returns false, with `bytes` emptied,
// when a character is not a hex digit or a token is above FF; with messages
// on, the error beep and an error box at the origin come first.
bool HexTextToBytes(std::string_view text, std::string& bytes,
                    const HexTextMessages& messages = {});

// Two upper-case digits per byte, separated by blanks, "- " after every
// eighth byte that is not the last. More bytes than `maxLength` give the
// error text "Error: The ASCII string contains more than <maxLength>
// characters." (German with `language` 2) instead. Without `pad` the text is
// trimmed; with it, blanks fill it to PaddedHexTextWidth(maxLength).
std::string BytesToHexText(std::string_view bytes, int maxLength, bool pad,
                           int language = 1);

// Width of padded hex text for `maxLength` bytes: 3m + 2((m-1) div 8) + 2.
int PaddedHexTextWidth(int maxLength);

}  // namespace kestrum
