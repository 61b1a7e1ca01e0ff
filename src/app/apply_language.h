#pragma once
// Switching every text of the main window to a language.

#include <string>

#include "base/main_view.h"
#include "capture/recording_state.h"
#include "capture/start_button.h"
#include "base/channel_table.h"
#include "settings/options.h"

namespace kestrum {

// What the texts depend on besides the options and the channel table.
struct LanguageContext {
    bool IsMaster = true;
    std::string ExeBaseName;
    std::string ExeDirectory;
    std::string ProtocolFileTitle;  // file name and extension of the current mode
};

// " " + ExeBaseName + " - " + file name and extension.
std::string MainWindowCaption(const std::string& exeBaseName, const std::string& protocolFileTitle);

// The hints of the eight channel buttons from their state.
void RefreshChannelHints(MainView& view, const ChannelTable& channels, int language);

// Applies `options.Language` to the Start button, channel hints, button
// captions and hints, window caption, the value dialog's cancel caption, every
// menu caption (the COM2..COM8 submenus and the pop-up twins follow COM1 and
// the Settings menu) and the help file path. A recording in progress keeps
// its Start button down and captioned "Stop"; a full protocol keeps it
// disabled.
void ApplyLanguage(MainView& view, StartButtonView& startButton, const RecordingState& recording,
                   const Options& options, const ChannelTable& channels, const LanguageContext& context);

// Captions that never change: the font items, the language items, the
// channel submenus and the mode and display buttons.
void SetFixedCaptions(MainView& view);

}  // namespace kestrum
