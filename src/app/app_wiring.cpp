#include "app/app_wiring.h"

#include "app/app_commands.h"
#include "app/main_window_lifecycle.h"
#include "app/menu_layout.h"
#include "sender/manual_send.h"
#include "app/window_caption.h"
#include "app/window_creation.h"
#include "capture/capture_file_commands.h"
#include "capture/line_layout.h"

namespace kestrum {

AppWiring::AppWiring(AppState& state, const AppServices& services)
    : State(state),
      Services(services),
      Sending(&Sender),
      Search(state.Edit, services.FindDialogs),
      Capture{state.Settings(),
              state.Channels(),
              services.Field,
              services.Ports,
              services.Clock,
              services.Pump,
              services.PollTimer,
              services.Messages,
              state.Startup.Locale,
              Sending,
              Search,
              state.Capture,
              state.Geometry.DialogOrigin,
              state.Startup.Files.ExeBaseName},
      Sender{Capture,
             state.Sender,
             state.View,
             state.Startup.Instance,
             services.TxTimer ? *services.TxTimer : inertTimer_,
             services.SyncEvents ? *services.SyncEvents : inertSyncEvents_,
             services.InputLine ? *services.InputLine : cancelledInputLine_,
             [&state] { ApplyLanguageToWindow(state); }},
      ChannelClick{state.Settings(),
                   state.Channels(),
                   state.View,
                   services.Ports,
                   services.Messages,
                   state.Geometry.DialogOrigin,
                   state.Startup.Files.ExeBaseName,
                   services.DeviceGroup,
                   services.BusyCursor},
      ChannelCommands{state.Settings(),
                      state.Channels(),
                      state.View,
                      services.Ports,
                      services.Messages,
                      services.Field,
                      state.Geometry.DialogOrigin,
                      state.Startup.Files.ExeBaseName,
                      state.Capture.Recording.Running,
                      state.ChannelMenus,
                      services.PortSettings,
                      services.Fonts,
                      services.Input},
      DeviceChanges{state.Settings(), state.Channels(), state.View, services.Ports, services.DeviceTimer,
                    services.Watcher},
      SettingsCommands{state.Settings(), state.Capture.Layout, state.Channels(), services.Field,
                       state.PrinterPresent, [&state] { ApplyLanguageToWindow(state); }, &DialogServices},
      EditCommands{state.Edit,           services.Field,       state.Capture.Recording,
                   &services.Messages,   services.FindDialogs, &state.Settings(),
                   &state.Startup.Files.ExeBaseName},
      DialogServices{services.Dialogs, services.Printer, state.Startup.Files.ExeBaseName},
      PrintCommands{services.Printer, state.Settings(), state.Capture.Recording, services.Field,
                    state.PrinterPresent,
                    [&state] { return ProtocolFileTitle(state.ProtocolFiles, state.Settings()); }},
      Help{state.View.HelpFilePath, state.Settings().Language, state.Startup.Files.ExeBaseName, services.Help,
           services.Messages, state.Geometry.DialogOrigin},
      FileCommands{state.Settings(),
                   state.Channels(),
                   state.ProtocolFiles,
                   services.Field,
                   services.Pump,
                   services.Messages,
                   state.Capture.Recording,
                   state.Capture.StartButton,
                   Sending,
                   Search,
                   state.Startup.Locale,
                   state.Geometry.DialogOrigin,
                   state.Startup.Files.ExeBaseName,
                   state.Startup.SyncToDisk,
                   services.FileDialogs,
                   [this] { UpdateWindowCaption(State); },
                   [this](bool hourglass) { SetWindowCursor(*this, hourglass); }} {
    AddFileCommands(Commands, FileCommands);
    AddDocumentCommands(Commands, EditCommands);
    AddPrintCommand(Commands, PrintCommands);
    AddAppCommands(Commands, services.CloseWindow, Help);
    ChannelCommands.LineLengthChanged = [this] {
        UpdateMaxLineLength(State.Capture.Layout, State.Settings(), State.Channels(), Services.Field);
    };
    ChannelCommands.DevicesChanged = [this] { WatchChannelDevices(DeviceChanges); };
    ChannelCommands.ManualSend = [this](int channel) { ManualSendFromChannel(Sender, channel); };
    if (services.Fonts != nullptr)
        SettingsCommands.fontDialog = [this](int entry) { FontCommand(ChannelCommands, entry); };
    AddSettingsCommands(Commands, SettingsCommands);
    AddChannelCommands(Commands, ChannelCommands);
    AddCaptureFileCommands(Commands, state.Settings());
    state.View.DeclareItems(MenuItemNames());
}

std::vector<std::string> MenuItemNames() {
    std::vector<std::string> names;
    for (const auto* layout : {&MainMenuLayout(), &RichEditPopupMenuLayout(), &ChannelPopupMenuLayout()})
        for (const MenuEntry& entry : *layout)
            if (!entry.Name.empty()) names.push_back(entry.Name);
    return names;
}

}  // namespace kestrum
