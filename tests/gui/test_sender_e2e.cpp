// Sender mode and the manual send from end to end: the real window, its
// timers and dialog, pseudo-terminals mapped as COM ports, read at the other
// end.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "form_main_rig.h"
#include "platform/qt/qt_interval_timer.h"
#include "platform/qt/qt_protocol_field.h"
#include "sender/gui/form_get_input_line.h"

namespace kestrum {
namespace {

using test::FormRig;
using test::PseudoTerminal;
using test::RecordingPurged;
using test::Script;

std::string SenderSettings(const PseudoTerminal& port, const std::string& general = "",
                           const std::string& sender = "") {
    return "[General]\r\nMonitorMode=0\r\nSenderModeAutoRepeat=0\r\n" + general +
           "[SenderMode]\r\nSenderChannel=1\r\nTxTimeInterval=20\r\n" + sender + "[COM1]\r\nDevice=" + port.Path +
           "\r\n";
}

void Protocol(TFormMain& form, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) form.Field().AppendLine(line);
    form.Field().Flush();
}

// What arrives at the other end of the line within `ms`, up to `count`
// bytes, while the window's event loop runs.
std::string Arrived(const PseudoTerminal& port, std::size_t count, int ms = 3000) {
    std::string got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < count && clock.elapsed() < ms) {
        QTest::qWait(2);
        pollfd wait{port.Master, POLLIN, 0};
        while (got.size() < count && poll(&wait, 1, 0) > 0) {
            char chunk[512];
            const ssize_t n = ::read(port.Master, chunk, std::min(sizeof chunk, count - got.size()));
            if (n <= 0) break;
            got.append(chunk, static_cast<std::size_t>(n));
        }
    }
    return got;
}

bool HasLine(TFormMain& form, const std::string& text) {
    for (int i = 0; i < form.Field().LineCount(); ++i)
        if (form.Field().LineText(i) == text) return true;
    return false;
}

TEST(SenderEndToEnd, TheProtocolPlaysOutOfThePortOncePerLine) {
    PseudoTerminal port(true);
    FormRig rig;
    rig.WriteSettings(SenderSettings(port));
    TFormMain& form = rig.Open();
    ASSERT_TRUE(form.Channels().Channels[1].Open);
    EXPECT_TRUE(form.Buttons().Channel(1)->isChecked());
    EXPECT_FALSE(form.Buttons().Trigger()->isVisible());
    EXPECT_TRUE(form.Buttons().Sync()->isVisible());
    EXPECT_FALSE(form.Buttons().Sync()->isEnabled());  // the master's
    EXPECT_EQ(form.Buttons().TxTimeInterval()->text(), QString("20"));
    EXPECT_EQ(form.Buttons().Start()->toolTip(), QString("Start sending the protocol"));

    Protocol(form, {"first // comment", "// skipped", "second<CR>", "", "\xE4\xF6"});
    form.Buttons().Start()->click();
    EXPECT_EQ(form.Buttons().Start()->text(), QString("Stop"));
    EXPECT_EQ(Arrived(port, 23), "first \r\nsecond\r\r\n\r\n\xE4\xF6\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(!form.Buttons().Start()->isChecked(), 2000);
    EXPECT_EQ(form.Buttons().Start()->text(), QString("Start"));
    EXPECT_FALSE(form.TxTimer().Enabled());
    EXPECT_FALSE(form.Capture().Recording.Running);
    EXPECT_EQ(Arrived(port, 1, 100), "");  // once, without auto repeat
}

TEST(SenderEndToEnd, StopWithAutoRepeatAndTheModeSwitchMoveThePorts) {
    PseudoTerminal sender(true), monitored(true);
    FormRig rig;
    rig.WriteSettings("[General]\r\nMonitorMode=1\r\n[SenderMode]\r\nSenderChannel=2\r\nTxTimeInterval=10\r\n"
                      "[COM1]\r\nDevice=" + monitored.Path + "\r\nMonitorChannel=1\r\n[COM2]\r\nDevice=" +
                      sender.Path + "\r\n");
    TFormMain& form = rig.Open();
    ASSERT_TRUE(form.Channels().Channels[1].Open);
    ASSERT_FALSE(form.Channels().Channels[2].Open);

    QTest::mouseClick(form.Buttons().Sender(), Qt::LeftButton);
    EXPECT_FALSE(form.Settings().MonitorMode);
    EXPECT_FALSE(form.Channels().Channels[1].Open);
    EXPECT_TRUE(form.Channels().Channels[2].Open);
    EXPECT_TRUE(form.Buttons().Channel(2)->isChecked());
    EXPECT_FALSE(form.Buttons().Channel(1)->isChecked());
    EXPECT_FALSE(form.Buttons().Trigger()->isVisible());
    EXPECT_TRUE(form.Buttons().TxTimeInterval()->isVisible());

    Protocol(form, {"ab"});
    form.Buttons().Start()->click();
    EXPECT_EQ(Arrived(sender, 12), "ab\r\nab\r\nab\r\n");  // auto repeat is on by default
    QTest::mouseClick(form.Buttons().Monitor(), Qt::LeftButton);
    EXPECT_TRUE(form.Settings().MonitorMode);
    EXPECT_FALSE(form.TxTimer().Enabled());
    EXPECT_FALSE(form.Buttons().Start()->isChecked());
    EXPECT_FALSE(form.Channels().Channels[2].Open);
    EXPECT_TRUE(form.Channels().Channels[1].Open);
    EXPECT_TRUE(form.Buttons().Trigger()->isVisible());
    EXPECT_FALSE(form.Buttons().Sync()->isVisible());
    Arrived(sender, 1000, 50);
    EXPECT_EQ(Arrived(sender, 1, 100), "");  // nothing after the switch
}

TEST(SenderEndToEnd, TheIntervalEditTakesDigitsAndEveryKeystrokeCounts) {
    PseudoTerminal port(true);
    FormRig rig;
    rig.WriteSettings(SenderSettings(port));
    TFormMain& form = rig.Open();
    QLineEdit* edit = form.Buttons().TxTimeInterval();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "5a0x.0");
    EXPECT_EQ(edit->text(), QString("500"));
    EXPECT_EQ(form.Settings().TxTimeInterval, 500u);
    EXPECT_EQ(form.TxTimer().Interval(), 500u);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(form.TxTimer().Interval(), 50u);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_0);
    EXPECT_EQ(form.Settings().TxTimeInterval, 0u);

    // Interval 0: sending runs but nothing ticks.
    Protocol(form, {"x"});
    form.Buttons().Start()->click();
    EXPECT_TRUE(form.TxTimer().Enabled());
    EXPECT_FALSE(form.TxTimer().Ticking());
    EXPECT_EQ(Arrived(port, 1, 100), "");
    // The up-down control goes on from the step of 0, and sending with it.
    auto* up = form.Buttons().findChild<QToolButton*>("UpDownTxTimeIntervalUp");
    ASSERT_NE(up, nullptr);
    up->click();
    EXPECT_EQ(edit->text(), QString("20"));
    EXPECT_EQ(form.TxTimer().Interval(), 20u);
    EXPECT_EQ(Arrived(port, 3), "x\r\n");
}

TEST(SenderEndToEnd, TheSyncButtonOfAFollowerSwitchesSynchronisation) {
    PseudoTerminal port(true);
    FormRig rig;
    rig.WriteSettings(SenderSettings(port, "", "Synchronize=0\r\n"));
    // Another instance holds number 1.
    const std::string lock = (rig.Folder / "runtime") + "/" +
                             ProgramBaseName(RunningProgramPath()) + "1.lock";
    const int master = ::open(lock.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(flock(master, LOCK_EX | LOCK_NB), 0);
    TFormMain& form = rig.Open();
    ASSERT_EQ(form.State().Startup.Instance.Number, 2);
    EXPECT_TRUE(form.Buttons().Sync()->isEnabled());
    EXPECT_EQ(form.Buttons().Sync()->toolTip(), QString("Activate synchonization\nwith the master instance"));
    form.Buttons().Sync()->click();
    EXPECT_TRUE(form.Settings().Synchronize);
    EXPECT_TRUE(form.Buttons().Sync()->isChecked());
    EXPECT_EQ(form.Buttons().Sync()->toolTip(), QString("Deactivate synchonization\nwith the master instance"));
    rig.Close();
    ::close(master);
    EXPECT_NE(rig.ReadSettings().find("Synchronize=1"), std::string::npos);
}

TEST(SenderEndToEnd, CtrlDigitSendsALineFromARecordedChannelAndNothingArrivingIsLost) {
    PseudoTerminal port(true);
    FormRig rig;
    rig.WriteSettings("[General]\r\nShowTimeTags=0\r\n[COM1]\r\nDevice=" + port.Path + "\r\nMonitorChannel=1\r\n");
    TFormMain& form = rig.Open();
    TFormGetInputLine& dialog = form.FormGetInputLine();
    // More than the system's buffer of a tty arrives while the dialog is open.
    const std::string burst = std::string(6000, 'd') + "\n";
    std::thread writer;
    // The user works the dialog once it is up (it may open inside a step).
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (!dialog.isVisible() || writer.joinable()) return;
        writer = std::thread([&] { port.Send(burst); });
        // The whole burst has come in before the user sends.
        QElapsedTimer waited;
        waited.start();
        while (rig.Ports.BufferedBytes(form.Channels().Channels[1].Handle) < burst.size() && waited.elapsed() < 5000)
            QTest::qWait(2);
        QTest::keyClicks(dialog.ComboBoxInputLine(), "hello");
        dialog.ButtonOk()->click();
    });
    user.start(2);
    Script script(form, {
        [&] { return RecordingPurged(form) && port.Send("before\n"); },
        [&] { return HasLine(form, "COM1: before"); },
        [&] {
            QTest::keyClick(&form.RichEdit(), Qt::Key_1, Qt::ControlModifier);
            return true;
        },
        [&] { return writer.joinable() && !dialog.isVisible() && HasLine(form, "User: hello<CR>"); },
        [&] {
            writer.join();
            return port.Send("after\n");
        },
        [&] { return HasLine(form, "COM1: after"); },
    }, 15000);
    form.Buttons().Start()->click();
    if (writer.joinable()) writer.join();
    ASSERT_TRUE(script.Finished()) << "step " << script.Step();
    EXPECT_EQ(dialog.windowTitle(), QString(" kestrum_gui_tests: Send character string from COM1"));
    EXPECT_EQ(port.Receive(7), "hello\r\n");
    // Every byte that came while the dialog was open is in the protocol,
    // above the line sent after it.
    std::size_t ds = 0;
    int lastD = -1, sentLine = -1;
    for (int i = 0; i < form.Field().LineCount(); ++i) {
        const std::string line = form.Field().LineText(i);
        if (line.rfind("COM1: d", 0) == 0) {
            ds += line.size() - 6;
            lastD = i;
        }
        if (line == "User: hello<CR>") sentLine = i;
    }
    EXPECT_EQ(ds, 6000u);
    EXPECT_LT(lastD, sentLine);
    EXPECT_EQ(form.Channels().Channels[1].InputHistory[0], "68 65 6C 6C 6F");
}

}  // namespace
}  // namespace kestrum
