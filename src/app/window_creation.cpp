#include "app/window_creation.h"

#include <algorithm>

#include "settings/language_texts.h"

namespace kestrum {

void NormaliseOptionsAtCreation(Options& options, const std::string& startDirectory) {
    for (ModeFileOptions* mode : {&options.Monitor, &options.Sender}) {
        mode->OpenDialogFilterIndex = std::clamp(mode->OpenDialogFilterIndex, 1, 3);
        mode->SaveDialogFilterIndex = std::clamp(mode->SaveDialogFilterIndex, 1, 3);
        if (!mode->ProtocolDirectoryPresent && mode->ProtocolDirectory.empty())
            mode->ProtocolDirectory = startDirectory;
    }
    if (options.PrinterOrientation > 1) options.PrinterOrientation = 1;
    if (options.PrinterOrientation < 0) options.PrinterOrientation = 0;
    if (options.Language != kLanguageEnglish && options.Language != kLanguageGerman)
        options.Language = kLanguageEnglish;
    options.SenderMode = !options.MonitorMode;
}

void SetUpModeControls(MainView& view, const Options& options, const InstanceInfo& instance) {
    const bool monitor = options.MonitorMode;
    view.ShowModeControls(monitor, instance.Number > 1);
    view.TxTimeInterval.Caption = std::to_string(options.TxTimeInterval);
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        view.ChannelButton(n).GroupIndex = monitor ? n : 1;
    view.Asc.Down = options.LogMode == LogMode::Ascii;
    view.Hex.Down = options.LogMode == LogMode::Hex;
    view.Trigger.Down = options.TriggerOn;
    view.Sync.Down = instance.Number > 1 && options.Synchronize;
    view.Sync.Enabled = instance.Number > 1;
    view.Changed();
}

std::string DefaultProtocolFileTitle(const Options& options) {
    const ModeFileOptions& mode = options.MonitorMode ? options.Monitor : options.Sender;
    switch (mode.SaveDialogFilterIndex) {
    case 1: return "Test.RTF";
    case 2: return "Test.TXT";
    default: return "Test";
    }
}

int ChannelSendShortcut(bool ctrlOnly, int digit, const Options& options, const ChannelTable& channels,
                        bool running) {
    if (!ctrlOnly || !options.MonitorMode || !running) return 0;
    if (digit < kFirstChannel || digit > kLastChannel) return 0;
    return channels.Channel(digit).Active ? digit : 0;
}

}  // namespace kestrum
