#include "capture/protocol_full.h"

#include "settings/language_texts.h"

namespace kestrum {

void ProtocolCapacityExhausted(CaptureContext& c) {
    RecordingState& state = c.state.Recording;
    const bool first = !state.ProtocolFull;
    state.ProtocolFull = true;
    state.Running = false;
    EnableStartButton(c.state.StartButton, false, c.options.MonitorMode);
    if (!first) return;
    c.messages.Beep(MessageKind::Error);
    c.messages.Show(MessageKind::Error, c.exeBaseName,
                    LanguageText(kTextProtocolCapacityExhausted, c.options.Language),
                    c.dialogOrigin, MessageButtons::Ok);
}

}  // namespace kestrum
