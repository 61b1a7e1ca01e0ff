#pragma once
// Text forms of a channel's parity and stop bits, used by the settings file
// and the button hints.

#include <cstdint>
#include <string>

namespace kestrum {

// 1 "O", 2 "E", 3 "M", 4 "S", anything else "N".
std::string ParityToText(int parity);
// First character, upper-cased: E 2, M 3, O 1, S 4, anything else 0.
std::uint8_t TextToParity(const std::string& text);
// 1 "1.5", 2 "2", anything else "1".
std::string StopBitsToText(int stopBits);
// Exactly "2" gives 2, exactly "1.5" gives 1, anything else 0.
std::uint8_t TextToStopBits(const std::string& text);

}  // namespace kestrum
