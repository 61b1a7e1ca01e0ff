#include "channels/channel_commands.h"

#include <string>

#include "channels/channel_button_click.h"
#include "channels/channel_button_hint.h"
#include "channels/channel_button_look.h"
#include "channels/channel_ids.h"
#include "channels/font_entries.h"
#include "channels/port_operations.h"
#include "channels/trigger_fields.h"
#include "channels/trigger_word_dialog.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

std::string SubmenuName(int n) { return "MainMenuSettingsChannel" + std::to_string(n); }

bool Installed(const ChannelCommandContext& c, int n) { return IsChannel(n) && c.channels.Channel(n).Installed; }

void ShowUnderline(ChannelCommandContext& c, int n) {
    c.view.ChannelButton(n).Underline = c.options.MonitorMode && ChannelButtonLookOf(c.channels, n).Underline;
    c.view.Changed();
}

// A row whose command takes its channel from the item's tag (the submenus)
// or from the pop-up (`popup`), enabled while that channel is installed.
Command ChannelRow(std::string name, ChannelCommandContext& c, bool popup, void (*run)(ChannelCommandContext&, int)) {
    Command command;
    command.Name = std::move(name);
    command.Run = [&c, popup, run](const CommandCall& call) { run(c, popup ? c.state.PopupChannel : call.Tag); };
    return command;
}

void AddSubmenu(CommandTable& table, ChannelCommandContext& c, int n) {
    const std::string submenu = SubmenuName(n);
    const auto installed = [&c, n] { return Installed(c, n); };
    Command menu;
    menu.Name = submenu;
    menu.Enabled = installed;
    table.Add(std::move(menu));
    const struct {
        const char* Suffix;
        void (*Run)(ChannelCommandContext&, int);
    } items[] = {
        {"Interface", ChannelInterfaceCommand}, {"Font", FontCommand},
        {"ID", ChannelIdCommand},               {"TriggerEnabled", ToggleTriggerCommand},
        {"TriggerOneShot", ToggleAutoResetCommand}, {"TriggerWord", TriggerWordDialog},
    };
    for (const auto& item : items) {
        Command row = ChannelRow(submenu + item.Suffix, c, false, item.Run);
        row.Enabled = installed;
        if (std::string_view(item.Suffix) == "TriggerEnabled")
            row.Checked = [&c, n] { return c.channels.Channel(n).TriggerEnabled; };
        if (std::string_view(item.Suffix) == "TriggerOneShot")
            row.Checked = [&c, n] { return c.channels.Channel(n).TriggerOneShot; };
        table.Add(std::move(row));
    }
}

void SendCommand(ChannelCommandContext& c, int n) {
    if (SendConditionHolds(c, n)) c.ManualSend(n);
}

}  // namespace

bool SendConditionHolds(const ChannelCommandContext& c, int n) {
    return IsChannel(n) && c.options.MonitorMode && c.channels.Channel(n).Active && c.running &&
           static_cast<bool>(c.ManualSend);
}

const std::string& SendFromChannelCaption(LogMode logMode, int language) {
    // [German][hex display]
    static const std::string kCaptions[2][2] = {
        {"&Send character string                       Ctrl+RMB",
         "&Send byte sequence                        Ctrl+RMB"},
        {"Zeichenfolge &senden                       Strg+RMT",
         "Bytefolge &senden                             Strg+RMT"},
    };
    return kCaptions[language == kLanguageGerman ? 1 : 0][logMode == LogMode::Hex ? 1 : 0];
}

void AddChannelCommands(CommandTable& table, ChannelCommandContext& c) {
    for (int n = kFirstChannel; n <= kLastChannel; ++n) AddSubmenu(table, c, n);

    const auto popupInstalled = [&c] { return Installed(c, c.state.PopupChannel); };
    const auto popupRecord = [&c]() -> const ChannelRecord& { return c.channels.Channel(c.state.PopupChannel); };
    const struct {
        const char* Name;
        void (*Run)(ChannelCommandContext&, int);
    } items[] = {
        {"ChannelPopupMenuInterface", ChannelInterfaceCommand},
        {"ChannelPopupMenuFont", FontCommand},
        {"ChannelPopupMenuChannelID", ChannelIdCommand},
        {"ChannelPopupMenuTrigger", ToggleTriggerCommand},
        {"ChannelPopupMenuTriggerOneShot", ToggleAutoResetCommand},
        {"ChannelPopupMenuTriggerWord", TriggerWordDialog},
    };
    for (const auto& item : items) {
        Command row = ChannelRow(item.Name, c, true, item.Run);
        row.Enabled = popupInstalled;
        if (std::string_view(item.Name) == "ChannelPopupMenuTrigger")
            row.Checked = [popupInstalled, popupRecord] { return popupInstalled() && popupRecord().TriggerEnabled; };
        if (std::string_view(item.Name) == "ChannelPopupMenuTriggerOneShot")
            row.Checked = [popupInstalled, popupRecord] { return popupInstalled() && popupRecord().TriggerOneShot; };
        table.Add(std::move(row));
    }
    Command send = ChannelRow("ChannelPopupMenuSendFromChannel", c, true, SendCommand);
    send.Enabled = [&c] { return SendConditionHolds(c, c.state.PopupChannel); };
    table.Add(std::move(send));
}

bool SpeedButtonChannelOnMouseDown(ChannelCommandContext& c, int n, MouseButton button, KeyModifiers keys) {
    if (!IsChannel(n)) return false;
    switch (ChannelChordOf(button, keys, c.options.MonitorMode)) {
        case ChannelChord::None:
            return false;
        case ChannelChord::ShowPopupMenu: {
            c.state.PopupChannel = n;
            const ChannelRecord& record = c.channels.Channel(n);
            MenuItemView& sendItem = c.view.Item("ChannelPopupMenuSendFromChannel");
            sendItem.Caption = SendFromChannelCaption(c.options.LogMode, c.options.Language);
            sendItem.Enabled = SendConditionHolds(c, n);
            c.view.Item("ChannelPopupMenuTrigger").Checked = record.TriggerEnabled;
            c.view.Item("ChannelPopupMenuTriggerOneShot").Checked = record.TriggerOneShot;
            c.view.Changed();
            return true;
        }
        case ChannelChord::ConfigurationDialog:
            ChannelInterfaceCommand(c, n);
            return false;
        case ChannelChord::ToggleAutoReset:
            ToggleAutoResetCommand(c, n);
            return false;
        case ChannelChord::ToggleTrigger:
            ToggleTriggerCommand(c, n);
            return false;
        case ChannelChord::TriggerWordDialog:
            TriggerWordDialog(c, n);
            return false;
        case ChannelChord::SendOrBeep:
            if (SendConditionHolds(c, n)) c.ManualSend(n);
            else c.messages.Beep(MessageKind::Error);
            return false;
        case ChannelChord::Send:
            SendCommand(c, n);
            return false;
        case ChannelChord::FontDialog:
            FontCommand(c, n);
            return false;
        case ChannelChord::ChannelIdDialog:
            ChannelIdCommand(c, n);
            return false;
    }
    return false;
}

void ChannelInterfaceCommand(ChannelCommandContext& c, int n) {
    if (!Installed(c, n) || c.portDialog == nullptr) return;
    const PortDialogOutcome outcome = PortConfigurationDialog(c.channels, n, c.ports, *c.portDialog);
    if (!outcome.Shown) return;
    if (outcome.DeviceChanged) {
        ShowChannelButton(c.view, c.channels, c.options, n);
        if (c.DevicesChanged) c.DevicesChanged();
    }
    RebuildAllChannelHints(c.view, c.channels, c.options.Language);
}

void FontCommand(ChannelCommandContext& c, int entry) {
    if (!IsEntry(entry) || c.fontDialog == nullptr) return;
    if (IsChannel(entry) && !c.channels.Channel(entry).Installed) return;
    FontEntry& font = c.channels.Font(entry);
    const bool master = entry == kMasterEntry;
    FontChoice choice{font.FontName, font.FontSize, font.FontStyle, font.FontColor};
    const FontDialogOptions options{c.options.FontFixedPitchOnly, !master, c.options.Language};
    if (!c.fontDialog->ChooseFont(choice, options)) return;
    font.FontName = choice.Name;
    if (choice.Size > 0) font.FontSize = choice.Size;
    SetEntryFontStyle(c.channels, entry, choice.Style);
    if (master) {
        ApplyMasterFont(c.channels);
        c.field.SetDefaultAttributes(FontEntryAttributes(font));
    } else {
        font.FontColor = choice.Color;
        c.field.SetAppendAttributes(FontEntryAttributes(font));
        if (IsChannel(entry)) {
            c.view.ChannelButton(entry).CaptionColour = ButtonCaptionColour(font.FontColor);
            c.view.Changed();
        }
    }
    if (c.LineLengthChanged) c.LineLengthChanged();
}

void ChannelIdCommand(ChannelCommandContext& c, int n) {
    if (!Installed(c, n) || c.inputBox == nullptr) return;
    const ChannelRecord& record = c.channels.Channel(n);
    std::string id = record.ChannelID;
    const std::string prompt = LanguageText(kTextChannelIdFor, c.options.Language) + record.PortName + ":";
    if (!c.inputBox->InputQuery(" " + c.exeBaseName, prompt, id, c.dialogOrigin)) return;
    ChangeChannelId(c.channels, n, id);
    RebuildAllChannelHints(c.view, c.channels, c.options.Language);
    c.options.ShowChannelId = true;
}

void ToggleTriggerCommand(ChannelCommandContext& c, int n) {
    if (!IsChannel(n)) return;
    ChannelRecord& record = c.channels.Channel(n);
    SetTriggerEnabled(record, !record.TriggerEnabled);
    ShowUnderline(c, n);
}

void ToggleAutoResetCommand(ChannelCommandContext& c, int n) {
    if (!IsChannel(n)) return;
    ChannelRecord& record = c.channels.Channel(n);
    record.TriggerOneShot = !record.TriggerOneShot;
}

}  // namespace kestrum
