#pragma once
// The Settings items whose work is a dialog: background colour, comment
// delimiter, bytes per hex dump line, history length and printer settings.

#include <functional>
#include <string>
#include <string_view>

#include "base/command_table.h"
#include "platform/printer.h"
#include "platform/settings_dialogs.h"
#include "settings/commands/settings_menu.h"

namespace kestrum {

// What those dialogs need besides the settings commands' context.
struct SettingsDialogServices {
    SettingsDialogs& Dialogs;
    kestrum::Printer& Printer;
    const std::string& ExeBaseName;  // dialog captions
};

// The handler of the item whose name ends in `suffix` (after
// "MainMenuSettings" or "RichEditPopupMenu"), or an empty function for any
// other item or while `context` has no dialog services:
// - BackgroundColor: the colour dialog preset with BackgroundColor; the
//   colour it returns (the old one on cancel) becomes BackgroundColor and
//   the protocol's background;
// - CommentDelimiter: an input box " <ExeBaseName>", "Comment delimiter:"
//   with CommentDelimiter; OK stores the text as typed, also empty;
// - HexLineByteCount: TFormGetIntValue with 1..255; OK stores the value
//   (clamped again) and rebuilds the hex line width and its padding;
// - InputLineMaxHistoryCount: TFormGetIntValue with 4..64, the menu item's
//   caption as its label; OK stores the value (clamped again);
// - Printer: MainMenuSettingsPrinterOnClick.
// Cancel leaves every option as it was. Errors raised on the way go to the
// caller, which shows them in the standard error box; an option is only
// changed after its dialog returned.
std::function<void(const CommandCall&)> SettingsDialogCommand(std::string_view suffix, SettingsCommandContext& context);

}  // namespace kestrum
