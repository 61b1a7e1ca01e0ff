#include "sender/sync_pacing.h"

namespace kestrum {
namespace {

bool IsMasterInstance(const SenderContext& c) { return c.instance.Number == 1; }

// Sending goes on: nothing stopped it, switched the mode or closed the window.
bool StillSending(const SenderContext& c) {
    const RecordingState& recording = c.capture.state.Recording;
    return recording.Running && !c.capture.options.MonitorMode && recording.ActivityMarker != ActivityMarker::Closing;
}

void EnsureOpen(SenderContext& c) {
    if (c.state.SyncEvent != kInvalidEventHandle) return;
    const std::string name = SyncEventName(c.capture.exeBaseName);
    c.state.SyncEvent = IsMasterInstance(c) ? c.syncEvents.CreateEvent(name) : c.syncEvents.OpenEvent(name);
}

}  // namespace

std::string SyncEventName(const std::string& exeBaseName) { return exeBaseName + "SyncEvent"; }

void OpenSyncEvent(SenderContext& c) { EnsureOpen(c); }

void CloseSyncEvent(SenderContext& c) {
    if (c.state.SyncEvent == kInvalidEventHandle) return;
    c.syncEvents.CloseHandle(c.state.SyncEvent);
    c.state.SyncEvent = kInvalidEventHandle;
}

std::uint32_t FollowerWaitMs(int lineCount, std::uint32_t intervalMs) {
    if (lineCount <= 0) return 0;
    // 64 bits hold the product of a 31-bit count and a 32-bit interval.
    const std::uint64_t wait = 2ull * static_cast<std::uint64_t>(lineCount) * intervalMs;
    return wait > kMaxSyncWaitMs ? kMaxSyncWaitMs : static_cast<std::uint32_t>(wait);
}

bool WaitsForMaster(const SenderContext& c) { return c.instance.Number > 1 && c.capture.options.Synchronize; }

bool SynchroniseAtPassStart(SenderContext& c) {
    const Options& options = c.capture.options;
    if (IsMasterInstance(c)) {
        EnsureOpen(c);
        c.syncEvents.SetEvent(c.state.SyncEvent);
        c.syncEvents.ResetEvent(c.state.SyncEvent);
    }
    if (!WaitsForMaster(c)) {
        if (c.txTimer.Interval() != options.TxTimeInterval) c.txTimer.SetInterval(options.TxTimeInterval);
        return true;
    }

    EnsureOpen(c);
    c.txTimer.SetInterval(options.TxTimeInterval);
    c.txTimer.SetEnabled(false);
    const WaitResult result = c.syncEvents.WaitInParts(
        c.state.SyncEvent, FollowerWaitMs(c.state.TxLineCount, options.TxTimeInterval), kSyncWaitPartMs, [&c] {
            c.capture.pump.ProcessMessages();
            return StillSending(c);
        });
    if (!StillSending(c)) return false;
    c.txTimer.SetEnabled(true);
    return result != WaitResult::TimedOut;
}

}  // namespace kestrum
