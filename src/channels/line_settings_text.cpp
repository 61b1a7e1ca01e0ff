#include "channels/line_settings_text.h"

#include <cctype>

namespace kestrum {

std::string ParityToText(int parity) {
    switch (parity) {
        case 1: return "O";
        case 2: return "E";
        case 3: return "M";
        case 4: return "S";
        default: return "N";
    }
}

std::uint8_t TextToParity(const std::string& text) {
    if (text.empty()) return 0;
    switch (std::toupper(static_cast<unsigned char>(text[0]))) {
        case 'E': return 2;
        case 'M': return 3;
        case 'O': return 1;
        case 'S': return 4;
        default: return 0;
    }
}

std::string StopBitsToText(int stopBits) {
    switch (stopBits) {
        case 1: return "1.5";
        case 2: return "2";
        default: return "1";
    }
}

std::uint8_t TextToStopBits(const std::string& text) {
    if (text == "2") return 2;
    if (text == "1.5") return 1;
    return 0;
}

}  // namespace kestrum
