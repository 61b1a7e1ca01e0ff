#pragma once
// The five operations on a channel's serial port: presence test, open,
// apply configuration, close and the configuration dialog, plus opening the
// ports at start-up and closing them all at the end. Failures are not
// reported as results: they show in the channel's flags (Installed,
// Available, Open) and, for an open, in LastOpenFailure. The results of the
// configuration calls are ignored. Channel numbers outside 1..8 are ignored.

#include "base/channel_table.h"
#include "platform/port_dialog.h"
#include "platform/serial_port.h"
#include "settings/options.h"

namespace kestrum {

// Written to every port when it is configured: a read returns at once with
// what has been received, a write waits until it is done.
inline constexpr CommTimeouts kPortTimeouts{0xFFFFFFFFu, 0, 0, 0, 0};

// The control flags every configuration writes into the DCB: binary, no
// hardware or software flow control, DTR and RTS on, NUL bytes received,
// no error character, no abort on error. fParity is not among them.
void SetFixedControlFlags(Dcb& dcb);

// fParity of the channel's CommConfig: set when Parity is not 0.
void SetParityFlag(ChannelRecord& channel);

struct PresenceChange {
    bool NewlyPresent = false;
    bool Gone = false;
};

// Whether the port exists (its device is mapped from the channel's Device
// first). Updates Installed, and DefaultCommConfig of a port that is not
// open. An open port is tested without closing it (OpenPortPresent: still
// there, still the same device, its line alive), so its unread input
// survives; it is closed only when it is gone. The caller acts on the
// result (the device-change scan): a newly present port gets CommConfig
// from DefaultCommConfig with SetParityFlag.
PresenceChange PortPresenceTest(ChannelTable& table, int n, SerialPorts& ports);

// Opens and configures the port when it is Installed and not Open.
// Available and Open become the result; LastOpenFailure says why it failed
// (None on success) and LastOpenError gives the system's text for it. A failed open switches the channel's trigger off.
void OpenPort(ChannelTable& table, int n, SerialPorts& ports);

// When Installed and Open: the line settings and the fixed control flags
// into the DCB, SetCommConfig, the program-wide time-outs, and the receive
// buffer purged.
void ApplyPortConfiguration(ChannelTable& table, int n, SerialPorts& ports);

// Clears Open, puts the port's own settings back (when Installed) and
// closes the handle. Available is left as it was.
void ClosePort(ChannelTable& table, int n, SerialPorts& ports);

struct PortDialogOutcome {
    bool Shown = false;          // the channel was Installed and the dialog ran:
                                 // the caller rebuilds all button hints
    bool Confirmed = false;      // the user pressed OK
    bool DeviceChanged = false;  // the port now stands for another device; its
                                 // Installed/Available/Active flags may have changed,
                                 // so the caller refreshes the button as well
};

// The configuration dialog of an Installed channel: the line settings go
// into the DCB (with fParity from Parity), the dialog edits it, and the line
// settings are read back from it whether confirmed or not (a cancelled dialog
// leaves them unchanged). The fixed flags are written again and HintSuffix
// rebuilt. An Active channel gets the configuration applied at once (which
// purges its receive buffer). A confirmed change of device closes the port,
// tests the new device and, if the channel was Active, opens it there
// (Active then follows Open); a device that is not there leaves the channel
// not Installed and inactive.
PortDialogOutcome PortConfigurationDialog(ChannelTable& table, int n, SerialPorts& ports,
                                          PortDialog& dialog);

// The ports at start-up, after the settings are read and the devices
// assigned (AssignDevices): for channels 1..8 in order, the presence test
// (a present port's CommConfig becomes its DefaultCommConfig), fParity from
// Parity, an open attempt on every installed port that is kept open only
// when the mode wants it (monitor mode: MonitorChannel; sender mode: the
// SenderChannel), Active := Open, and HintSuffix rebuilt. Finally
// SenderChannel becomes -1 when that channel is not Available. The caller
// then sets the buttons (down = Active, enabled = Installed, underline) and
// rebuilds all hints.
void OpenPortsAtStartup(ChannelTable& table, Options& options, SerialPorts& ports);

// Closes every open port with its own settings put back (the main window's
// close).
void CloseAllPorts(ChannelTable& table, SerialPorts& ports);

}  // namespace kestrum
