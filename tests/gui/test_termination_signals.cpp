#include "app/gui/termination_signals.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/gui/app_session.h"
#include "fakes/fake_instance_markers.h"
#include "platform/file_sync.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <signal.h>

#include <vector>

namespace kestrum {
namespace {

std::vector<int> ProcessUntil(const std::vector<int>& received, std::size_t count) {
    QElapsedTimer timer;
    timer.start();
    while (received.size() < count && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return received;
}

TEST(TerminationSignals, TermAndIntArriveOnTheEventLoopOnce) {
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    {
        TerminationSignals termination;
        ASSERT_TRUE(termination.Installed());
        std::vector<int> received;
        QObject::connect(&termination, &TerminationSignals::TerminationRequested,
                         [&received](int signalNumber) { received.push_back(signalNumber); });
        raise(SIGTERM);
        EXPECT_TRUE(received.empty());  // not inside the handler
        raise(SIGINT);
        EXPECT_EQ(ProcessUntil(received, 2), (std::vector<int>{SIGTERM, SIGINT}));

        // Each handler fired once: a second signal would take the default
        // action, so the handler is gone.
        struct sigaction now {};
        sigaction(SIGTERM, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
    }
    // The handlers of before are back after the object ends.
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

// A window whose closing ends the session, as the main window's does.
class SessionWindow : public QWidget {
public:
    explicit SessionWindow(AppSession& session) : session_(session) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        FinishSession(session_, this, {0, 0});
        event->accept();
    }

private:
    AppSession& session_;
};

// A signal ends the run the way closing the window does: settings
// written, the instance number given back.
TEST(TerminationSignals, SigtermClosesTheWindowAndEndsTheSession) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kestrum-gui-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "bin");
    AppSession session;
    auto markers = std::make_unique<FakeInstanceMarkers>();
    FakeInstanceMarkers& fake = *markers;
    session.Markers = std::move(markers);
    StartupInputs inputs;
    inputs.ProgramPath = (folder / "bin" / "kestrum").string();
    inputs.AppDataFolder = (folder / "config").string();
    inputs.SyncToDisk = SyncToDisk;
    session.State.Startup = StartUp(inputs, *session.Markers);
    ASSERT_TRUE(fake.Exists("kestrum1"));

    TerminationSignals termination;
    SessionWindow window(session);
    QObject::connect(&termination, &TerminationSignals::TerminationRequested, &window,
                     &QWidget::close);
    window.show();
    raise(SIGTERM);
    QElapsedTimer timer;
    timer.start();
    while (window.isVisible() && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(session.State.Startup.ShutDownDone);
    EXPECT_FALSE(fake.Exists("kestrum1"));
    std::ifstream ini(folder / "config" / "Tannbrook" / "kestrum" / "kestrum.ini");
    std::string first;
    std::getline(ini, first);
    EXPECT_EQ(first, "[General]");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kestrum
