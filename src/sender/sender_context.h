#pragma once
// What the sending handlers work on: the recording engine's context (the
// options, channel table, protocol field, ports, pump, messages, the Start
// button and the line records they share with recording), the sender's own
// state, the window's view, and the sender's outside world.

#include <functional>

#include "base/instance_info.h"
#include "base/main_view.h"
#include "capture/capture_context.h"
#include "platform/interval_timer.h"
#include "platform/sync_event.h"
#include "sender/input_line_dialog.h"
#include "sender/sender_state.h"

namespace kestrum {

struct SenderContext {
    CaptureContext& capture;
    SenderState& state;
    MainView& view;
    const InstanceInfo& instance;
    IntervalTimer& txTimer;          // TxTimer
    SyncEvents& syncEvents;
    InputLineDialog& inputLine;      // TFormGetInputLine
    // Rebuilds the window's caption (it names the protocol file of the mode).
    std::function<void()> updateWindowCaption;
};

}  // namespace kestrum
