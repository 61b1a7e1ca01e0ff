#include "sender/tx_timer_tick.h"

#include <string>

#include "capture/capture_loop.h"
#include "sender/send_line.h"
#include "sender/sync_pacing.h"
#include "settings/hex_text_messages.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

// TxBusy for the length of a tick, also when the tick returns early.
class BusyTick {
public:
    explicit BusyTick(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyTick() { busy_ = false; }
    BusyTick(const BusyTick&) = delete;
    BusyTick& operator=(const BusyTick&) = delete;

private:
    bool& busy_;
};

// The index has gone past the last line: back to line 0. False when sending
// ends here (no auto repeat).
bool PassEnded(SenderContext& c) {
    c.state.TxLineIndex = 0;
    if (c.capture.options.SenderModeAutoRepeat) return true;
    EndSending(c);
    c.capture.pump.ProcessMessages();
    return false;
}

// The bytes of `line` (its comment already cut off) by the display mode.
// False when it is not hex text; the message has been shown.
bool LineBytes(SenderContext& c, std::string_view line, std::string& bytes) {
    const Options& options = c.capture.options;
    switch (options.LogMode) {
    case LogMode::Ascii:
        bytes = AsciiSendBytes(line, options);
        return true;
    case LogMode::Hex:
        return HexTextToBytes(HexSendText(line), bytes,
                              HexTextMessages{&c.capture.messages, c.capture.dialogOrigin, options.Language,
                                              c.capture.exeBaseName});
    }
    bytes.assign(line);
    return true;
}

// Writes the bytes to the sender port. False when sending has to end
// because the port has gone (the message has been shown).
bool WriteToSenderPort(SenderContext& c, const std::string& bytes) {
    CaptureContext& capture = c.capture;
    const ChannelRecord& record = capture.channels.Channel(capture.options.SenderChannel);
    if (WriteWhole(capture.ports, record.Handle, bytes)) return true;
    CommConfig present;
    if (!capture.ports.GetDefaultCommConfig(record.PortName, present)) {
        const std::string text = LanguageText(kTextSendingPortGone, capture.options.Language, record.PortName);
        EndSending(c);
        capture.messages.Beep(MessageKind::Error);
        capture.messages.Show(MessageKind::Error, capture.exeBaseName, text, capture.dialogOrigin);
        return false;
    }
    if (!c.state.WriteFailedThisRun) capture.messages.Beep(MessageKind::Error);
    c.state.WriteFailedThisRun = true;
    return true;
}

}  // namespace

void StartSending(SenderContext& c) {
    c.state.TxLineCount = c.capture.field.LineCount();
    c.state.TxLineIndex = 0;
    c.state.TxBusy = false;
    c.state.WriteFailedThisRun = false;
    c.txTimer.SetInterval(c.capture.options.TxTimeInterval);
    c.txTimer.SetEnabled(true);
}

void StopSending(SenderContext& c) { c.txTimer.SetEnabled(false); }

void EndSending(SenderContext& c) {
    c.capture.state.StartButton.Down = false;
    SpeedButtonStartOnClick(c.capture);
}

void TxTimerOnTimer(SenderContext& c) {
    SenderState& state = c.state;
    if (state.TxBusy) return;
    const Options& options = c.capture.options;
    ProtocolField& field = c.capture.field;
    state.TxLineCount = field.LineCount();
    if (options.SenderChannel == -1 || state.TxLineCount < 1) return;
    BusyTick busy(state.TxBusy);

    // Lines deleted while sending: an index at or past the end ends the pass.
    if (state.TxLineIndex >= state.TxLineCount && !PassEnded(c)) return;
    // The line to send: comment lines are skipped within this tick; a new
    // pass starts with the pacing between instances.
    std::string line;
    std::string_view text;
    for (int skipped = 0;;) {
        if (state.TxLineIndex == 0) {
            if (!SynchroniseAtPassStart(c)) return;
            // Messages went through while a follower waited: the protocol
            // or the sender channel may have changed.
            state.TxLineCount = field.LineCount();
            if (options.SenderChannel == -1 || state.TxLineCount < 1) return;
        }
        line = field.LineText(state.TxLineIndex);
        bool comment = false;
        text = StripComment(line, options.CommentDelimiter, comment);
        if (!comment || !text.empty()) break;
        ++state.TxLineIndex;
        ++skipped;
        if (state.TxLineIndex >= state.TxLineCount && !PassEnded(c)) return;
        // A protocol of nothing but comments: give up for this tick.
        if (skipped >= state.TxLineCount) return;
    }

    // Bytes by the display mode; a line that is not hex text ends sending
    // and the index stays on it.
    std::string bytes;
    if (!LineBytes(c, text, bytes)) {
        EndSending(c);
        return;
    }
    if (!bytes.empty() && !WriteToSenderPort(c, bytes)) return;

    // The line counts as sent, also when the write failed.
    ++state.TxLineIndex;
    if (state.TxLineIndex >= state.TxLineCount) PassEnded(c);
    // A follower's tick after the last line comes after half an interval, so
    // that its wait for the master's next pass begins in time.
    if (WaitsForMaster(c) && state.TxLineIndex == 0) {
        const std::uint32_t half = options.TxTimeInterval / 2;
        if (options.TxTimeInterval != 0) c.txTimer.SetInterval(half > 0 ? half : 1);
    }
}

}  // namespace kestrum
