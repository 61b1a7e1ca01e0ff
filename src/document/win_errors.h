#pragma once
// The system's error messages: the text of an error code and the message
// box that shows a failed file operation with it.

#include <string>

#include "platform/message_box.h"

namespace kestrum {

// The system's text for the error code `code` (an errno value) as
// Windows-1252, at most 255 characters; empty when the system has none.
// With `oneLine` the text is trimmed and every line break becomes a blank.
std::string WinErrorText(int code, bool oneLine);

// The message box of a failed system call: `text`, a line break,
// "WinErrorCode=" and `code` in decimal, a line break and the code's text.
// One OK button; its caption is a blank and `caption`. `code` is the error
// the failing call reported, taken right after it.
void ShowWinError(MessageBoxes& messages, ScreenPoint origin, const std::string& caption, const std::string& text,
                  int code);

}  // namespace kestrum
