#pragma once
// The option commands of the Settings menu and their twins in the protocol's
// pop-up menu: enabling rules, check marks and the toggle handlers.

#include <string_view>
#include <vector>

#include "app/main_view.h"
#include "capture/line_layout.h"
#include "channels/channel_record.h"
#include "platform/protocol_field.h"
#include "settings/options.h"

namespace kestrum {

// Enabled states of both menus by mode, display mode, installed ports and
// printer (applied when a menu opens and once at window creation).
void ApplySettingsMenuEnabling(MainView& view, const Options& options, const ChannelTable& channels,
                               bool printerPresent);

// Check marks of every toggle item in both menus, of Save settings and of
// the language items, from the options.
void SetSettingsMenuChecks(MainView& view, const Options& options);

// The Settings menu or the protocol's pop-up menu opens: enabling rules,
// then the check marks.
void MainMenuSettingsOnClick(MainView& view, const Options& options, const ChannelTable& channels,
                             bool printerPresent);

// What a toggle handler works on.
struct SettingsCommandContext {
    Options& options;
    MainView& view;
    LineLayout& layout;
    const ChannelTable& channels;
    ProtocolField& field;
};

// Each handler stores the clicked item's new check state in its option.
void MainMenuSettingsFontFixedPitchOnlyOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsAutoDetectDeviceChangesOnClick(SettingsCommandContext& context, bool checked);
// Also recomputes MaxLineLength.
void MainMenuSettingsLineWrapOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsShowTriggerWordsOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsShowStartStopTimeOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsShowTimeTagsOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsShowChannelIdOnClick(SettingsCommandContext& context, bool checked);
// Also sets both items' check marks at once.
void MainMenuSettingsDumpOnCrCharOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsDumpOnLfCharOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsShowCrCharOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsShowLfCharOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsSendCrStrAsCrCharOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsSendLfStrAsLfCharOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsAppendCrCharOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsAppendLfCharOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsSenderModeAutoRepeatOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsHighlightInputLineOnClick(SettingsCommandContext& context, bool checked);
void MainMenuSettingsSaveSettingsOnClick(SettingsCommandContext& context, bool checked);

using OptionToggleHandler = void (*)(SettingsCommandContext&, bool);

// One toggle option: its item name after "MainMenuSettings" /
// "RichEditPopupMenu", the option, whether the pop-up has a twin, the handler.
struct OptionToggle {
    std::string_view Suffix;
    bool Options::*Field;
    bool HasPopupTwin;
    OptionToggleHandler Handler;
};
const std::vector<OptionToggle>& OptionToggles();

// The toggle behind a main-menu or pop-up item name; nullptr if none.
const OptionToggle* FindOptionToggle(std::string_view itemName);

}  // namespace kestrum
