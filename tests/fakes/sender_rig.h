#pragma once
// The sending side wired to fakes over a CaptureRig: the Start button's
// sending steps go to the sender (SenderHooks), TxTimer is a fake that
// records its settings, the sync event is in memory, and the manual-send
// dialog answers from a script.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "fakes/capture_rig.h"
#include "fakes/fake_sync_events.h"
#include "platform/interval_timer.h"
#include "sender/input_line_dialog.h"
#include "sender/sender_context.h"
#include "sender/sender_hooks.h"

namespace kestrum::fakes {

class FakeIntervalTimer : public IntervalTimer {
public:
    std::uint32_t Value = 1000;
    bool On = false;
    std::vector<std::uint32_t> IntervalsSet;  // every SetInterval, in order

    void SetHandler(std::function<void()>) override {}
    void SetInterval(std::uint32_t milliseconds) override {
        Value = milliseconds;
        IntervalsSet.push_back(milliseconds);
    }
    std::uint32_t Interval() const override { return Value; }
    void SetEnabled(bool enabled) override { On = enabled; }
    bool Enabled() const override { return On; }
};

// Answers each showing of the dialog with the next scripted reply, and keeps
// what it was shown.
class ScriptedInputLine : public InputLineDialog {
public:
    struct Showing {
        InputLineRequest Request;
        std::string Text;                 // the text it was given
        std::vector<std::string> List;    // the entries it was given
    };
    // A reply works on the list and text as the user would; returns the outcome.
    using Reply = std::function<InputLineOutcome(std::string& text, std::vector<std::string>& items)>;
    std::vector<Showing> Shown;
    std::deque<Reply> Replies;  // no reply left: Cancel

    // The user types `text` (over what the field shows) and presses OK.
    void TypeAndOk(const std::string& text);
    // The user takes the proposed text and presses OK.
    void Ok();
    void Cancel();
    // Clear History, then OK (with `typed` typed after it, if any).
    void ClearHistoryThenOk(const std::string& typed = {}, bool typesAfter = false);

    InputLineOutcome GetInputLine(const InputLineRequest& request, std::string& text, std::vector<std::string>& list,
                                  int& count, int maxCount) override;

private:
    int maxCount_ = 0;
};

struct SenderRig : CaptureRig {
    FakeIntervalTimer timer;
    FakeSyncEvents syncEvents;
    ScriptedInputLine dialog;
    MainView view;
    InstanceInfo instance{1, true};
    SenderState sender;
    std::vector<std::string> captionUpdates;
    SenderHooks senderHooks{&senderCtx};
    CaptureContext capture{options, channels, field, ports, clock, pump, pollTimer, messages,
                           locale,  senderHooks, hooks, state, dialogOrigin, exeBaseName};
    SenderContext senderCtx{capture, sender, view, instance, timer, syncEvents, dialog,
                            [this] { captionUpdates.push_back("caption"); }};

    // Sender mode, the protocol lines in the field, channel `channel` open
    // as the sender channel.
    void SenderMode(const std::vector<std::string>& lines, int channel = 1);
    // Presses Start (sender mode: the timer is enabled).
    void StartSending();
    // `count` ticks of TxTimer while it is enabled.
    void Ticks(int count);
    // What went out of channel n's port.
    std::string Sent(int n = 1);
    // A second instance (number `number`) with Synchronize.
    void Follower(int number = 2, bool synchronize = true);
};

}  // namespace kestrum::fakes
