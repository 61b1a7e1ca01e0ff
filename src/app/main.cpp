#include <QApplication>
#include <QTimer>

#include "app/gui/app_session.h"
#include "app/gui/form_main.h"
#include "app/gui/qt_translations.h"
#include "app/gui/run_without_window.h"
#include "app/gui/termination_signals.h"
#include "platform/clock.h"
#include "platform/device_watcher.h"
#include "platform/poll_timer.h"
#include "platform/serial_devices.h"
#include "platform/serial_port.h"

int main(int argc, char** argv) {
    // --help, --version and --print-to-pdf end before any window exists.
    if (const std::optional<int> status = kestrum::RunWithoutWindow(argc, argv, KESTRUM_VERSION)) return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrum");
    kestrum::InstallQtTranslations(app);
    kestrum::TerminationSignals termination;

    kestrum::AppSession session = kestrum::StartSession();
    const auto ports = kestrum::CreateSystemSerialPorts();
    const auto devices = kestrum::CreateSystemSerialDevices();
    const auto clock = kestrum::CreateSystemClock();
    // The idle wait of a recording ends as soon as a port receives input.
    const auto pollTimer = kestrum::CreateSystemPollTimer(ports.get());
    // Adapters that come and go.
    const auto deviceWatcher = kestrum::CreateSystemDeviceWatcher();
    // The window lets events through while it is being created, so a request
    // to end can come before it exists: it is kept and carried out after.
    kestrum::TFormMain* mainWindow = nullptr;
    bool endRequested = false;
    QObject::connect(&termination, &kestrum::TerminationSignals::TerminationRequested, [&] {
        if (mainWindow) mainWindow->close();
        else endRequested = true;
    });
    kestrum::TFormMain window(session, {*ports, *devices, *clock, *pollTimer, nullptr, nullptr, deviceWatcher.get()},
                              QApplication::arguments());
    mainWindow = &window;
    if (endRequested) QTimer::singleShot(0, &window, &QWidget::close);
    // Should the loop end without the window's close, the run still ends.
    QObject::connect(&app, &QCoreApplication::aboutToQuit,
                     [&session] { kestrum::FinishSession(session, nullptr, {}); });
    return app.exec();
}
