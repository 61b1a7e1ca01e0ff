#pragma once
// Everything the recording engine works on: its own state, and the
// collaborators it reaches the rest of the program through. The GUI owns
// one of each, builds one CaptureContext and hands it to every handler.

#include <string>
#include <vector>

#include "capture/capture_file_state.h"
#include "capture/deferred_lines.h"
#include "capture/line_layout.h"
#include "capture/line_records.h"
#include "capture/protocol_clock.h"
#include "capture/recording_state.h"
#include "capture/start_button.h"
#include "base/channel_table.h"
#include "platform/clock.h"
#include "platform/locale_info.h"
#include "platform/message_box.h"
#include "platform/message_pump.h"
#include "platform/poll_timer.h"
#include "platform/protocol_field.h"
#include "platform/serial_port.h"
#include "settings/options.h"

namespace kestrum {

// The engine's state, owned by the application.
struct CaptureState {
    RecordingState Recording;
    LineRecords Lines;
    ProtocolClock ProtocolTime;
    LineLayout Layout;
    StartButtonView StartButton;
    std::string WriteBuffer;  // reused for the text of each written line
    CaptureFileState CaptureFile;
    std::vector<DeferredLine> DeferredLines;  // waiting for input that arrived before them
};

// Steps of the Start and Stop handlers and of the display buttons that
// belong to sending (sender mode and manual send). Each does nothing by
// default.
class SendingHooks {
public:
    virtual ~SendingHooks() = default;
    // Start pressed in sender mode, after the steps common to both modes.
    virtual void StartSending() {}
    // Start released: the send timer is disabled.
    virtual void StopSending() {}
    // The display mode changed to `logMode`: each channel's pending
    // manual-send text (LastInputLine) is converted to the new form.
    virtual void ConvertLastInputLines(LogMode logMode) { (void)logMode; }
};

// Steps of the Start, Stop and Clear handlers that belong to the protocol
// document's edit and search commands.
class SearchHooks {
public:
    virtual ~SearchHooks() = default;
    // The next Find starts at the beginning of the protocol.
    virtual void RestartFindAtBeginning() = 0;
    virtual void CloseFindDialog() = 0;
    // Edit > Select All, Find and Replace enabled or disabled.
    virtual void SetEditSearchCommandsEnabled(bool enabled) = 0;
};

struct CaptureContext {
    Options& options;
    ChannelTable& channels;
    ProtocolField& field;
    SerialPorts& ports;
    Clock& clock;
    MessagePump& pump;
    PollTimer& pollTimer;
    MessageBoxes& messages;
    const LocaleInfo& locale;
    SendingHooks& sending;
    SearchHooks& search;
    CaptureState& state;
    const ScreenPoint& dialogOrigin;  // where message boxes go
    const std::string& exeBaseName;   // title of message boxes
};

}  // namespace kestrum
