#include "settings/settings_menu.h"

#include <string>

#include "settings/language_texts.h"

namespace kestrum {
namespace {

constexpr std::string_view kMainPrefix = "MainMenuSettings";
constexpr std::string_view kPopupPrefix = "RichEditPopupMenu";

void SetBoth(MainView& view, std::string_view suffix, bool MenuItemView::*field, bool value) {
    view.Item(std::string(kMainPrefix) + std::string(suffix)).*field = value;
    view.Item(std::string(kPopupPrefix) + std::string(suffix)).*field = value;
}

void Store(SettingsCommandContext& context, bool Options::*field, bool checked) {
    context.options.*field = checked;
}

}  // namespace

void ApplySettingsMenuEnabling(MainView& view, const Options& options, const ChannelTable& channels,
                               bool printerPresent) {
    const bool monitor = options.MonitorMode;
    const bool sender = !options.MonitorMode;
    const bool ascii = options.LogMode == 1;
    const bool hex = options.LogMode == 2;
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        view.Item("MainMenuSettingsChannel" + std::to_string(n)).Enabled = channels.Channels[n].Installed;
    const auto rule = [&](std::initializer_list<std::string_view> suffixes, bool enabled) {
        for (std::string_view suffix : suffixes) SetBoth(view, suffix, &MenuItemView::Enabled, enabled);
    };
    rule({"CommentDelimiter", "SenderModeAutoRepeat"}, sender);
    rule({"ShowTriggerWords", "ShowStartStopTime", "ShowTimeTags", "ShowChannelID"}, monitor);
    rule({"LineWrap", "DumpOnCrChar", "DumpOnLfChar", "ShowCrChar", "ShowLfChar"}, monitor && ascii);
    rule({"SendCrStrAsCrChar", "SendLfStrAsLfChar", "AppendCrChar", "AppendLfChar"}, ascii);
    rule({"HexLineByteCount"}, monitor && hex);
    rule({"UserFont", "AllFonts", "FontFixedPitchOnly", "BackgroundColor"}, true);
    for (const char* item : {"MainMenuSettingsAutoDetectDeviceChanges", "MainMenuSettingsInputLineMaxHistoryCount",
                             "MainMenuSettingsHighlightInputLine", "MainMenuSettingsLanguageEnglish",
                             "MainMenuSettingsLanguageGerman", "MainMenuSettingsSaveSettings"})
        view.Item(item).Enabled = true;
    view.Item("MainMenuSettingsPrinter").Enabled = printerPresent;
    view.Changed();
}

void SetSettingsMenuChecks(MainView& view, const Options& options) {
    for (const OptionToggle& toggle : OptionToggles()) {
        const bool value = options.*toggle.Field;
        view.Item(std::string(kMainPrefix) + std::string(toggle.Suffix)).Checked = value;
        if (toggle.HasPopupTwin)
            view.Item(std::string(kPopupPrefix) + std::string(toggle.Suffix)).Checked = value;
    }
    view.Item("MainMenuSettingsLanguageEnglish").Checked = options.Language != kLanguageGerman;
    view.Item("MainMenuSettingsLanguageGerman").Checked = options.Language == kLanguageGerman;
    view.Changed();
}

void MainMenuSettingsOnClick(MainView& view, const Options& options, const ChannelTable& channels,
                             bool printerPresent) {
    ApplySettingsMenuEnabling(view, options, channels, printerPresent);
    SetSettingsMenuChecks(view, options);
}

void MainMenuSettingsFontFixedPitchOnlyOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::FontFixedPitchOnly, checked);
}
void MainMenuSettingsAutoDetectDeviceChangesOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::AutoDetectDeviceChanges, checked);
}
void MainMenuSettingsLineWrapOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::LineWrap, checked);
    UpdateMaxLineLength(c.layout, c.options, c.channels, c.field);
}
void MainMenuSettingsShowTriggerWordsOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::ShowTriggerWords, checked);
}
void MainMenuSettingsShowStartStopTimeOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::ShowStartStopTime, checked);
}
void MainMenuSettingsShowTimeTagsOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::ShowTimeTags, checked);
}
void MainMenuSettingsShowChannelIdOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::ShowChannelId, checked);
}
void MainMenuSettingsDumpOnCrCharOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::DumpOnCr, checked);
    SetBoth(c.view, "DumpOnCrChar", &MenuItemView::Checked, checked);
    c.view.Changed();
}
void MainMenuSettingsDumpOnLfCharOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::DumpOnLf, checked);
}
void MainMenuSettingsShowCrCharOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::ShowCrChar, checked);
}
void MainMenuSettingsShowLfCharOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::ShowLfChar, checked);
}
void MainMenuSettingsSendCrStrAsCrCharOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::SendCrStrAsCrChar, checked);
}
void MainMenuSettingsSendLfStrAsLfCharOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::SendLfStrAsLfChar, checked);
}
void MainMenuSettingsAppendCrCharOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::AppendCrChar, checked);
}
void MainMenuSettingsAppendLfCharOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::AppendLfChar, checked);
}
void MainMenuSettingsSenderModeAutoRepeatOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::SenderModeAutoRepeat, checked);
}
void MainMenuSettingsHighlightInputLineOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::HighlightInputLine, checked);
}
void MainMenuSettingsSaveSettingsOnClick(SettingsCommandContext& c, bool checked) {
    Store(c, &Options::SaveSettings, checked);
}

const std::vector<OptionToggle>& OptionToggles() {
    static const std::vector<OptionToggle> kToggles = {
        {"FontFixedPitchOnly", &Options::FontFixedPitchOnly, true, MainMenuSettingsFontFixedPitchOnlyOnClick},
        {"AutoDetectDeviceChanges", &Options::AutoDetectDeviceChanges, false,
         MainMenuSettingsAutoDetectDeviceChangesOnClick},
        {"LineWrap", &Options::LineWrap, true, MainMenuSettingsLineWrapOnClick},
        {"ShowTriggerWords", &Options::ShowTriggerWords, true, MainMenuSettingsShowTriggerWordsOnClick},
        {"ShowStartStopTime", &Options::ShowStartStopTime, true, MainMenuSettingsShowStartStopTimeOnClick},
        {"ShowTimeTags", &Options::ShowTimeTags, true, MainMenuSettingsShowTimeTagsOnClick},
        {"ShowChannelID", &Options::ShowChannelId, true, MainMenuSettingsShowChannelIdOnClick},
        {"DumpOnCrChar", &Options::DumpOnCr, true, MainMenuSettingsDumpOnCrCharOnClick},
        {"DumpOnLfChar", &Options::DumpOnLf, true, MainMenuSettingsDumpOnLfCharOnClick},
        {"ShowCrChar", &Options::ShowCrChar, true, MainMenuSettingsShowCrCharOnClick},
        {"ShowLfChar", &Options::ShowLfChar, true, MainMenuSettingsShowLfCharOnClick},
        {"SendCrStrAsCrChar", &Options::SendCrStrAsCrChar, true, MainMenuSettingsSendCrStrAsCrCharOnClick},
        {"SendLfStrAsLfChar", &Options::SendLfStrAsLfChar, true, MainMenuSettingsSendLfStrAsLfCharOnClick},
        {"AppendCrChar", &Options::AppendCrChar, true, MainMenuSettingsAppendCrCharOnClick},
        {"AppendLfChar", &Options::AppendLfChar, true, MainMenuSettingsAppendLfCharOnClick},
        {"SenderModeAutoRepeat", &Options::SenderModeAutoRepeat, true,
         MainMenuSettingsSenderModeAutoRepeatOnClick},
        {"HighlightInputLine", &Options::HighlightInputLine, false, MainMenuSettingsHighlightInputLineOnClick},
        {"SaveSettings", &Options::SaveSettings, false, MainMenuSettingsSaveSettingsOnClick},
    };
    return kToggles;
}

const OptionToggle* FindOptionToggle(std::string_view itemName) {
    std::string_view suffix;
    bool popup = false;
    if (itemName.substr(0, kMainPrefix.size()) == kMainPrefix) {
        suffix = itemName.substr(kMainPrefix.size());
    } else if (itemName.substr(0, kPopupPrefix.size()) == kPopupPrefix) {
        suffix = itemName.substr(kPopupPrefix.size());
        popup = true;
    } else {
        return nullptr;
    }
    for (const OptionToggle& toggle : OptionToggles()) {
        if (toggle.Suffix == suffix && (!popup || toggle.HasPopupTwin)) return &toggle;
    }
    return nullptr;
}

}  // namespace kestrum
