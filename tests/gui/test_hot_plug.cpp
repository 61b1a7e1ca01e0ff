// Adapters that come and go while two ports record, through the real window:
// pseudo-terminals behind links in a temporary folder that a real device
// watcher follows. Unplugging one greys its button at once and the other
// goes on without losing a byte; plugging it back enables the button, up.
// A line that hangs up counts as gone even without a watcher; with automatic
// detection off nothing changes; a storm of unrelated files beside the links
// never touches the recorded ports.
#include <gtest/gtest.h>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "form_main_rig.h"
#include "platform/linux/device_watcher_linux.h"
#include "platform/qt/qt_protocol_field.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using test::FormRig;
using test::PseudoTerminal;
using test::RecordingPurged;
using test::Script;

struct HotPlug : ::testing::Test {
    PseudoTerminal one{true};
    PseudoTerminal two{true};
    PseudoTerminal spare{true};  // the adapter plugged in later
    FormRig rig;
    std::string links = rig.Folder / "links";
    std::string link1 = links + "/usb-Alpha-if00";
    std::string link2 = links + "/usb-Beta-if00";
    LinuxDeviceWatcher watcher{rig.Folder / "dev", ""};
    TFormMain* form = nullptr;

    ~HotPlug() override { rig.Close(); }  // the window goes before the watcher it listens to

    void Open(bool withWatcher, const std::string& general = {}) {
        fs::create_directories(links);
        fs::create_directories(rig.Folder / "dev");
        fs::create_symlink(one.Path, link1);
        fs::create_symlink(two.Path, link2);
        rig.WriteSettings("[General]\r\nShowTimeTags=0\r\nShowStartStopTime=0\r\n" + general + "[COM1]\r\nDevice=" +
                          link1 + "\r\nMonitorChannel=1\r\n[COM2]\r\nDevice=" + link2 + "\r\nMonitorChannel=1\r\n");
        if (withWatcher) rig.Watcher = &watcher;
        form = &rig.Open();
    }
    void Unplug() {
        fs::remove(link1);
        one.CloseMaster();
    }
    SpeedButton* Button(int n) { return form->Buttons().Channel(n); }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        for (int i = 0; i < form->Field().LineCount(); ++i) lines.push_back(form->Field().LineText(i));
        return lines;
    }
    bool Has(const std::string& text) {
        for (const std::string& line : Lines())
            if (line == text) return true;
        return false;
    }
    int Count(const std::string& prefix) {
        int count = 0;
        for (const std::string& line : Lines()) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }
};

TEST_F(HotPlug, UnplugAndPlugBackWhileRecording) {
    Open(true);
    ASSERT_TRUE(Button(1)->isChecked());
    ASSERT_TRUE(Button(2)->isChecked());
    const PortHandle com2 = form->Channels().Channel(2).Handle;
    Script script(*form, {
                             [&] { return RecordingPurged(*form) && one.Send("a1\r\n"); },
                             [&] { return Has("COM1: a1<CR>") && two.Send("b1\r\n"); },
                             [&] { return Has("COM2: b1<CR>"); },
                             [&] {
                                 Unplug();
                                 return two.Send("b2\r\n");
                             },
                             [&] { return !Button(1)->isEnabled() && !Button(1)->isChecked(); },
                             [&] { return two.Send("b3\r\n"); },
                             [&] { return Has("COM2: b2<CR>") && Has("COM2: b3<CR>"); },
                             [&] {
                                 fs::create_symlink(spare.Path, link1);
                                 return true;
                             },
                             [&] { return Button(1)->isEnabled(); },
                             [&] { return spare.Send("not recorded\r\n") && two.Send("b4\r\n"); },
                             [&] { return Has("COM2: b4<CR>"); },
                         });
    form->Buttons().Start()->click();
    std::string shown;
    for (const std::string& line : Lines()) shown += "[" + line + "]";
    ASSERT_TRUE(script.Finished()) << "step " << script.Step() << " " << shown << " COM1 "
                                   << form->Channels().Channel(1).Open << form->Channels().Channel(1).Installed;
    const ChannelRecord& com1 = form->Channels().Channel(1);
    EXPECT_TRUE(com1.Installed);
    EXPECT_FALSE(com1.Open) << "plugged back in: enabled but not opened";
    EXPECT_FALSE(com1.Active);
    EXPECT_FALSE(com1.MonitorChannel);
    EXPECT_FALSE(Button(1)->isChecked());
    EXPECT_EQ(QString("Activate COM1 port\n(9600,8,N,1)"), Button(1)->toolTip());
    EXPECT_EQ(com2, form->Channels().Channel(2).Handle) << "the other port was never reopened";
    for (const char* line : {"COM2: b1<CR>", "COM2: b2<CR>", "COM2: b3<CR>", "COM2: b4<CR>"})
        EXPECT_EQ(1, Count(line)) << line;
    EXPECT_EQ(0, Count("COM1: not recorded"));
}

TEST_F(HotPlug, AHungUpLineIsGoneAtOnceWhileTheOtherPortRecords) {
    Open(false);  // no device watcher: the line itself tells
    std::string sent;
    int next = 0;
    const auto sendSome = [&] {
        for (int i = 0; i < 20; ++i, ++next) {
            const std::string line = "line " + std::to_string(next) + "\r\n";
            if (!two.Send(line)) return false;
            sent += line;
        }
        return true;
    };
    Script script(*form, {
                             [&] { return RecordingPurged(*form) && sendSome(); },
                             [&] {
                                 one.CloseMaster();
                                 return sendSome();
                             },
                             [&] { return !Button(1)->isEnabled() && !Button(1)->isChecked(); },
                             [&] { return sendSome(); },
                             [&] { return Has("COM2: line " + std::to_string(next - 1) + "<CR>"); },
                         });
    form->Buttons().Start()->click();
    ASSERT_TRUE(script.Finished()) << "step " << script.Step();
    EXPECT_FALSE(form->Channels().Channel(1).Open);
    EXPECT_EQ(QString("Port COM1 not installed"), Button(1)->toolTip());
    for (int i = 0; i < next; ++i) EXPECT_EQ(1, Count("COM2: line " + std::to_string(i) + "<CR>")) << "line " << i;
    EXPECT_TRUE(Button(2)->isChecked());
}

TEST_F(HotPlug, WithDetectionOffUnpluggingChangesNothing) {
    Open(true, "AutoDetectDeviceChanges=0\r\n");
    Unplug();
    QTest::qWait(1500);  // past TimerDeviceChange and many line checks
    EXPECT_TRUE(Button(1)->isEnabled());
    EXPECT_TRUE(Button(1)->isChecked());
    EXPECT_TRUE(form->Channels().Channel(1).Installed);
    EXPECT_TRUE(form->Channels().Channel(1).MonitorChannel);
}

TEST_F(HotPlug, UnrelatedFilesBesideTheLinksNeverTouchTheRecordedPorts) {
    Open(true);
    const PortHandle com1 = form->Channels().Channel(1).Handle;
    int lines = 0;
    int files = 0;
    Script script(*form, {
                             [&] { return RecordingPurged(*form); },
                             [&] {
                                 // A line is sent, and while it is on its way ten files come and
                                 // go in the watched folder.
                                 one.Send("storm " + std::to_string(lines++) + "\r\n");
                                 for (int i = 0; i < 10; ++i, ++files) {
                                     const std::string path = links + "/data-" + std::to_string(files);
                                     test::WriteFileBytes(path, "x");
                                     fs::remove(path);
                                 }
                                 return lines == 100;
                             },
                             [&] { return Has("COM1: storm 99<CR>"); },
                         });
    form->Buttons().Start()->click();
    ASSERT_TRUE(script.Finished()) << "step " << script.Step();
    EXPECT_EQ(com1, form->Channels().Channel(1).Handle);
    for (int i = 0; i < lines; ++i) EXPECT_EQ(1, Count("COM1: storm " + std::to_string(i) + "<CR>")) << i;
    EXPECT_TRUE(Button(1)->isChecked());
}

}  // namespace
}  // namespace kestrum
