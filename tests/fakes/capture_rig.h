#pragma once
// The recording engine wired to fakes: options, channel table, fake field,
// ports, clock, pump and poll timer, and a context over them. Unit tests of
// the capture loop and the trigger phase script the user's actions through
// the pump.

#include <string>
#include <vector>

#include "capture/capture_context.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_message_pump.h"
#include "fakes/fake_poll_timer.h"
#include "fakes/fake_protocol_field.h"
#include "fakes/fake_serial_ports.h"
#include "fakes/recording_message_boxes.h"

namespace kestrum::fakes {

// Records the steps the engine hands to other parts of the program.
class RecordingHooksLog : public SendingHooks, public SearchHooks {
public:
    std::vector<std::string> Calls;
    bool EditSearchEnabled = true;
    void StartSending() override { Calls.push_back("StartSending"); }
    void StopSending() override { Calls.push_back("StopSending"); }
    void RestartFindAtBeginning() override { Calls.push_back("RestartFind"); }
    void CloseFindDialog() override { Calls.push_back("CloseFind"); }
    void SetEditSearchCommandsEnabled(bool enabled) override { EditSearchEnabled = enabled; }
    void ConvertLastInputLines(LogMode logMode) override {
        Calls.push_back("Convert" + std::to_string(static_cast<int>(logMode)));
    }
};

struct CaptureRig {
    Options options;
    ChannelTable channels;
    FakeProtocolField field;
    FakeSerialPorts ports;
    FakeClock clock;
    FakeMessagePump pump;
    FakePollTimer pollTimer{&clock};
    RecordingMessageBoxes messages;
    LocaleInfo locale;
    RecordingHooksLog hooks;
    CaptureState state;
    ScreenPoint dialogOrigin{40, 60};
    std::string exeBaseName = "Kestrum";
    CaptureContext ctx{options, channels, field,  ports,        clock,      pump,        pollTimer, messages,
                       locale,  hooks,    hooks, state, dialogOrigin, exeBaseName};

    // IDs padded, hex width set, protocol clock set up; a loop that runs
    // away is stopped.
    CaptureRig();

    // Channel n's port exists and is open; the channel is active.
    void OpenChannel(int n);
    void Feed(int n, const std::string& bytes);
    // Script: feeds `bytes` to channel n once the recording runs (after Start
    // has purged the ports).
    void FeedWhenRecording(int n, const std::string& bytes);
    // No port holds unread bytes.
    bool Drained();
    // Presses Start; returns when the recording has ended. FirstPhase is
    // cleared first, so that it marks the start of the recording run.
    void Start();
    // A click on the Start button while it is down (Stop).
    void ClickStop();
    // Script: once every fed byte is read, run `event`. It may run inside
    // the writing of a line.
    void WhenDrained(std::function<void()> event);
    // Script: once every fed byte is read and a pass has found every port
    // quiet (an idle wait), run `event`: at the start of a pass, with every
    // line the data has made written as far as it will be.
    void WhenQuiet(std::function<void()> event);
    // Script: once every fed byte is read, move the clock on by `seconds`.
    void AdvanceWhenDrained(double seconds);
    // Script: once quiet (WhenQuiet), Stop.
    void StopWhenDrained();
    // Texts of the field's lines without the start and stop lines.
    std::vector<std::string> DataLines() const;
};

}  // namespace kestrum::fakes
