#include <QApplication>

#include "app/gui/app_session.h"
#include "app/gui/plain_main_window.h"
#include "app/gui/termination_signals.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrum");
    kestrum::TerminationSignals termination;

    kestrum::AppSession session = kestrum::StartSession();
    kestrum::PlainMainWindow window(session);
    QObject::connect(&termination, &kestrum::TerminationSignals::TerminationRequested, &window,
                     &QWidget::close);
    // Should the loop end without the window's close, the run still ends.
    QObject::connect(&app, &QCoreApplication::aboutToQuit,
                     [&session] { kestrum::FinishSession(session, nullptr, {}); });
    window.show();
    return app.exec();
}
