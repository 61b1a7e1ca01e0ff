#include "app/app_wiring.h"

#include "app/app_commands.h"
#include "app/main_window_lifecycle.h"
#include "app/menu_layout.h"
#include "capture/line_layout.h"

namespace kestrum {

AppWiring::AppWiring(AppState& state, const AppServices& services)
    : State(state),
      Services(services),
      Search(state.Edit),
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
                       state.PrinterPresent, [&state] { ApplyLanguageToWindow(state); }},
      EditCommands{state.Edit, services.Field, state.Capture.Recording} {
    AddDocumentCommands(Commands, EditCommands);
    AddAppCommands(Commands, services.CloseWindow);
    ChannelCommands.LineLengthChanged = [this] {
        UpdateMaxLineLength(State.Capture.Layout, State.Settings(), State.Channels(), Services.Field);
    };
    ChannelCommands.DevicesChanged = [this] { WatchChannelDevices(DeviceChanges); };
    if (services.Fonts != nullptr)
        SettingsCommands.fontDialog = [this](int entry) { FontCommand(ChannelCommands, entry); };
    AddSettingsCommands(Commands, SettingsCommands);
    AddChannelCommands(Commands, ChannelCommands);
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
