#include "sender/sender_hooks.h"

#include "sender/manual_send.h"
#include "sender/tx_timer_tick.h"

namespace kestrum {

void SenderHooks::StartSending() { kestrum::StartSending(context_); }

void SenderHooks::StopSending() { kestrum::StopSending(context_); }

void SenderHooks::ConvertLastInputLines(LogMode logMode) { kestrum::ConvertLastInputLines(context_, logMode); }

}  // namespace kestrum
