#include "fakes/recording_message_boxes.h"

namespace kestrum {

void RecordingMessageBoxes::Beep(MessageKind kind) {
    Calls.push_back("beep");
    Beeps.push_back(kind);
}

MessageResult RecordingMessageBoxes::Show(MessageKind kind, const std::string& caption,
                                          const std::string& text, ScreenPoint origin,
                                          MessageButtons buttons) {
    Calls.push_back("box");
    Boxes.push_back({kind, caption, text, origin, buttons});
    return Answer;
}

}  // namespace kestrum
