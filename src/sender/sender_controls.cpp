#include "sender/sender_controls.h"

#include <algorithm>
#include <string>

#include "sender/tx_intervals.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

void ShowInterval(SenderContext& c) {
    c.view.TxTimeInterval.Caption = std::to_string(c.capture.options.TxTimeInterval);
    c.view.Changed();
}

}  // namespace

void SetUpSenderControls(SenderContext& c) {
    const Options& options = c.capture.options;
    c.txTimer.SetEnabled(false);
    c.txTimer.SetInterval(options.TxTimeInterval);
    ShowInterval(c);
    c.state.UpDownPosition = IntervalStepIndex(options.TxTimeInterval);
    c.state.PreviousMonitorMode = options.MonitorMode;
}

void SpeedButtonSyncOnClick(SenderContext& c) {
    Options& options = c.capture.options;
    options.Synchronize = !options.Synchronize;
    c.view.Sync.Down = options.Synchronize;
    c.view.Sync.Hint = LanguageText(options.Synchronize ? kTextDeactivateSync : kTextActivateSync, options.Language);
    c.view.Changed();
}

bool EditTxTimeIntervalOnKeyPress(char key) { return TxTimeIntervalKeyAccepted(key); }

void EditTxTimeIntervalOnChange(SenderContext& c, std::string_view text) {
    Options& options = c.capture.options;
    // The edit keeps what was typed; only the interval refuses it.
    c.view.TxTimeInterval.Caption.assign(text);
    c.view.Changed();
    if (const auto value = ParseTxTimeInterval(text))
        options.TxTimeInterval = *value;
    else
        c.capture.messages.Beep(MessageKind::Information);
    c.state.UpDownPosition = IntervalStepIndex(options.TxTimeInterval);
    c.txTimer.SetInterval(options.TxTimeInterval);
}

void UpDownTxTimeIntervalOnClick(SenderContext& c, int step) {
    const int last = static_cast<int>(kTxIntervalSteps.size()) - 1;
    c.state.UpDownPosition = std::clamp(c.state.UpDownPosition + step, 0, last);
    Options& options = c.capture.options;
    options.TxTimeInterval = kTxIntervalSteps[static_cast<std::size_t>(c.state.UpDownPosition)];
    c.txTimer.SetInterval(options.TxTimeInterval);
    ShowInterval(c);
}

}  // namespace kestrum
