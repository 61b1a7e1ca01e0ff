#pragma once
// Message boxes and beeps (MessageBeep, MessageBox / Application.MessageBox).

#include <string>

#include "base/screen_point.h"

namespace kestrum {

// The beep and icon of a message: MB_ICONHAND, MB_ICONEXCLAMATION,
// MB_ICONASTERISK, MB_ICONQUESTION.
enum class MessageKind { Error, Warning, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Beep(MessageKind kind) = 0;
    // Modal box with its top-left corner at `origin`.
    virtual MessageResult Show(MessageKind kind, const std::string& caption,
                               const std::string& text, ScreenPoint origin,
                               MessageButtons buttons = MessageButtons::Ok) = 0;
};

}  // namespace kestrum
