#include "capture/capture_loop.h"

#include "capture/arrival_order.h"
#include "capture/capture_file_run.h"
#include "capture/channel_line_writer.h"
#include "capture/deferred_lines.h"
#include "capture/dropped_input.h"
#include "capture/line_assembly.h"
#include "capture/port_reading.h"
#include "capture/program_lines.h"
#include "capture/protocol_clock.h"
#include "capture/recording_ports.h"
#include "capture/trigger_phase.h"
#include "capture/triggered_line.h"

namespace kestrum {

namespace {

void ResetChannelBuffers(CaptureContext& c, int channel) {
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(channel)];
    line.HexByteCount = 0;
    line.LineText.clear();
    line.CharColumn.clear();
    line.HexColumn.assign(c.state.Layout.HexBlankLine);
}

void Stop(CaptureContext& c) {
    c.sending.StopSending();
    EndCaptureFile(c);
    c.search.RestartFindAtBeginning();
    c.search.SetEditSearchCommandsEnabled(c.field.LineCount() > 0);
    c.field.ClearUndoBuffer();
    c.state.Recording.ActivityMarker = ActivityMarker::Idle;
}

// The pass sequence of one phase: passes of the current display mode, a
// flush at every change of mode, until Running turns false. True when a
// re-arm of the trigger ended it.
bool RunPassSequence(CaptureContext& c) {
    RecordingState& state = c.state.Recording;
    while (state.Running) {
        c.pump.ProcessMessages();
        UpdateMaxLineLength(c.state.Layout, c.options, c.channels, c.field);
        state.LastChannel = -1;

        if (c.options.LogMode == LogMode::Ascii && state.Running) {
            if (state.TriggerHit && !state.AfterTriggerDone && AfterTriggerSteps(c, LogMode::Ascii))
                return true;
            while (state.Running && c.options.LogMode == LogMode::Ascii)
                if (RunPass(c, LogMode::Ascii)) return true;
        }
        FlushChannelLines(c);
        // Lines of the old display mode are finished: the next byte of any
        // channel begins a line in the new mode, also for the channel
        // written last.
        state.LastChannel = -1;

        if (c.options.LogMode == LogMode::Hex && state.Running) {
            if (state.TriggerHit && !state.AfterTriggerDone && AfterTriggerSteps(c, LogMode::Hex))
                return true;
            while (state.Running && c.options.LogMode == LogMode::Hex)
                if (RunPass(c, LogMode::Hex)) return true;
        }
        FlushChannelLines(c);
        state.LastChannel = -1;

        if (state.ClearRequest) {
            c.field.Clear();
            state.ClearRequest = false;
        }
    }
    return false;
}

// Bytes a channel reads in one turn at most when its input arrived before
// every other channel's, so that messages still come through often.
constexpr int kMaxBytesPerTurn = 256;

// Byte b of channel j into its line, by the pass's steps: its time (when it
// arrived, or now), the change of channel, the line start, the byte, the
// line-end test. `begunNow` is set when it began a line. True when a
// completed line re-armed the trigger.
bool AddChannelByte(CaptureContext& c, int j, std::uint8_t byte, LogMode logMode, const InputArrival* arrival,
                    bool& begunNow) {
    RecordingState& state = c.state.Recording;
    const Options& options = c.options;
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(j)];
    // The byte's time is only ever read for the first byte of a line.
    if (options.ShowTimeTags && (j != state.LastChannel || (line.LineClosed && !line.LineStarted)))
        line.ByteTime = arrival ? ArrivalSeconds(c.state.ProtocolTime, *arrival)
                                : ElapsedSeconds(c.state.ProtocolTime, c.clock);
    state.DataSeen = true;
    if (j != state.LastChannel) {
        const int last = state.LastChannel;
        if (last != -1 && !c.state.Lines[static_cast<std::size_t>(last)].Written) WriteChannelLine(c, last);
        state.LastChannel = j;
        line.LineClosed = true;
        line.LineStarted = false;
    }
    line.Written = false;

    bool lineEnd = false;
    if (logMode == LogMode::Ascii) {
        if (line.LineClosed && !line.LineStarted) {
            BeginAsciiLine(c, j);
            begunNow = true;
        }
        AddAsciiByte(c, j, byte);
        lineEnd = (byte == 13 && options.DumpOnCr) || (byte == 10 && options.DumpOnLf) ||
                  static_cast<int>(line.LineText.size()) >= c.state.Layout.MaxLineLength;
    } else {
        if (line.LineClosed && !line.LineStarted) {
            BeginHexLine(c, j);
            begunNow = true;
        }
        AddHexByte(c, j, byte);
        // At least (not exactly) the count: a count lowered while the line
        // was open still ends it.
        lineEnd = line.HexByteCount >= options.HexLineByteCount && state.Running;
    }
    if (lineEnd && !line.Written) {
        WriteChannelLine(c, j);
        line.LineClosed = true;
        line.LineStarted = false;
        if (ShouldRearm(c, j)) return true;
    }
    return false;
}

}  // namespace

void FlushChannelLines(CaptureContext& c) {
    for (int j = kFirstChannel; j <= kLastChannel; ++j)
        if (!c.state.Lines[static_cast<std::size_t>(j)].Written) WriteChannelLine(c, j);
}

bool RunPass(CaptureContext& c, LogMode logMode) {
    RecordingState& state = c.state.Recording;
    const Options& options = c.options;
    c.pump.ProcessMessages();
    unsigned readers = 0;
    for (int j = kFirstChannel; j <= kLastChannel; ++j)
        if (c.channels.Channel(j).Active || !c.state.Lines[static_cast<std::size_t>(j)].Written) readers |= 1u << j;
    ArrivalOrder order;
    order.Begin(c.ports, c.channels, readers);
    for (int j = kFirstChannel; j <= kLastChannel; ++j) {
        const ChannelRecord& record = c.channels.Channel(j);
        LineRecord& line = c.state.Lines[static_cast<std::size_t>(j)];
        if (!record.Active && line.Written) continue;

        if (order.MayHaveDropped(j))
            if (const std::uint64_t dropped = c.ports.TakeDroppedInput(record.Handle))
                WriteDroppedInputLine(c, j, dropped);

        // A channel whose next byte arrived after another channel's waits;
        // one whose input arrived before everyone else's reads on.
        bool begunNow = false;
        for (int taken = 0; taken < kMaxBytesPerTurn && (taken == 0 ? order.MayRead(j) : order.MayReadOn(j));
             ++taken) {
            InputArrival arrival;
            const bool stamped = order.Next(j) != nullptr;
            if (stamped) arrival = *order.Next(j);
            // A line of the program's own from before this byte goes first.
            if (stamped) WriteDeferredLines(c, arrival.Sequence);
            std::uint8_t byte = 0;
            if (!ReadChannelByte(c, record, byte)) break;
            order.Advance(c.ports, c.channels, j);
            if (AddChannelByte(c, j, byte, logMode, stamped ? &arrival : nullptr, begunNow)) return true;
            if (!state.Running || options.LogMode != logMode) break;
        }

        // A line begun a moment ago (its deadline was set from the clock
        // just now, with no messages let through since) cannot be due yet.
        if (!line.Written && !begunNow && c.clock.Now() > line.LineDeadline) {
            WriteChannelLine(c, j);
            line.LineClosed = false;
        }
        if (!state.Running || options.LogMode != logMode) break;
    }
    WriteDeferredLines(c, order.ReadUpTo());
    if (state.DataSeen)
        state.DataSeen = false;
    else
        IdleWait(c);
    return false;
}

void RunRecording(CaptureContext& c) {
    RecordingState& state = c.state.Recording;
    for (;;) {
        state.DataSeen = false;
        state.TriggerHit = false;
        state.AfterTriggerDone = false;
        state.TriggeredChannel = -1;
        RunTriggerPhase(c);
        if (!state.Running) break;
        if (c.options.ShowStartStopTime && state.FirstPhase) {
            WriteStartLine(c);
            state.StartLineWritten = true;
        }
        if (c.options.ShowTimeTags && !state.TriggerHit) TakeTimeOrigin(c.state.ProtocolTime, c.clock);
        for (LineRecord& line : c.state.Lines) {
            line.Written = true;
            line.LineClosed = true;
        }
        if (!RunPassSequence(c)) break;
        state.FirstPhase = false;  // re-armed: back to the trigger phase
    }
    WriteDeferredLines(c, kAllDeferredLines);
    if (state.StartLineWritten) WriteStopLine(c);
    EndCaptureFile(c);
    state.ActivityMarker = ActivityMarker::Idle;
}

void SpeedButtonStartOnClick(CaptureContext& c) {
    RecordingState& state = c.state.Recording;
    if (c.state.StartButton.Down && !c.state.StartButton.Enabled) {
        // A disabled button (full protocol) cannot start anything.
        c.state.StartButton.Down = false;
        return;
    }
    state.ClearRequest = false;
    state.Running = c.state.StartButton.Down;
    ShowStartButtonText(c.state.StartButton, state.Running, c.options.MonitorMode);
    if (!state.Running) {
        Stop(c);
        return;
    }

    state.StartLineWritten = false;
    state.ActivityMarker = ActivityMarker::StartDown;
    c.search.SetEditSearchCommandsEnabled(false);
    c.search.CloseFindDialog();
    c.field.FocusAtEnd();
    if (c.options.MonitorMode && c.field.LineCount() > 0) AppendProtocolLine(c);
    c.pump.ProcessMessages();
    // Before the purge: the file holds at least what the protocol will.
    BeginCaptureFile(c);

    for (int j = kFirstChannel; j <= kLastChannel; ++j) {
        const ChannelRecord& record = c.channels.Channel(j);
        if (!record.Installed) continue;
        ResetChannelBuffers(c, j);
        if (record.Active) RefreshPortForRecording(c, j);
    }

    if (!c.options.MonitorMode) {
        c.sending.StartSending();
        return;
    }
    state.FirstPhase = true;
    RunRecording(c);
}

void ClickStartButton(CaptureContext& c) {
    c.state.StartButton.Down = !c.state.StartButton.Down;
    SpeedButtonStartOnClick(c);
}

}  // namespace kestrum
