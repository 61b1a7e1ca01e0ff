#pragma once
// The contexts the window's handlers run in and the table of every menu
// command, made once from the program's state and its outside world.

#include <functional>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/help_command.h"
#include "base/command_table.h"
#include "capture/capture_context.h"
#include "channels/channel_button_click.h"
#include "channels/channel_commands.h"
#include "channels/device_changes.h"
#include "document/edit_commands.h"
#include "document/file_commands.h"
#include "document/file_dialogs.h"
#include "document/search_dialogs.h"
#include "document/print_commands.h"
#include "platform/clock.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/message_pump.h"
#include "platform/poll_timer.h"
#include "platform/printer.h"
#include "platform/protocol_field.h"
#include "platform/serial_devices.h"
#include "platform/serial_port.h"
#include "platform/interval_timer.h"
#include "platform/sync_event.h"
#include "sender/inert_sender_services.h"
#include "sender/input_line_dialog.h"
#include "sender/sender_context.h"
#include "sender/sender_hooks.h"
#include "platform/settings_dialogs.h"
#include "settings/commands/settings_dialog_commands.h"
#include "settings/commands/settings_menu.h"

namespace kestrum {

// The outside world of the program's core, as the window provides it.
struct AppServices {
    SerialPorts& Ports;
    SerialDevices& Devices;
    kestrum::Clock& Clock;
    kestrum::PollTimer& PollTimer;
    ProtocolField& Field;
    MessagePump& Pump;
    MessageBoxes& Messages;
    // The group that owns a device file (explains a refused open).
    std::function<std::string(const std::string& device)> DeviceGroup;
    // The hourglass cursor on and off.
    std::function<void(bool busy)> BusyCursor;
    // Closes the main window (File > Exit).
    std::function<void()> CloseWindow;
    // The printer, the settings dialogs and the help window.
    kestrum::Printer& Printer;
    SettingsDialogs& Dialogs;
    HelpViewer& Help;
    // The sender's timer (TxTimer), the named sync event and the manual-send
    // dialog; without them sending never ticks, never pairs up and every
    // dialog is cancelled.
    IntervalTimer* TxTimer = nullptr;
    kestrum::SyncEvents* SyncEvents = nullptr;
    InputLineDialog* InputLine = nullptr;
    // The File menu's open and save dialogs, and the Find and Replace
    // dialogs (none: those commands do nothing).
    ProtocolFileDialogs* FileDialogs = nullptr;
    SearchDialogs* FindDialogs = nullptr;
    // The channel commands' dialogs, the device watcher and TimerDeviceChange;
    // a missing one leaves its command or reaction out.
    PortDialog* PortSettings = nullptr;
    FontDialog* Fonts = nullptr;
    InputBox* Input = nullptr;
    DeviceWatcher* Watcher = nullptr;
    DeviceChangeTimer* DeviceTimer = nullptr;
};

class AppWiring {
public:
    AppWiring(AppState& state, const AppServices& services);
    AppWiring(const AppWiring&) = delete;
    AppWiring& operator=(const AppWiring&) = delete;

    AppState& State;
    AppServices Services;
    // The sending side's steps of the recording engine (sender mode, manual send).
    SenderHooks Sending;
    EditSearchHooks Search;
    CaptureContext Capture;
    SenderContext Sender;
    ChannelClickContext ChannelClick;
    ChannelCommandContext ChannelCommands;
    DeviceChangeContext DeviceChanges;
    SettingsCommandContext SettingsCommands;
    EditCommandContext EditCommands;
    SettingsDialogServices DialogServices;
    PrintContext PrintCommands;
    HelpContext Help;
    FileCommandContext FileCommands;
    CommandTable Commands;

private:
    InertIntervalTimer inertTimer_;
    InertSyncEvents inertSyncEvents_;
    CancelledInputLine cancelledInputLine_;
};

// The names of every item and submenu of the main menu and both pop-up
// menus, in menu order.
std::vector<std::string> MenuItemNames();

}  // namespace kestrum
