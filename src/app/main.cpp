#include <QApplication>

#include "app/gui/app_session.h"
#include "app/gui/form_main.h"
#include "app/gui/termination_signals.h"
#include "platform/clock.h"
#include "platform/linux/serial_devices_linux.h"
#include "platform/linux/serial_ports_linux.h"
#include "platform/poll_timer.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrum");
    kestrum::TerminationSignals termination;

    kestrum::AppSession session = kestrum::StartSession();
    kestrum::LinuxSerialPorts ports;
    kestrum::LinuxSerialDevices devices;
    const auto clock = kestrum::CreateSystemClock(session.State.Locale);
    const auto pollTimer = kestrum::CreatePollTimer();
    kestrum::TFormMain window(session, {ports, devices, *clock, *pollTimer}, QApplication::arguments());
    QObject::connect(&termination, &kestrum::TerminationSignals::TerminationRequested, &window,
                     &QWidget::close);
    // Should the loop end without the window's close, the run still ends.
    QObject::connect(&app, &QCoreApplication::aboutToQuit,
                     [&session] { kestrum::FinishSession(session, nullptr, {}); });
    return app.exec();
}
