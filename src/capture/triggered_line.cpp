#include "capture/triggered_line.h"

#include "capture/channel_line_writer.h"
#include "capture/line_assembly.h"
#include "capture/trigger_phase.h"

namespace kestrum {

void StartTriggeredLine(CaptureContext& c, LogMode logMode) {
    const TriggerSnapshot& word = c.state.Recording.Trigger;
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(c.state.Recording.TriggeredChannel)];
    line.ByteTime = 0.0;
    if (logMode == LogMode::Hex) {
        line.Mode = LogMode::Hex;
        line.HexColumn.assign(c.state.Layout.HexBlankLine);
        line.HexColumn.overwrite(0, word.Word);
        const auto wordWidth = static_cast<std::size_t>(HexLineWidthFor(word.Length));
        if (line.HexColumn.size() < wordWidth) line.HexColumn.resize(wordWidth);
        line.CharColumn.assign(word.HexColumnText);
        line.HexByteCount = word.Length;
    } else {
        line.Mode = LogMode::Ascii;
        line.LineText.assign(word.DisplayText);
    }
}

bool AfterTriggerSteps(CaptureContext& c, LogMode logMode) {
    RecordingState& state = c.state.Recording;
    state.AfterTriggerDone = true;
    const int t = state.TriggeredChannel;
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(t)];
    StartTriggeredLine(c, logMode);

    bool endsLine = false;
    if (logMode == LogMode::Hex) {
        line.HexPrefix.clear();
        AppendLinePrefix(line.HexPrefix, c, t, 0.0);
        endsLine = state.Trigger.Length >= c.options.HexLineByteCount;
    } else {
        if (c.options.ShowChannelId) line.LineText.prepend(ChannelIdPrefix(c.channels, t));
        if (c.options.ShowTimeTags) line.LineText.prepend(FormatTimeTagFor(c, 0.0) + "  ");
        endsLine = !state.Trigger.Bytes.empty() && state.Trigger.Bytes.back() == '\n';
    }

    if (endsLine) {
        WriteChannelLine(c, t);
        line.LineClosed = true;
        line.LineStarted = false;
        return ShouldRearm(c, t);
    }
    line.Written = false;
    // Also in hex display with auto reset: the channel's next bytes continue
    // the trigger line instead of starting a new one that would drop it.
    line.LineStarted = true;
    line.LineDeadline = kLongPast;
    state.LastChannel = t;
    return false;
}

}  // namespace kestrum
