#include "settings/line_settings_text.h"

#include <cctype>

namespace kestrum {

std::string ParityToText(Parity parity) {
    switch (parity) {
        case Parity::Odd: return "O";
        case Parity::Even: return "E";
        case Parity::Mark: return "M";
        case Parity::Space: return "S";
        case Parity::None: break;
    }
    return "N";
}

Parity TextToParity(const std::string& text) {
    if (text.empty()) return Parity::None;
    switch (std::toupper(static_cast<unsigned char>(text[0]))) {
        case 'E': return Parity::Even;
        case 'M': return Parity::Mark;
        case 'O': return Parity::Odd;
        case 'S': return Parity::Space;
        default: return Parity::None;
    }
}

std::string StopBitsToText(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::OneAndHalf: return "1.5";
        case StopBits::Two: return "2";
        case StopBits::One: break;
    }
    return "1";
}

StopBits TextToStopBits(const std::string& text) {
    if (text == "2") return StopBits::Two;
    if (text == "1.5") return StopBits::OneAndHalf;
    return StopBits::One;
}

}  // namespace kestrum
