#pragma once
// Commands and handlers run guarded: an exception they raise is shown in the
// program's standard error box and the program goes on.

#include <exception>
#include <functional>

#include "platform/message_box.h"

namespace kestrum {

// Runs `action`. An exception it throws is shown: the error beep, then an
// error box titled "Kestrum" at `origin` with the exception's text. True
// when it ran to its end.
bool RunGuarded(MessageBoxes& messages, ScreenPoint origin, const std::function<void()>& action);

// The text the standard error box shows for `error`: its what(), or a
// general text when that is empty.
std::string StandardErrorText(const std::exception& error);

}  // namespace kestrum
