#pragma once
// The hex text form of byte sequences: "41 42 43", with "- " after every
// eighth byte. Used for trigger words, input histories, hex send lines and
// the hex column of dump lines. Bytes are single-byte strings. The versions
// that report errors to the user are HexTextToBytes and BytesToHexText
// (settings/hex_text_messages.h).

#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

enum class HexTextError {
    None,
    InvalidCipher,  // a character other than a blank or a hex digit after the clean-up
    AboveFF,        // a token above FF
};

// Converts hex text to bytes. The text is trimmed (blanks and control
// characters), upper-cased, cleared of "$", "H" and "0X", and "-" and tabs
// become blanks, runs of blanks one blank. Each token between blanks is one
// byte. On an error `bytes` is empty. `cleanText`, when given, receives the
// text after the clean-up.
HexTextError ParseHexText(std::string_view text, std::string& bytes, std::string* cleanText = nullptr);

// Two upper-case digits per byte, separated by blanks, "- " after every
// eighth byte that is not the last. Without `pad` the text is trimmed; with
// it, blanks fill it to PaddedHexTextWidth(maxLength). Nothing when there are
// more bytes than `maxLength`.
std::optional<std::string> FormatHexText(std::string_view bytes, int maxLength, bool pad);

// Width of padded hex text for `maxLength` bytes: 3m + 2((m-1) div 8) + 2.
int PaddedHexTextWidth(int maxLength);

}  // namespace kestrum
