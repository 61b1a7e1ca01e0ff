// Tries to open a serial device as channel 1, the way the program does, and
// reports the channel's flags afterwards.
//   port_open_probe <device> [--user <uid>:<gid>] [--hold]
// --user drops to that user and group first (needs root). --hold keeps the
// port open until stdin closes. Prints one line:
//   Installed=<0|1> Available=<0|1> Open=<0|1> TriggerEnabled=<0|1> Failure=<name>
// or "UserSwitchFailed" when --user could not be honoured.
#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "channels/port_operations.h"
#include "channels/trigger_fields.h"
#include "platform/linux/serial_ports_linux.h"

namespace {

const char* FailureName(kestrum::OpenFailure failure) {
    switch (failure) {
        case kestrum::OpenFailure::None: return "None";
        case kestrum::OpenFailure::Missing: return "Missing";
        case kestrum::OpenFailure::HeldElsewhere: return "HeldElsewhere";
        case kestrum::OpenFailure::NoPermission: return "NoPermission";
        case kestrum::OpenFailure::Other: return "Other";
    }
    return "?";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: port_open_probe <device> [--user uid:gid] [--hold]\n");
        return 2;
    }
    bool hold = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--hold") {
            hold = true;
        } else if (arg == "--user" && i + 1 < argc) {
            const std::string ids = argv[++i];
            const auto colon = ids.find(':');
            const uid_t uid = static_cast<uid_t>(std::strtoul(ids.c_str(), nullptr, 10));
            const gid_t gid = static_cast<gid_t>(
                std::strtoul(ids.c_str() + (colon == std::string::npos ? 0 : colon + 1), nullptr, 10));
            if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) {
                std::printf("UserSwitchFailed\n");
                return 0;
            }
        }
    }

    kestrum::ChannelTable table;
    kestrum::ChannelRecord& channel = table.Channels[1];
    channel.Device = argv[1];
    kestrum::SetTriggerBytes(channel, "GO");
    kestrum::SetTriggerEnabled(channel, true);

    kestrum::LinuxSerialPorts ports;
    kestrum::PortPresenceTest(table, 1, ports);
    kestrum::OpenPort(table, 1, ports);
    std::printf("Installed=%d Available=%d Open=%d TriggerEnabled=%d Failure=%s\n",
                channel.Installed, channel.Available, channel.Open, channel.TriggerEnabled,
                FailureName(channel.LastOpenFailure));
    std::fflush(stdout);
    if (hold) {
        std::string line;
        std::getline(std::cin, line);
    }
    kestrum::CloseAllPorts(table, ports);
    return 0;
}
