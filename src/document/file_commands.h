#pragma once
// The File menu's protocol commands: New, Open, Save and Save as, clearing
// the protocol and loading a file (also the one named on the command line).
//
// A load reads the whole file into a separate document first: a file that
// cannot be read, is no valid Rich Text or does not fit the protocol field
// changes nothing (neither the protocol nor the current file) and says why.
// A save writes a new file beside the old one and renames it over it, so a
// failure leaves the old file as it was. The format follows the file's
// extension: Rich Text for ".RTF" in any letter case, plain text otherwise.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/channel_table.h"
#include "base/command_table.h"
#include "base/main_view.h"
#include "capture/capture_context.h"
#include "capture/recording_state.h"
#include "document/file_dialogs.h"
#include "document/protocol_files.h"
#include "platform/locale_info.h"
#include "platform/message_box.h"
#include "platform/message_pump.h"
#include "platform/protocol_field.h"
#include "settings/options.h"

namespace kestrum {

struct FileCommandContext {
    Options& options;
    const ChannelTable& channels;  // the user's entry gives the typing attributes
    ProtocolFileState& files;
    ProtocolField& field;
    MessagePump& pump;
    MessageBoxes& messages;
    RecordingState& recording;
    StartButtonView& startButton;
    SendingHooks& sending;
    SearchHooks& search;
    const LocaleInfo& locale;
    const ScreenPoint& dialogOrigin;
    const std::string& exeBaseName;
    const SyncToDiskFunction& syncToDisk;
    ProtocolFileDialogs* dialogs;  // none: Open and Save as do nothing
    // UpdateWindowCaption: the caption shows the current mode's file.
    std::function<void()> updateWindowCaption;
    // SetWindowCursor: the hourglass (true) or the default cursor.
    std::function<void(bool hourglass)> setWindowCursor;
};

// Ends a recording or sending and empties the protocol: ClearRequest set
// and Running cleared, the Start button enabled and up, messages let
// through, ProtocolFull cleared, the field emptied with the user's entry as
// typing attributes, Select All/Find/Replace disabled, messages let through.
void ClearProtocol(FileCommandContext& c);

// Loads the file `path` into the protocol of the current mode. With
// `dialogFilterIndex` (the open dialog's filter) that index is remembered
// and its extension replaces the typed one (kept when equal but for letter
// case; an existing file whose extension differs only in case is taken).
// On success the mode's folder, name, extension and path become the file's
// and the caption shows it; on failure an exclamation beep and a message
// box tell why and nothing else changes. True when the file was loaded.
bool LoadProtocolFile(FileCommandContext& c, const std::string& path, std::optional<int> dialogFilterIndex);

// The protocol file named on the command line (`arguments` with the
// program first): the first argument, unless it is "/?", made absolute and
// loaded with its own extension deciding the format.
void LoadCommandLineFile(FileCommandContext& c, const std::vector<std::string>& arguments);

// File > New: ClearProtocol, the current mode's default file, the caption.
void MainMenuFileNewOnClick(FileCommandContext& c);
// File > Open: activity marker 4 while the dialog and the load run.
void MainMenuFileOpenOnClick(FileCommandContext& c);
// File > Save: writes the protocol to the current mode's file; activity
// marker 5 meanwhile. A failure throws std::runtime_error with the file's
// name and the system's reason (the standard error box shows it).
void MainMenuFileSaveOnClick(FileCommandContext& c);
// File > Save as: the save dialog, then the chosen file (extension by the
// filter as for Open) becomes the current one and the protocol is written
// to it. Activity marker 5 meanwhile; failures as for Save.
void MainMenuFileSaveAsOnClick(FileCommandContext& c);

// The File menu with New, Open, Save and Save as (Print comes with the
// printing commands): New and Open while nothing runs, Save and Save as when
// the protocol also has lines.
void AddFileCommands(CommandTable& table, FileCommandContext& c);

}  // namespace kestrum
