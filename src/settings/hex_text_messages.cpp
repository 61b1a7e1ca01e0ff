#include "settings/hex_text_messages.h"

#include "settings/language_texts.h"

namespace kestrum {

bool HexTextToBytes(std::string_view text, std::string& bytes, const HexTextMessages& messages) {
    std::string clean;
    const HexTextError error = ParseHexText(text, bytes, &clean);
    if (error == HexTextError::None) return true;
    if (messages.Boxes != nullptr) {
        const std::string message = error == HexTextError::InvalidCipher
                                        ? LanguageText(kTextInvalidHexCipher, messages.Language) + "\r\r" + clean
                                        : LanguageText(kTextHexNumberAboveFF, messages.Language);
        messages.Boxes->Beep(MessageKind::Error);
        messages.Boxes->Show(MessageKind::Error, messages.Caption, message, messages.Origin, MessageButtons::Ok);
    }
    return false;
}

std::string BytesToHexText(std::string_view bytes, int maxLength, bool pad, int language) {
    if (std::optional<std::string> text = FormatHexText(bytes, maxLength, pad)) return *text;
    return LanguageText(kTextAsciiStringTooLong, language, std::to_string(maxLength));
}

}  // namespace kestrum
