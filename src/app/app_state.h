#pragma once
// The program's state: one object, owned for the whole run and handed by
// reference to the code that uses it; it outlives the window's widgets.

#include <string>

#include "app/startup.h"
#include "app/window_geometry.h"
#include "base/main_view.h"
#include "capture/capture_context.h"
#include "channels/channel_commands.h"
#include "document/edit_commands.h"
#include "document/protocol_files.h"
#include "document/print_commands.h"
#include "sender/sender_state.h"

namespace kestrum {

struct AppState {
    // Fixed at start-up (locale, instance, files), and the settings with the
    // channel table.
    StartupState Startup;
    // Recording: the Start button, line records, protocol clock, line layout.
    CaptureState Capture;
    // Sending: sender mode's position, the sync event, manual-send lines.
    SenderState Sender;
    // The edit and search commands.
    EditState Edit;
    // The current protocol file of each mode.
    ProtocolFileState ProtocolFiles;
    // The channel pop-up menu: the channel it was shown for.
    ChannelMenuState ChannelMenus;
    // What the window's controls show, and its geometry.
    MainView View;
    WindowGeometry Geometry;
    std::string StartDirectory;  // the current folder when the window was created
    bool PrinterPresent = false;
    // The printer's orientation to give back at the end of the run.
    PrintState Print;

    Options& Settings() { return Startup.Settings; }
    const Options& Settings() const { return Startup.Settings; }
    ChannelTable& Channels() { return Startup.Channels; }
    const ChannelTable& Channels() const { return Startup.Channels; }
};

}  // namespace kestrum
