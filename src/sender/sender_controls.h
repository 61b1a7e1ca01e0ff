#pragma once
// The sender's controls in the button row: the Sync button, the interval
// edit and its up-down control, and their state at window creation.

#include <string_view>

#include "sender/sender_context.h"

namespace kestrum {

// Window creation: TxTimer's interval from TxTimeInterval (the timer stays
// disabled), the edit shows it in decimal, the up-down position from
// IntervalStepIndex; the current mode remembered as the previous one.
void SetUpSenderControls(SenderContext& c);

// SpeedButtonSyncOnClick: Synchronize inverted; the button down while it is
// on, with the hint to switch it off, else up with the hint to switch it on.
void SpeedButtonSyncOnClick(SenderContext& c);

// EditTxTimeIntervalOnKeyPress: whether the edit takes the typed character
// (digits and Backspace; every other key is discarded).
bool EditTxTimeIntervalOnKeyPress(char key);

// EditTxTimeIntervalOnChange with the edit's new text: TxTimeInterval
// becomes its decimal value, or stays with the standard beep when it is not
// a valid number (empty, too large); the up-down position follows
// (IntervalStepIndex) and TxTimer takes the interval at once (each
// keystroke counts: typing 500 sets 5, 50, then 500; 0 stops the ticks).
void EditTxTimeIntervalOnChange(SenderContext& c, std::string_view text);

// UpDownTxTimeIntervalOnClick: the up-down position moves by `step` (+1 up,
// -1 down) within 0..9; TxTimeInterval becomes that entry of
// TxIntervalSteps, TxTimer takes it and the edit shows it.
void UpDownTxTimeIntervalOnClick(SenderContext& c, int step);

}  // namespace kestrum
