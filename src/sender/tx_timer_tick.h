#pragma once
// Sender mode: the Start button's sending steps and the tick of TxTimer,
// which sends one protocol line through the sender channel's port.

#include "sender/sender_context.h"

namespace kestrum {

// Start pressed in sender mode (after the steps both modes share): the line
// count read, line 0 next, TxTimer set to TxTimeInterval and enabled, so the
// first line goes out one interval after the click.
void StartSending(SenderContext& c);

// Start released, a mode switch, the window closing: TxTimer disabled.
void StopSending(SenderContext& c);

// Sending ends by itself (end of a pass without auto repeat, a line that is
// not hex text, the sender port gone): the same steps as a click on Stop
// (Start button up, TxTimer off, the next Find from the top, Edit commands
// by the protocol, undo forgotten, activity idle).
void EndSending(SenderContext& c);

// TxTimerOnTimer: one tick.
// 1. A tick that finds another one at work (TxBusy) does nothing.
// 2. The line count is read; without a sender channel or a line the tick
//    does nothing and the timer goes on. An index at or past the end (lines
//    deleted while sending) is the end of the pass.
// 3. At line 0 a pass starts: SynchroniseAtPassStart; a follower whose
//    wait timed out ends the tick.
// 4. The comment of the line is cut off; a line that was nothing but a
//    comment is skipped and the next one taken in the same tick (a pass
//    that ends there ends as in 7; a new pass starts as in 3). A whole pass
//    of comments ends the tick without sending. An empty line without a
//    comment is sent like any other line, and uses its tick.
// 5. The line becomes bytes by LogMode (AsciiSendBytes; HexSendText and
//    HexTextToBytes with its message, where a failure ends sending and
//    leaves the index on that line; any other mode: the text as it is).
// 6. Bytes go out in one WriteFile. A failed write counts as sent, with one
//    beep per run; a failed write to a port that has gone ends sending with
//    a message.
// 7. The index advances; past the last line it returns to 0, and without
//    auto repeat sending ends (and messages are let through).
// 8. A follower that waits for the master makes the tick after a pass's
//    last line come after half an interval (at least 1 ms), so that it
//    waits for the master's next pass in time.
void TxTimerOnTimer(SenderContext& c);

}  // namespace kestrum
