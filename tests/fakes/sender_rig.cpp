#include "fakes/sender_rig.h"

#include "capture/capture_loop.h"
#include "sender/input_line_history.h"
#include "sender/tx_timer_tick.h"

namespace kestrum::fakes {

void ScriptedInputLine::TypeAndOk(const std::string& typed) {
    Replies.push_back([this, typed](std::string& text, std::vector<std::string>& items) {
        text = typed;
        AddInputLineToHistory(items, text, maxCount_);
        return InputLineOutcome{false, false};
    });
}

void ScriptedInputLine::Ok() {
    Replies.push_back([this](std::string& text, std::vector<std::string>& items) {
        AddInputLineToHistory(items, text, maxCount_);
        if (text.empty() && !items.empty() && items.front() == kNullString) text.clear();
        return InputLineOutcome{false, false};
    });
}

void ScriptedInputLine::Cancel() {
    Replies.push_back([](std::string&, std::vector<std::string>&) { return InputLineOutcome{}; });
}

void ScriptedInputLine::ClearHistoryThenOk(const std::string& typed, bool typesAfter) {
    Replies.push_back([this, typed, typesAfter](std::string& text, std::vector<std::string>& items) {
        items.clear();
        text = typed;
        AddInputLineToHistory(items, text, maxCount_);
        return InputLineOutcome{false, !typesAfter};
    });
}

InputLineOutcome ScriptedInputLine::GetInputLine(const InputLineRequest& request, std::string& text,
                                                 std::vector<std::string>& list, int& count, int maxCount) {
    maxCount_ = maxCount;
    std::vector<std::string> items(list.begin(), list.begin() + count);
    // The field shows the kept text, else the newest entry that is not the
    // placeholder for nothing.
    std::string field = request.KeepText ? text
                        : (!items.empty() && items.front() != kNullString ? items.front() : std::string());
    Shown.push_back({request, field, items});
    if (Replies.empty()) return {};
    const Reply reply = Replies.front();
    Replies.pop_front();
    const InputLineOutcome outcome = reply(field, items);
    if (outcome.Cancelled) return outcome;
    if (request.MaxLength > 0 && field.size() > static_cast<std::size_t>(request.MaxLength)) field.resize(static_cast<std::size_t>(request.MaxLength));
    count = static_cast<int>(items.size());
    list.assign(static_cast<std::size_t>(std::max(count, maxCount)), std::string());
    std::copy(items.begin(), items.end(), list.begin());
    text = field;
    return outcome;
}

void SenderRig::SenderMode(const std::vector<std::string>& lines, int channel) {
    options.MonitorMode = false;
    options.SenderMode = true;
    options.SenderChannel = channel;
    if (channel > 0) OpenChannel(channel);
    field.Lines.clear();
    for (const std::string& line : lines) field.AppendLine(line);
}

void SenderRig::StartSending() {
    state.StartButton.Down = true;
    SpeedButtonStartOnClick(capture);
}

void SenderRig::Ticks(int count) {
    for (int i = 0; i < count && timer.On; ++i) TxTimerOnTimer(senderCtx);
}

std::string SenderRig::Sent(int n) {
    return ports.Port(channels.Channel(n).PortName).Sent;
}

void SenderRig::Follower(int number, bool synchronize) {
    instance = InstanceInfo{number, false};
    options.Synchronize = synchronize;
}

}  // namespace kestrum::fakes
