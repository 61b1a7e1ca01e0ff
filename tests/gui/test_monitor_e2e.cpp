// Monitor mode from end to end: pseudo-terminals mapped as COM ports, the
// real window, the recording engine running inside the Start click.
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <sys/file.h>

#include "app/gui/main_menus.h"
#include "form_main_rig.h"
#include "platform/qt/qt_protocol_field.h"
#include "platform/qt/qt_text.h"
#include "sender/gui/form_get_input_line.h"

namespace kestrum {
namespace {

using test::FormRig;
using test::PseudoTerminal;
using test::RecordingPurged;
using test::Script;

std::string Settings(const std::vector<const PseudoTerminal*>& ptys, bool monitor = true) {
    std::string text = "[General]\r\nShowTimeTags=0\r\n";
    for (std::size_t i = 0; i < ptys.size(); ++i) {
        text += "[COM" + std::to_string(i + 1) + "]\r\nDevice=" + ptys[i]->Path + "\r\nMonitorChannel=" +
                (monitor ? "1" : "0") + "\r\n";
    }
    return text;
}

std::vector<std::string> Lines(TFormMain& form) {
    std::vector<std::string> lines;
    for (int i = 0; i < form.Field().LineCount(); ++i) lines.push_back(form.Field().LineText(i));
    return lines;
}

bool HasLine(TFormMain& form, const std::string& text) {
    for (const std::string& line : Lines(form))
        if (line == text) return true;
    return false;
}

QColor LineColour(TFormMain& form, int index) {
    const QTextBlock block = form.RichEdit().document()->findBlockByNumber(index);
    return block.begin().fragment().charFormat().foreground().color();
}

int IndexOf(TFormMain& form, const std::string& text) {
    const auto lines = Lines(form);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == text) return static_cast<int>(i);
    return -1;
}

TEST(MonitorEndToEnd, TwoPortsRecordFormattedLinesInOrder) {
    PseudoTerminal one(true), two(true);
    ASSERT_FALSE(one.Path.empty());
    FormRig rig;
    rig.WriteSettings(Settings({&one, &two}));
    TFormMain& form = rig.Open();
    ASSERT_TRUE(form.Channels().Channels[1].Open);
    ASSERT_TRUE(form.Channels().Channels[2].Open);
    EXPECT_TRUE(form.Buttons().Channel(1)->isChecked());
    EXPECT_EQ(form.Buttons().Channel(1)->toolTip(), QString("Deactivate COM1 port\n(9600,8,N,1)"));

    bool stopShown = false;
    Script script(form, {
        [&] {
            return form.Buttons().Start()->text() == "Stop" && form.Buttons().Start()->isChecked() &&
                   RecordingPurged(form);
        },
        [&] { return one.Send("hello\r\n"); },
        [&] { return HasLine(form, "COM1: hello<CR>"); },
        [&] { return two.Send("world\r\n"); },
        [&] { return HasLine(form, "COM2: world<CR>"); },
        [&] { return one.Send("again\r\n"); },
        [&] { return HasLine(form, "COM1: again<CR>"); },
        [&] { stopShown = form.Buttons().Start()->toolTip() == "Stop recording the protocol"; return true; },
    });
    form.Buttons().Start()->click();  // returns when the recording has ended
    ASSERT_TRUE(script.Finished()) << "timed out";
    EXPECT_TRUE(stopShown);
    EXPECT_FALSE(form.Capture().Recording.Running);
    EXPECT_EQ(form.Buttons().Start()->text(), QString("Start"));
    EXPECT_FALSE(form.Buttons().Start()->isChecked());

    const auto lines = Lines(form);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines.front().rfind("Start: ", 0), 0u) << lines.front();
    EXPECT_EQ(lines.back().rfind("Stop:  ", 0), 0u) << lines.back();
    const int a = IndexOf(form, "COM1: hello<CR>");
    const int b = IndexOf(form, "COM2: world<CR>");
    const int c = IndexOf(form, "COM1: again<CR>");
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_EQ(LineColour(form, a), QColor(255, 0, 0));  // channel 1 red
    EXPECT_EQ(LineColour(form, b), QColor(0, 0, 255));  // channel 2 blue
}

TEST(MonitorEndToEnd, ChannelButtonOpensAndClosesItsPortWhileRecording) {
    PseudoTerminal one(true);
    FormRig rig;
    rig.WriteSettings(Settings({&one}, false));
    TFormMain& form = rig.Open();
    ASSERT_TRUE(form.Channels().Channels[1].Installed);
    EXPECT_FALSE(form.Channels().Channels[1].Open);
    EXPECT_TRUE(form.Buttons().Channel(1)->isEnabled());
    EXPECT_FALSE(form.Buttons().Channel(1)->isChecked());

    Script script(form, {
        [&] { return RecordingPurged(form); },
        [&] { form.Buttons().Channel(1)->click(); return true; },
        [&] { return form.Channels().Channels[1].Open && one.Send("on\r\n"); },
        [&] { return HasLine(form, "COM1: on<CR>"); },
        [&] { form.Buttons().Channel(1)->click(); return true; },
        [&] { return !form.Channels().Channels[1].Open && one.Send("off\r\n"); },
        [&] { QTest::qWait(150); return true; },
    });
    form.Buttons().Start()->click();
    ASSERT_TRUE(script.Finished());
    EXPECT_FALSE(HasLine(form, "COM1: off<CR>"));
    EXPECT_FALSE(form.Channels().Channels[1].MonitorChannel);
    EXPECT_EQ(form.Buttons().Channel(1)->toolTip(), QString("Activate COM1 port\n(9600,8,N,1)"));
}

TEST(MonitorEndToEnd, ClearAndDisplayModeWhileRecording) {
    PseudoTerminal one(true);
    FormRig rig;
    rig.WriteSettings(Settings({&one}));
    TFormMain& form = rig.Open();
    Script script(form, {
        [&] { return RecordingPurged(form) && one.Send("first\r\n"); },
        [&] { return HasLine(form, "COM1: first<CR>"); },
        [&] { QTest::mouseClick(form.Buttons().Clear(), Qt::LeftButton); return true; },
        [&] { return form.Field().LineCount() == 0; },
        [&] { QTest::mouseClick(form.Buttons().Hex(), Qt::LeftButton); return true; },
        [&] { return one.Send("AB\r\n"); },  // the pass that saw the click has ended
        [&] {
            for (const std::string& line : Lines(form))
                if (line.rfind("COM1: 41 42 0D 0A", 0) == 0) return true;
            return false;
        },
    });
    form.Buttons().Start()->click();
    std::string all;
    for (const auto& l : Lines(form)) all += "[" + l + "]\n";
    ASSERT_TRUE(script.Finished()) << "step " << script.Step() << " lines " << all;
    EXPECT_FALSE(HasLine(form, "COM1: first<CR>"));
    EXPECT_EQ(form.Settings().LogMode, LogMode::Hex);
}

// Text the user puts into the protocol while a channel's line is still open
// stays where it went, after that line; the channel goes on in a new line.
TEST(MonitorEndToEnd, TextFromTheUserDuringRecordingIsKept) {
    const auto endOf = [](QPlainTextEdit& edit) {
        QTextCursor cursor = edit.textCursor();
        cursor.movePosition(QTextCursor::End);
        return edit.cursorRect(cursor).center();
    };
    const struct {
        const char* Name;
        std::function<void(QPlainTextEdit&)> Insert;
    } ways[] = {
        {"typed", [](QPlainTextEdit& edit) { QTest::keyClicks(&edit, "XYZ"); }},
        {"input method",
         [](QPlainTextEdit& edit) {
             QInputMethodEvent commit;
             commit.setCommitString("XYZ");
             QApplication::sendEvent(&edit, &commit);
         }},
        {"dropped",
         [&](QPlainTextEdit& edit) {
             QMimeData data;
             data.setText("XYZ");
             const QPoint at = endOf(edit);
             QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(edit.viewport(), &enter);
             QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(edit.viewport(), &move);
             QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(edit.viewport(), &drop);
         }},
        {"middle-click paste",
         [&](QPlainTextEdit& edit) {
             QGuiApplication::clipboard()->setText("XYZ", QClipboard::Selection);
             QTest::mouseClick(edit.viewport(), Qt::MiddleButton, Qt::NoModifier, endOf(edit));
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.Name);
        if (std::string(way.Name) == "middle-click paste" && !QGuiApplication::clipboard()->supportsSelection())
            continue;  // no selection clipboard on this platform
        PseudoTerminal one(true);
        FormRig rig;
        rig.WriteSettings(Settings({&one}));
        TFormMain& form = rig.Open();
        Script script(form, {
            [&] { return RecordingPurged(form) && one.Send("abc"); },
            [&] { return HasLine(form, "COM1: abc"); },  // open line, shown at its time-out
            [&] { way.Insert(form.RichEdit()); return true; },
            [&] { return one.Send("def\r\n"); },
            [&] { return HasLine(form, "COM1: def<CR>"); },
        });
        form.Buttons().Start()->click();
        std::string all;
        for (const auto& l : Lines(form)) all += "[" + l + "]\n";
        ASSERT_TRUE(script.Finished()) << "step " << script.Step() << " lines " << all;
        const int abc = IndexOf(form, "COM1: abc");
        const int user = IndexOf(form, "XYZ");
        const int def = IndexOf(form, "COM1: def<CR>");
        EXPECT_GE(abc, 0) << all;
        EXPECT_GT(user, abc) << all;
        EXPECT_GT(def, user) << all;
    }
}

TEST(MonitorEndToEnd, LanguageSwitchWhileRecordingKeepsStop) {
    PseudoTerminal one(true);
    FormRig rig;
    rig.WriteSettings(Settings({&one}));
    TFormMain& form = rig.Open();
    bool stillStop = false;
    bool stillRunning = false;
    Script script(form, {
        [&] { return RecordingPurged(form); },
        [&] { form.Menus().Action("MainMenuSettingsLanguageGerman")->trigger(); return true; },
        [&] {
            stillStop = form.Buttons().Start()->text() == "Stop" && form.Buttons().Start()->isChecked() &&
                        form.Buttons().Start()->toolTip() == "Aufzeichnung des Protokolls anhalten";
            stillRunning = form.Capture().Recording.Running;
            return one.Send("x\r\n");
        },
        [&] { return HasLine(form, "COM1: x<CR>"); },
    });
    form.Buttons().Start()->click();
    ASSERT_TRUE(script.Finished());
    EXPECT_TRUE(stillStop);
    EXPECT_TRUE(stillRunning);
    EXPECT_EQ(form.Buttons().Start()->text(), QString("Start"));
}

TEST(MonitorEndToEnd, CtrlDigitWhileRecordingAsksForTheSendDialog) {
    PseudoTerminal one(true), two(true), three(true);
    FormRig rig;
    std::string settings = Settings({&one, &two, &three});
    settings.replace(settings.find("MonitorChannel=1", settings.find("[COM2]")), 16, "MonitorChannel=0");
    rig.WriteSettings(settings);
    TFormMain& form = rig.Open();
    QSignalSpy requests(&form, &TFormMain::ManualSendRequested);
    QTest::keyClick(&form.RichEdit(), Qt::Key_3, Qt::ControlModifier);  // not recording
    EXPECT_EQ(requests.count(), 0);
    // The send dialog that opens is cancelled (it may open while the keys
    // are still being typed).
    int dialogs = 0;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (!form.FormGetInputLine().isVisible()) return;
        ++dialogs;
        form.FormGetInputLine().reject();
    });
    cancel.start(2);
    Script script(form, {
        [&] { return form.Capture().Recording.Running; },
        [&] {
            QTest::keyClick(&form.RichEdit(), Qt::Key_3, Qt::ControlModifier);
            QTest::keyClick(&form.RichEdit(), Qt::Key_3, Qt::ControlModifier | Qt::AltModifier);
            QTest::keyClick(&form.RichEdit(), Qt::Key_2, Qt::ControlModifier);  // inactive
            QTest::keyClick(&form.RichEdit(), Qt::Key_3, Qt::ControlModifier | Qt::KeypadModifier);
            return true;
        },
        [&] { return dialogs == 1; },
    });
    form.Buttons().Start()->click();
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.at(0).at(0).toInt(), 3);
}

TEST(MonitorEndToEnd, PortHeldElsewhereShowsTheMessageAndStaysUp) {
    PseudoTerminal one(true);
    FormRig rig;
    rig.WriteSettings(Settings({&one}, false));
    const int holder = ::open(one.Path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    TFormMain& form = rig.Open();
    test::MessageBoxCatcher catcher;
    form.Buttons().Channel(1)->click();
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Seen, 1, 2000);
    EXPECT_EQ(catcher.Text,
              QString("SpeedButtonChannelOnClick: The COM1 port is currently\nopened by another process."));
    EXPECT_FALSE(form.Buttons().Channel(1)->isChecked());
    EXPECT_FALSE(form.Channels().Channels[1].Active);
    EXPECT_EQ(form.Buttons().Channel(1)->toolTip(), QString("Activate COM1 port\n(9600,8,N,1)"));
    EXPECT_TRUE(form.isVisible());
    ::close(holder);
    // Once free, the next click opens it.
    form.Buttons().Channel(1)->click();
    EXPECT_TRUE(form.Channels().Channels[1].Open);
    EXPECT_EQ(catcher.Seen, 1);
}

TEST(MonitorEndToEnd, CloseWhileRecordingClosesPortsAndWritesSettings) {
    PseudoTerminal one(true);
    FormRig rig;
    rig.WriteSettings(Settings({&one}));
    TFormMain& form = rig.Open();
    Script script(form, {
        [&] { return form.Capture().Recording.Running; },
        [&] { form.close(); return true; },
    });
    form.Buttons().Start()->click();
    EXPECT_FALSE(form.Capture().Recording.Running);
    EXPECT_FALSE(form.Channels().Channels[1].Open);
    const std::string saved = rig.ReadSettings();
    EXPECT_NE(saved.find("Device=" + one.Path), std::string::npos);
    EXPECT_NE(saved.find("MonitorChannel=1"), std::string::npos);
    EXPECT_NE(saved.find("[FormMain]"), std::string::npos);
}

}  // namespace
}  // namespace kestrum

namespace kestrum {
namespace {

// An installed channel's caption shows its colour (silver as black); a
// channel without a port keeps the greyed caption of a disabled button.
TEST(MonitorEndToEnd, ChannelCaptionsShowTheirColourOnlyWhenInstalled) {
    PseudoTerminal one(true);
    ASSERT_FALSE(one.Path.empty());
    FormRig rig;
    rig.WriteSettings(Settings({&one}) + "FontColor=12632256\r\n[COM2]\r\nFontColor=255\r\n");
    TFormMain& form = rig.Open();
    SpeedButton* installed = form.Buttons().Channel(1);
    SpeedButton* missing = form.Buttons().Channel(2);
    ASSERT_TRUE(installed->isEnabled());
    ASSERT_FALSE(missing->isEnabled());
    EXPECT_EQ(installed->palette().color(QPalette::Active, QPalette::ButtonText), QColor(Qt::black));
    EXPECT_EQ(missing->palette().color(QPalette::Active, QPalette::ButtonText), QColor(255, 0, 0));
    EXPECT_NE(missing->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor(255, 0, 0));
    rig.Close();
}

}  // namespace
}  // namespace kestrum
