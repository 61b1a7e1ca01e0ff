#pragma once
// The option commands of the Settings menu and their twins in the protocol's
// pop-up menu: the toggles, the language items and Save settings, with the
// enabling rules and check marks of every item of both menus. Twins share
// one handler.

#include <functional>

#include "base/channel_table.h"
#include "base/command_table.h"
#include "capture/line_layout.h"
#include "platform/protocol_field.h"
#include "settings/options.h"

namespace kestrum {

struct SettingsDialogServices;

// What the settings commands work on.
struct SettingsCommandContext {
    Options& options;
    LineLayout& layout;
    const ChannelTable& channels;
    ProtocolField& field;
    const bool& printerPresent;
    // Every text of the window in the language of the options.
    std::function<void()> applyLanguage;
    // The dialogs of the items whose work is a dialog; without them those
    // items stay disabled.
    SettingsDialogServices* dialogs = nullptr;
    // The font dialog of a font entry (0 user, 9 master), MaxLineLength
    // recomputed after it; empty: the font items stay disabled.
    std::function<void(int entry)> fontDialog = {};
};

// Adds the rows of the Settings menu's own items (not the channel submenus)
// and of their pop-up twins, and the Settings menu itself:
// - a toggle stores the clicked item's new check state in its option and
//   shows the option as its check mark; LineWrap also recomputes
//   MaxLineLength;
// - the language items store their tag (1 English, 2 German) in Language and
//   apply it; the one of Language is checked;
// - enabling: the display options (trigger words, start/stop time, time
//   tags, channel ID) in monitor mode; line wrap and the CR/LF display and
//   line-end options in monitor mode with ASCII display; the send options
//   for CR/LF with ASCII display; bytes per hex line in monitor mode with
//   hex display; comment delimiter and auto repeat in sender mode; Printer
//   with a printer; everything else always;
// - background colour, comment delimiter, bytes per hex line, history
//   length and printer settings run their dialogs (SettingsDialogCommand)
//   when the context has dialog services;
// - the font items (User-Font, tag 0; Master-Font, tag 9) open the font
//   dialog of the entry of their tag;
// - the dialog items without their dialog services are there with their
//   rules but stay disabled.
void AddSettingsCommands(CommandTable& table, SettingsCommandContext& context);

}  // namespace kestrum
