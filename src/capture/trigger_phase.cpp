#include "capture/trigger_phase.h"

#include <algorithm>

#include "capture/arrival_order.h"
#include "capture/channel_line_writer.h"
#include "capture/deferred_lines.h"
#include "capture/line_assembly.h"
#include "capture/port_reading.h"
#include "capture/program_lines.h"
#include "capture/protocol_clock.h"

namespace kestrum {

bool TriggerArmed(const CaptureContext& c) {
    if (!c.options.TriggerOn) return false;
    for (int k = kFirstChannel; k <= kLastChannel; ++k) {
        const ChannelRecord& record = c.channels.Channel(k);
        if (record.Active && record.TriggerEnabled) return true;
    }
    return false;
}

bool MatchStep(CaptureContext& c, int channel, std::uint8_t byte, const InputArrival* arrival) {
    const ChannelRecord& record = c.channels.Channel(channel);
    int& p = c.state.Recording.MatchPosition[static_cast<std::size_t>(channel)];
    const int length = std::min(record.TriggerLength, static_cast<int>(record.TriggerBytes.size()));
    if (length <= 0) {
        p = 1;
        return false;
    }
    if (p < 1 || p > length) p = 1;
    const auto at = [&](int position) {
        return static_cast<std::uint8_t>(record.TriggerBytes[static_cast<std::size_t>(position - 1)]);
    };
    // The origin is the first byte's arrival, when input is stamped.
    const auto takeOrigin = [&] {
        if (!c.options.ShowTimeTags) return;
        if (arrival)
            TakeTimeOriginAt(c.state.ProtocolTime, *arrival);
        else
            TakeTimeOrigin(c.state.ProtocolTime, c.clock);
    };
    if (at(p) == byte) {
        if (p == 1) takeOrigin();
        ++p;
    } else {
        p = 1;
        if (at(1) == byte) {
            takeOrigin();
            p = 2;
        }
    }
    return p == length + 1;
}

void WriteTriggerWordList(CaptureContext& c) {
    ApplyFontEntry(c, kMasterEntry);
    AppendProtocolLine(c, c.options.Language == 2 ? "Trigger-Worte:" : "Trigger words:");
    for (int k = kFirstChannel; k <= kLastChannel; ++k) {
        const ChannelRecord& record = c.channels.Channel(k);
        if (!record.Active || !record.TriggerEnabled) continue;
        std::string line = ChannelIdPrefix(c.channels, k) + record.TriggerWord + "  ";
        line += c.options.LogMode == LogMode::Hex ? record.TriggerHexColumnText
                                                 : record.TriggerDisplayText;
        AppendProtocolLine(c, line);
    }
    AppendProtocolLine(c);
    ApplyFontEntry(c, kUserEntry);
}

void RunTriggerPhase(CaptureContext& c) {
    RecordingState& state = c.state.Recording;
    state.TriggeredChannel = -1;
    if (!TriggerArmed(c)) return;
    // Every channel starts at the first byte, also one switched on during the wait.
    state.MatchPosition.fill(1);
    if (c.options.ShowTimeTags) TakeTimeOrigin(c.state.ProtocolTime, c.clock);
    if (state.FirstPhase && c.options.ShowTriggerWords) WriteTriggerWordList(c);

    ArrivalOrder order;
    for (;;) {
        c.pump.ProcessMessages();
        if (!state.Running) return;
        // What arrives before the trigger is not shown: nothing to wait for.
        WriteDeferredLines(c, kAllDeferredLines);
        bool delivered = false;
        unsigned readers = 0;
        for (int k = kFirstChannel; k <= kLastChannel; ++k)
            if (c.channels.Channel(k).Active) readers |= 1u << k;
        // Bytes are compared in the order they arrived, so the word that
        // arrived first fires.
        order.Begin(c.ports, c.channels, readers);
        for (int k = kFirstChannel; k <= kLastChannel; ++k) {
            const ChannelRecord& record = c.channels.Channel(k);
            if (!record.Active) continue;
            // Everything before the hit is thrown away, reports of dropped input too.
            if (order.MayHaveDropped(k)) c.ports.TakeDroppedInput(record.Handle);
            if (!order.MayRead(k)) continue;
            InputArrival arrival;
            const bool stamped = order.Next(k) != nullptr;
            if (stamped) arrival = *order.Next(k);
            std::uint8_t byte = 0;
            if (!ReadChannelByte(c, record, byte)) continue;
            order.Advance(c.ports, c.channels, k);
            delivered = true;
            if (!record.TriggerEnabled) continue;  // thrown away
            if (MatchStep(c, k, byte, stamped ? &arrival : nullptr)) {
                state.TriggeredChannel = k;
                state.TriggerHit = true;
                state.AfterTriggerDone = false;
                state.Trigger = {record.TriggerBytes, record.TriggerWord, record.TriggerDisplayText,
                                 record.TriggerHexColumnText, record.TriggerLength};
                return;
            }
        }
        if (!delivered) IdleWait(c);
    }
}

bool ShouldRearm(const CaptureContext& c, int channel) {
    return c.options.TriggerOn && channel == c.state.Recording.TriggeredChannel &&
           c.channels.Channel(channel).TriggerOneShot;
}

}  // namespace kestrum
