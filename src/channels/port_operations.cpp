#include "channels/port_operations.h"

#include "channels/hint_suffix.h"
#include "channels/trigger_fields.h"

namespace kestrum {

namespace {


void CopyLineSettings(const ChannelRecord& channel, Dcb& dcb) {
    dcb.BaudRate = channel.BaudRate;
    dcb.ByteSize = channel.ByteSize;
    dcb.Parity = static_cast<std::uint8_t>(channel.Parity);
    dcb.StopBits = static_cast<std::uint8_t>(channel.StopBits);
}

}  // namespace

void SetFixedControlFlags(Dcb& dcb) {
    dcb.fBinary = true;
    dcb.fOutxCtsFlow = false;
    dcb.fOutxDsrFlow = false;
    dcb.fDtrControl = 1;  // DTR_CONTROL_ENABLE
    dcb.fDsrSensitivity = false;
    dcb.fTXContinueOnXoff = true;
    dcb.fOutX = false;
    dcb.fInX = false;
    dcb.fErrorChar = false;
    dcb.fNull = false;
    dcb.fRtsControl = 1;  // RTS_CONTROL_ENABLE
    dcb.fAbortOnError = false;
}

void SetParityFlag(ChannelRecord& channel) { channel.Config.dcb.fParity = channel.Parity != Parity::None; }

PresenceChange PortPresenceTest(ChannelTable& table, int n, SerialPorts& ports) {
    if (!IsChannel(n)) return {};
    ChannelRecord& channel = table.Channel(n);
    const bool wasInstalled = channel.Installed;
    ports.MapPortName(channel.PortName, channel.Device);
    if (channel.Open) {
        // An open port is tested where it is: closing and reopening it would
        // throw its unread input away on every device event of the system.
        // It is closed only when it is gone.
        channel.Installed = ports.OpenPortPresent(channel.PortName, channel.Handle);
        if (!channel.Installed) ClosePort(table, n, ports);
    } else {
        channel.DefaultConfig.dwSize = 52;
        channel.Installed = ports.GetDefaultCommConfig(channel.PortName, channel.DefaultConfig);
    }
    PresenceChange change;
    change.NewlyPresent = !wasInstalled && channel.Installed;
    change.Gone = wasInstalled && !channel.Installed;
    return change;
}

void OpenPort(ChannelTable& table, int n, SerialPorts& ports) {
    if (!IsChannel(n)) return;
    ChannelRecord& channel = table.Channel(n);
    if (!channel.Installed || channel.Open) return;
    ports.MapPortName(channel.PortName, channel.Device);
    OpenFailure failure = OpenFailure::None;
    channel.Handle = ports.CreateFile(channel.PortName, failure);
    channel.Open = channel.Handle != kInvalidPortHandle;
    channel.Available = channel.Open;
    if (!channel.Open) {
        channel.LastOpenFailure = failure == OpenFailure::None ? OpenFailure::Other : failure;
        channel.LastOpenError = ports.LastErrorText();
        SetTriggerEnabled(channel, false);
        return;
    }
    channel.LastOpenFailure = OpenFailure::None;
    channel.LastOpenError.clear();
    channel.SavedConfig.dwSize = 52;
    ports.GetCommConfig(channel.Handle, channel.SavedConfig);
    ports.GetCommTimeouts(channel.Handle, channel.SavedTimeouts);
    ApplyPortConfiguration(table, n, ports);
}

void ApplyPortConfiguration(ChannelTable& table, int n, SerialPorts& ports) {
    if (!IsChannel(n)) return;
    ChannelRecord& channel = table.Channel(n);
    if (!channel.Installed || !channel.Open) return;
    CopyLineSettings(channel, channel.Config.dcb);
    SetFixedControlFlags(channel.Config.dcb);
    ports.SetCommConfig(channel.Handle, channel.Config);
    ports.SetCommTimeouts(channel.Handle, kPortTimeouts);
    ports.PurgeComm(channel.Handle);
}

void ClosePort(ChannelTable& table, int n, SerialPorts& ports) {
    if (!IsChannel(n)) return;
    ChannelRecord& channel = table.Channel(n);
    channel.Open = false;
    if (channel.Handle == kInvalidPortHandle) return;
    if (channel.Installed) {
        channel.SavedConfig.dwSize = 52;
        ports.SetCommConfig(channel.Handle, channel.SavedConfig);
        ports.SetCommTimeouts(channel.Handle, channel.SavedTimeouts);
    }
    ports.CloseHandle(channel.Handle);
    channel.Handle = kInvalidPortHandle;
}

PortDialogOutcome PortConfigurationDialog(ChannelTable& table, int n, SerialPorts& ports,
                                          PortDialog& dialog) {
    PortDialogOutcome outcome;
    if (!IsChannel(n)) return outcome;
    ChannelRecord& channel = table.Channel(n);
    if (!channel.Installed) return outcome;
    outcome.Shown = true;

    CopyLineSettings(channel, channel.Config.dcb);
    SetParityFlag(channel);
    std::string device = channel.Device;
    outcome.Confirmed = dialog.CommConfigDialog(channel.PortName, device, channel.Config);

    const Dcb& chosen = channel.Config.dcb;
    channel.BaudRate = chosen.BaudRate;
    channel.ByteSize = chosen.ByteSize;
    channel.Parity = static_cast<Parity>(chosen.Parity);
    channel.StopBits = static_cast<StopBits>(chosen.StopBits);
    SetFixedControlFlags(channel.Config.dcb);
    RebuildHintSuffix(channel);

    if (outcome.Confirmed && !device.empty() && device != channel.Device) {
        outcome.DeviceChanged = true;
        const bool wasActive = channel.Active;
        ClosePort(table, n, ports);  // gives the old device its settings back
        channel.Device = device;
        PortPresenceTest(table, n, ports);
        if (!channel.Installed) {
            channel.Available = false;
            channel.Active = false;
        } else if (wasActive) {
            OpenPort(table, n, ports);
            channel.Active = channel.Open;
        }
        RebuildHintSuffix(channel);
    } else if (channel.Active) {
        ApplyPortConfiguration(table, n, ports);
    }
    return outcome;
}

void OpenPortsAtStartup(ChannelTable& table, Options& options, SerialPorts& ports) {
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        ChannelRecord& channel = table.Channel(n);
        PortPresenceTest(table, n, ports);
        if (channel.Installed) channel.Config = channel.DefaultConfig;
        SetParityFlag(channel);
        if (channel.Installed) {
            OpenPort(table, n, ports);
            const bool wanted =
                options.MonitorMode ? channel.MonitorChannel : options.SenderChannel == n;
            if (!wanted) ClosePort(table, n, ports);
        }
        channel.Active = channel.Open;
        RebuildHintSuffix(channel);
    }
    const int sender = options.SenderChannel;
    if (sender != -1 && (!IsChannel(sender) || !table.Channel(sender).Available))
        options.SenderChannel = -1;
}

void CloseAllPorts(ChannelTable& table, SerialPorts& ports) {
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        const ChannelRecord& channel = table.Channel(n);
        if (channel.Open || channel.Handle != kInvalidPortHandle) ClosePort(table, n, ports);
    }
}

}  // namespace kestrum
