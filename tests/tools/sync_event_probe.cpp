// Works a named sync event from a second process, one command per argument,
// in order, on one handle:
//   sync_event_probe [--user <uid>:<gid>] <name> <command>...
// Commands: create, open, set, reset, pulse (set then reset), close,
// wait=<ms> (prints "waiting" first, then "wait signalled|timeout|failed
// <elapsed ms>"), hold (waits until stdin closes or a line arrives), catch
// (SIGUSR1 runs an empty handler from then on, which interrupts system calls).
// Every other command prints "<command> ok" or "<command> failed".
// --user drops to that user and group first (needs root); prints
// "UserSwitchFailed" when that cannot be done.
#include <grp.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/sync_event.h"

namespace {

using kestrum::EventHandle;
using kestrum::WaitResult;

const char* ResultName(WaitResult result) {
    switch (result) {
        case WaitResult::Signalled: return "signalled";
        case WaitResult::TimedOut: return "timeout";
        case WaitResult::Failed: return "failed";
    }
    return "?";
}

void Report(const std::string& command, bool ok) {
    std::printf("%s %s\n", command.c_str(), ok ? "ok" : "failed");
    std::fflush(stdout);
}

void Ignore(int) {}

bool SwitchUser(const std::string& ids) {
    const auto colon = ids.find(':');
    if (colon == std::string::npos) return false;
    const uid_t uid = static_cast<uid_t>(std::strtoul(ids.c_str(), nullptr, 10));
    const gid_t gid = static_cast<gid_t>(std::strtoul(ids.c_str() + colon + 1, nullptr, 10));
    return setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    if (argc > 2 && std::string(argv[1]) == "--user") {
        if (!SwitchUser(argv[2])) {
            std::printf("UserSwitchFailed\n");
            return 0;
        }
        first = 3;
    }
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: sync_event_probe [--user uid:gid] <name> <command>...\n");
        return 2;
    }
    const std::string name = argv[first];
    auto events = kestrum::CreateSystemSyncEvents();
    EventHandle event = kestrum::kInvalidEventHandle;
    for (int i = first + 1; i < argc; ++i) {
        const std::string command = argv[i];
        if (command == "create") {
            event = events->CreateEvent(name);
            Report(command, event != kestrum::kInvalidEventHandle);
        } else if (command == "open") {
            event = events->OpenEvent(name);
            Report(command, event != kestrum::kInvalidEventHandle);
        } else if (command == "set") {
            Report(command, events->SetEvent(event));
        } else if (command == "reset") {
            Report(command, events->ResetEvent(event));
        } else if (command == "pulse") {
            const bool set = events->SetEvent(event);
            Report(command, events->ResetEvent(event) && set);
        } else if (command == "close") {
            Report(command, events->CloseHandle(event));
            event = kestrum::kInvalidEventHandle;
        } else if (command.rfind("wait=", 0) == 0) {
            const auto timeout = static_cast<std::uint32_t>(std::strtoul(command.c_str() + 5, nullptr, 10));
            std::printf("waiting\n");
            std::fflush(stdout);
            const auto start = std::chrono::steady_clock::now();
            const WaitResult result = events->WaitForSingleObject(event, timeout);
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            std::printf("wait %s %lld\n", ResultName(result), static_cast<long long>(elapsed.count()));
            std::fflush(stdout);
        } else if (command == "catch") {
            struct sigaction action {};
            action.sa_handler = Ignore;
            sigemptyset(&action.sa_mask);
            Report(command, sigaction(SIGUSR1, &action, nullptr) == 0);
        } else if (command == "hold") {
            std::string line;
            std::getline(std::cin, line);
        } else {
            std::fprintf(stderr, "unknown command %s\n", command.c_str());
            return 2;
        }
    }
    return 0;
}
