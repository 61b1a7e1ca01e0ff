#include "channels/channel_button_click.h"

#include "channels/channel_button_hint.h"
#include "channels/channel_button_look.h"
#include "channels/port_operations.h"
#include "channels/trigger_fields.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

constexpr const char* kHandlerName = "SpeedButtonChannelOnClick: ";

void ShowLook(MainView& view, const ChannelTable& channels, const Options& options, int n) {
    const ChannelButtonLook look = ChannelButtonLookOf(channels, n);
    ChannelButtonView& button = view.ChannelButton(n);
    button.Caption = look.Caption;
    button.CaptionColour = look.CaptionColour;
    button.Underline = options.MonitorMode && look.Underline;
    button.Down = channels.Channel(n).Active;
}

void ReportFailedOpen(ChannelClickContext& c, const ChannelRecord& record) {
    const int language = c.options.Language;
    std::string text;
    if (record.LastOpenFailure == OpenFailure::NoPermission) {
        const std::string group = c.deviceGroup ? c.deviceGroup(record.Device) : std::string();
        text = NoPermissionText(record.PortName, record.Device, group, language);
    } else if (record.LastOpenFailure != OpenFailure::HeldElsewhere) {
        text = OpenFailedText(record.PortName, record.Device, record.LastOpenError, language);
    } else {
        text = LanguageText(kTextPortOpenedByOther, language, record.PortName);
    }
    c.messages.Beep(MessageKind::Error);
    c.messages.Show(MessageKind::Error, c.exeBaseName, kHandlerName + text, c.dialogOrigin);
}

}  // namespace

std::string NoPermissionText(const std::string& portName, const std::string& device,
                             const std::string& group, int language) {
    std::string text;
    if (language == kLanguageGerman) {
        text = "Keine Berechtigung f\xFCr die " + portName + "-Schnittstelle (" + device + ").";
        if (!group.empty())
            text += "\rZugriff haben die Mitglieder der Gruppe \"" + group + "\".";
    } else {
        text = "No permission to open the " + portName + " port (" + device + ").";
        if (!group.empty())
            text += "\rAccess is granted to the members of the group \"" + group + "\".";
    }
    return text;
}

std::string OpenFailedText(const std::string& portName, const std::string& device,
                           const std::string& systemText, int language) {
    std::string text = language == kLanguageGerman
                           ? "Die " + portName + "-Schnittstelle konnte nicht ge\xF6" "ffnet werden (" + device + ")."
                           : "The " + portName + " port could not be opened (" + device + ").";
    if (!systemText.empty()) text += "\r" + systemText;
    return text;
}

void SpeedButtonChannelOnClick(ChannelClickContext& c, int n, bool down) {
    if (n < kFirstChannel || n > kLastChannel) return;
    ChannelRecord& record = c.channels.Channel(n);
    const bool monitor = c.options.MonitorMode;
    record.Active = down;
    if (record.Active) {
        if (c.busyCursor) c.busyCursor(true);
        OpenPort(c.channels, n, c.ports);
        if (c.busyCursor) c.busyCursor(false);
        if (!record.Open) {
            const OpenFailure failure = record.LastOpenFailure;
            const std::string error = record.LastOpenError;
            PortPresenceTest(c.channels, n, c.ports);
            record.LastOpenFailure = failure;
            record.LastOpenError = error;
            if (record.Installed) ReportFailedOpen(c, record);
        }
        record.Active = record.Open;
        if (!monitor) {
            for (int other = kFirstChannel; other <= kLastChannel; ++other) {
                if (other == n) continue;
                ChannelRecord& otherRecord = c.channels.Channel(other);
                if (!otherRecord.Open) continue;
                ClosePort(c.channels, other, c.ports);
                otherRecord.Active = false;
                ShowLook(c.view, c.channels, c.options, other);
                c.view.ChannelButton(other).Hint =
                    ChannelButtonHint(otherRecord, c.options.Language);
            }
        }
    } else {
        ClosePort(c.channels, n, c.ports);
    }
    if (monitor) record.MonitorChannel = record.Active;
    if (monitor) SetTriggerEnabled(record, record.TriggerEnabled);
    ShowLook(c.view, c.channels, c.options, n);
    c.view.ChannelButton(n).Hint = ChannelClickHint(record, c.options.Language);
    if (!monitor) c.options.SenderChannel = record.Active ? n : -1;
    c.view.Changed();
}

void ShowChannelButton(MainView& view, const ChannelTable& channels, const Options& options, int n) {
    if (n < kFirstChannel || n > kLastChannel) return;
    const ChannelRecord& record = channels.Channel(n);
    ShowLook(view, channels, options, n);
    ChannelButtonView& button = view.ChannelButton(n);
    button.Enabled = record.Installed;
    button.GroupIndex = options.MonitorMode ? n : 1;
    button.Hint = ChannelButtonHint(record, options.Language);
    view.Changed();
}

}  // namespace kestrum
