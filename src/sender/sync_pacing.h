#pragma once
// Pacing sender mode between the instances of one program file through the
// named sync event: the master instance (number 1) pulses it at the start of
// each of its passes through the protocol; a follower (number above 1) with
// Synchronize on waits for that pulse at the start of each of its passes.

#include <cstdint>
#include <string>

#include "sender/sender_context.h"

namespace kestrum {

// The longest follower wait: just below the endless wait.
inline constexpr std::uint32_t kMaxSyncWaitMs = 0xFFFFFFFE;
// A follower lets window messages through at least this often while it
// waits, so that Stop, a mode switch or closing the window act at once.
inline constexpr std::uint32_t kSyncWaitPartMs = 20;

// ExeBaseName + "SyncEvent".
std::string SyncEventName(const std::string& exeBaseName);

// Window creation: the master creates the event, every other instance opens
// it. A failure leaves the handle invalid; passes try again.
void OpenSyncEvent(SenderContext& c);

// Window close: the handle is closed.
void CloseSyncEvent(SenderContext& c);

// How long a follower waits for the master: 2 x lines x interval
// milliseconds, at most kMaxSyncWaitMs.
std::uint32_t FollowerWaitMs(int lineCount, std::uint32_t intervalMs);

// Whether this instance waits for the master at its pass starts: a
// follower with Synchronize on.
bool WaitsForMaster(const SenderContext& c);

// The start of a pass (a tick at line 0), before its first line is sent.
// An event that is not open is opened (the master creates it) first.
// - Master: pulses the event (SetEvent, then ResetEvent) and goes on.
// - Follower with Synchronize: TxTimer to TxTimeInterval and disabled, then
//   waits for a pulse for FollowerWaitMs, letting messages through every
//   kSyncWaitPartMs; the timer is enabled again when sending still runs. A
//   pulse, or a wait that fails (no event), goes on; a time-out, or sending
//   that stopped meanwhile, ends the tick (false).
// - Anyone else goes on; a timer left at half an interval gets the whole
//   one back.
bool SynchroniseAtPassStart(SenderContext& c);

}  // namespace kestrum
