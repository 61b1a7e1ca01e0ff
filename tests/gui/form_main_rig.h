#pragma once
// TFormMain for GUI tests: its own settings and instance folders, real
// serial ports over pseudo-terminals named in the settings (Device=), no
// other serial devices, and a script runner for actions during a recording
// (the recording runs inside the Start click, so the test acts from timers).

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gui/app_session.h"
#include "app/gui/button_row.h"
#include "app/gui/form_main.h"
#include "app/gui/speed_button.h"
#include "platform/clock.h"
#include "platform/linux/serial_devices_linux.h"
#include "platform/linux/serial_ports_linux.h"
#include "platform/poll_timer.h"
#include "platform/program_file.h"
#include "support/pseudo_terminal.h"
#include "support/scratch_folder.h"

namespace kestrum::test {


// The recording runs and has purged its ports: what a device sends from now
// on is recorded. Starting lets messages through before the purge, so a step
// may see the button down while bytes sent then are still thrown away.
inline bool RecordingPurged(TFormMain& form) {
    const RecordingState& state = form.Capture().Recording;
    return state.Running && state.FirstPhase;
}

// Steps run one after another from a timer while the recording runs: each
// is called (once per tick) until it returns true. After the last step, or at the time
// limit, the Start button is released.
class Script : public QObject {
public:
    Script(TFormMain& form, std::vector<std::function<bool()>> steps, int limitMs = 10000)
        : form_(form), steps_(std::move(steps)), limit_(limitMs) {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
        started_ = std::chrono::steady_clock::now();
        timer_.start();
    }
    bool Finished() const { return next_ >= steps_.size(); }
    bool TimedOut() const { return timedOut_; }
    std::size_t Step() const { return next_; }

private:
    void Tick() {
        if (busy_) return;
        busy_ = true;
        const auto elapsed = std::chrono::steady_clock::now() - started_;
        if (elapsed > std::chrono::milliseconds(limit_)) timedOut_ = true;
        // One step per tick at most, so the recording runs between steps.
        if (!timedOut_ && next_ < steps_.size() && steps_[next_]()) ++next_;
        if (timedOut_ || next_ >= steps_.size()) {
            timer_.stop();
            StopRecording();
        }
        busy_ = false;
    }
    void StopRecording() {
        if (form_.Buttons().Start()->isChecked()) form_.Buttons().Start()->click();
    }

    TFormMain& form_;
    std::vector<std::function<bool()>> steps_;
    int limit_;
    std::size_t next_ = 0;
    bool busy_ = false;
    bool timedOut_ = false;
    QTimer timer_;
    std::chrono::steady_clock::time_point started_;
};

class FormRig {
public:
    ScratchFolder Folder;
    LinuxSerialPorts Ports;
    LinuxSerialDevices Devices{Folder / "dev", Folder / "sys"};  // no devices of the machine
    std::unique_ptr<Clock> SystemClock;
    std::unique_ptr<PollTimer> Poll = CreateSystemPollTimer();
    DeviceWatcher* Watcher = nullptr;  // none: no device-change messages
    AppSession Session;
    std::unique_ptr<TFormMain> Form;

    FormRig() {
        setenv("XDG_CONFIG_HOME", (Folder / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (Folder / "runtime").c_str(), 1);
        std::filesystem::create_directories(Folder / "runtime");
        std::filesystem::permissions(Folder / "runtime", std::filesystem::perms::owner_all);
    }
    ~FormRig() {
        if (Form) Form->close();
        Form.reset();
    }
    // The settings file of this program.
    std::string SettingsPath() const {
        const std::string name = ProgramBaseName(RunningProgramPath());
        return Folder / ("config/Tannbrook/" + name + "/" + name + ".ini");
    }
    void WriteSettings(const std::string& text) const { WriteFileBytes(SettingsPath(), text); }
    std::string ReadSettings() const { return ReadFileBytes(SettingsPath()); }

    TFormMain& Open(const QStringList& arguments = {"kestrum_gui_tests"}) {
        Session = StartSession();
        SystemClock = CreateSystemClock();
        Form = std::make_unique<TFormMain>(
            Session, FormMainServices{Ports, Devices, *SystemClock, *Poll, nullptr, nullptr, Watcher}, arguments);
        return *Form;
    }
    // Closes the window (settings written, ports closed, number released).
    void Close() {
        if (Form) Form->close();
        Form.reset();
    }
};

// Answers the next modal message box with OK and keeps its text.
class MessageBoxCatcher : public QObject {
public:
    QString Text;
    int Seen = 0;
    MessageBoxCatcher() {
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                Text = box->text();
                ++Seen;
                box->accept();
            }
        });
        timer_.start(5);
    }

private:
    QTimer timer_;
};

}  // namespace kestrum::test
