#pragma once
// Message boxes for unit tests: records every beep and box, answers boxes
// with a preset result.

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace kestrum {

class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Box {
        MessageKind Kind;
        std::string Caption;
        std::string Text;
        ScreenPoint Origin;
        MessageButtons Buttons;
    };
    // One entry per call, in order: "beep" or "box", to check that the beep
    // comes before its box.
    std::vector<std::string> Calls;
    std::vector<MessageKind> Beeps;
    std::vector<Box> Boxes;
    MessageResult Answer = MessageResult::Ok;

    void Beep(MessageKind kind) override;
    MessageResult Show(MessageKind kind, const std::string& caption, const std::string& text,
                       ScreenPoint origin, MessageButtons buttons) override;
};

}  // namespace kestrum
