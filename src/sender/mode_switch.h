#pragma once
// The switch between monitor mode and sender mode: the mouse-down and
// mouse-up handlers shared by SpeedButtonMonitor and SpeedButtonSender.

#include "sender/sender_context.h"

namespace kestrum {

// SpeedButtonMonitorOrSenderOnMouseDown on `monitorButton` (true: Monitor,
// false: Sender). Only a plain left click (no Shift, Ctrl or Alt, no other
// mouse button) acts: PreviousMonitorMode := MonitorMode, the mode of the
// button is taken; a click on the mode that is on already ends there.
// Otherwise: the pair shows the mode; Running cleared and TxTimer off, the
// Start button disabled and enabled again with messages let through after
// each step, then up (a sending that this ended gets the Stop steps); Trigger
// shown in monitor mode only, Sync and the interval controls in sender mode
// only (Sync enabled for instances above 1); every Active channel's port
// closed; monitor mode opens the ports of the MonitorChannel channels,
// sender mode the SenderChannel's; Active follows Open; the channel buttons
// show it (down, group index, underline only in monitor mode, hints); the
// window caption is rebuilt.
void SpeedButtonMonitorOrSenderOnMouseDown(SenderContext& c, bool monitorButton, bool plainLeftClick);

// SpeedButtonMonitorOrSenderOnMouseUp: after a mouse-down that switched the
// mode, the Start button disabled and enabled again (messages let through
// after each), shown up with Running cleared; in monitor mode the Sender
// button likewise. Any other mouse-up does nothing.
void SpeedButtonMonitorOrSenderOnMouseUp(SenderContext& c);

}  // namespace kestrum
