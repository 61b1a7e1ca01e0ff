#include "app/apply_language.h"

#include "app/help_file_path.h"
#include "app/menu_layout.h"
#include "channels/channel_button_hint.h"
#include "settings/language_texts.h"

namespace kestrum {

std::string MainWindowCaption(const std::string& exeBaseName, const std::string& protocolFileTitle) {
    return " " + exeBaseName + " - " + protocolFileTitle;
}

void RefreshChannelHints(MainView& view, const ChannelTable& channels, int language) {
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        view.ChannelButton(n).Hint = ChannelButtonHint(channels.Channel(n), language);
    view.Changed();
}

void SetFixedCaptions(MainView& view) {
    for (const char* item : {"MainMenuSettingsUserFont", "RichEditPopupMenuUserFont", "MainMenuSettingsAllFonts",
                             "RichEditPopupMenuAllFonts", "MainMenuSettingsLanguageEnglish",
                             "MainMenuSettingsLanguageGerman"})
        view.Item(item).Caption = FixedCaption(item);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        const std::string item = "MainMenuSettingsChannel" + std::to_string(n);
        view.Item(item).Caption = FixedCaption(item);
    }
    view.Monitor.Caption = FixedCaption("SpeedButtonMonitor");
    view.Sender.Caption = FixedCaption("SpeedButtonSender");
    view.Asc.Caption = FixedCaption("SpeedButtonAsc");
    view.Hex.Caption = FixedCaption("SpeedButtonHex");
    view.Sync.Caption = FixedCaption("SpeedButtonSync");
    view.Trigger.Caption = FixedCaption("SpeedButtonTrigger");
    view.Changed();
}

void ApplyLanguage(MainView& view, StartButtonView& startButton, const RecordingState& recording,
                   const Options& options, const ChannelTable& channels, const LanguageContext& context) {
    const int language = options.Language;
    const bool monitor = options.MonitorMode;

    // 1. Start button. While recording it stays down as "Stop" (the run goes
    // on); a protocol that is full keeps it disabled until it is cleared.
    // (The button shows its texts by rows of the language table, so the
    // new language reaches it when the window copies the rows.)
    if (recording.Running) {
        startButton.Enabled = true;
        startButton.Down = true;
        ShowStartButtonText(startButton, true, monitor);
    } else {
        EnableStartButton(startButton, !recording.ProtocolFull, monitor);
    }

    // 2. Channel hints.
    RefreshChannelHints(view, channels, language);

    // 3. The other buttons.
    view.Clear.Caption = LanguageText(kTextClear, language);
    view.Clear.Hint = LanguageText(kTextClearProtocol, language);
    view.Monitor.Hint = LanguageText(kTextMonitorMode, language);
    view.Sender.Hint = LanguageText(kTextSenderMode, language);
    view.Asc.Hint = LanguageText(kTextAsciiProtocol, language);
    view.Hex.Hint = LanguageText(kTextHexDumpProtocol, language);
    view.Trigger.Hint = LanguageText(options.TriggerOn ? kTextDeactivateTrigger : kTextActivateTrigger, language);
    view.TxTimeInterval.Hint = LanguageText(kTextTxTimeInterval, language);
    view.UpDownTxTimeInterval.Hint = LanguageText(kTextSelectTxTimeInterval, language);
    int syncRow = kTextSyncDisabledMaster;
    if (!context.IsMaster) syncRow = options.Synchronize ? kTextDeactivateSync : kTextActivateSync;
    view.Sync.Hint = LanguageText(syncRow, language);

    // 4. Window caption; 5. the value dialog's cancel button.
    view.WindowCaption = MainWindowCaption(context.ExeBaseName, context.ProtocolFileTitle);
    view.CancelCaption = LanguageText(kTextCancel, language);

    // 6. Menu captions; 7. COM2..COM8 follow COM1.
    for (const MenuCaptionRow& row : MenuCaptions())
        view.Item(row.Item).Caption = language == kLanguageGerman ? row.German : row.English;
    for (int n = 2; n <= kLastChannel; ++n) {
        for (const std::string& suffix : ChannelSubmenuSuffixes())
            view.Item(ChannelMenuItem(n, suffix)).Caption = view.Item(ChannelMenuItem(1, suffix)).Caption;
    }
    // 8. The pop-up twins take the captions of the Settings menu.
    for (const MenuTwin& twin : SettingsMenuTwins())
        view.Item(twin.PopupItem).Caption = view.Item(twin.MainItem).Caption;

    // 9. Help file of the language.
    view.HelpFilePath = HelpFilePath(context.ExeDirectory, language);
    view.Changed();
}

}  // namespace kestrum
