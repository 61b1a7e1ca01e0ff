#pragma once
// One real instance of the program for tests and benchmarks of sender mode:
// the main window (offscreen unless told otherwise), its settings read from
// $XDG_CONFIG_HOME, its instance number and sync event in $XDG_RUNTIME_DIR,
// the system's serial ports (the devices come from the settings' Device=
// keys; no device of the machine is given to a channel without one).
//
// RunSenderInstance(lines): the protocol gets `lines` lines "L0".."L<n-1>";
// prints "instance <number>", then obeys its standard input, one command a
// line: "start" presses Start and prints "started", "ping" prints "pong"
// (its event loop runs), "quit" closes the window and ends the program; so
// does the end of its input.

#include <QApplication>
#include <QSocketNotifier>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/gui/app_session.h"
#include "app/gui/button_row.h"
#include "app/gui/form_main.h"
#include "app/gui/speed_button.h"
#include "platform/clock.h"
#include "platform/linux/serial_devices_linux.h"
#include "platform/poll_timer.h"
#include "platform/qt/qt_protocol_field.h"
#include "platform/serial_port.h"

namespace kestrum::test {

inline int RunSenderInstance(int argc, char** argv, int lines) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    AppSession session = StartSession();
    const auto ports = CreateSystemSerialPorts();
    const std::string none = std::filesystem::temp_directory_path() / "kestrum-no-devices";
    LinuxSerialDevices devices(none, none);
    const auto clock = CreateSystemClock();
    const auto poll = CreateSystemPollTimer(ports.get());
    // Only the program: the line count is no protocol file for the window to load.
    TFormMain window(session, {*ports, devices, *clock, *poll}, {QApplication::arguments().first()});
    for (int i = 0; i < lines; ++i) window.Field().AppendLine("L" + std::to_string(i));
    window.Field().Flush();
    std::printf("instance %d\n", session.State.Startup.Instance.Number);
    std::fflush(stdout);

    std::string pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char chunk[256];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            input.setEnabled(false);
            window.close();
            QApplication::quit();
            return;
        }
        pending.append(chunk, static_cast<std::size_t>(got));
        for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string command = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (command == "start") {
                window.Buttons().Start()->click();
                std::printf("started\n");
            } else if (command == "ping") {
                std::printf("pong\n");
            } else if (command == "quit") {
                window.close();
                QApplication::quit();
            }
            std::fflush(stdout);
        }
    });
    return app.exec();
}

}  // namespace kestrum::test
