#pragma once
// Text forms of a channel's parity and stop bits, used by the settings file
// and the button hints.

#include <string>

#include "base/modes.h"

namespace kestrum {

// Odd "O", Even "E", Mark "M", Space "S", None "N".
std::string ParityToText(Parity parity);
// First character, upper-cased: E Even, M Mark, O Odd, S Space, anything else None.
Parity TextToParity(const std::string& text);
// OneAndHalf "1.5", Two "2", One "1".
std::string StopBitsToText(StopBits stopBits);
// Exactly "2" gives Two, exactly "1.5" OneAndHalf, anything else One.
StopBits TextToStopBits(const std::string& text);

}  // namespace kestrum
