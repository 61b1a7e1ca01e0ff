// Arrival order and time, and the capture file, through the real window:
// pseudo-terminals mapped as COM ports, the recording running inside the
// Start click. Lines sent while the window is held up come out whole, in
// the order and with the times they were sent; a recording with
// "--capture FILE" leaves a complete file (also when the window closes
// during it) that our reader, and tshark with a Modbus RTU dissector, read
// back; the Settings menu's toggle turns the capture file on.
#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

#include "app/gui/main_menus.h"
#include "form_main_rig.h"
#include "platform/qt/qt_protocol_field.h"
#include "support/child_process.h"
#include "support/pcapng_reader.h"

namespace kestrum {
namespace {

using test::FormRig;
using test::PseudoTerminal;
using test::RecordingPurged;
using test::Script;

std::string Settings(const std::vector<const PseudoTerminal*>& ptys, const std::string& general = "",
                     const std::vector<std::string>& ids = {}) {
    std::string text = "[General]\r\nShowStartStopTime=0\r\nShowCrChar=0\r\n" + general;
    for (std::size_t i = 0; i < ptys.size(); ++i) {
        text += "[COM" + std::to_string(i + 1) + "]\r\nDevice=" + ptys[i]->Path + "\r\nMonitorChannel=1\r\n";
        if (i < ids.size()) text += "ChannelID=" + ids[i] + "\r\n";
    }
    return text;
}

std::vector<std::string> Lines(TFormMain& form) {
    std::vector<std::string> lines;
    for (int i = 0; i < form.Field().LineCount(); ++i) lines.push_back(form.Field().LineText(i));
    return lines;
}

std::int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

TEST(ArrivalEndToEnd, LinesSentWhileTheWindowIsHeldUpComeOutWholeInOrderWithTheirTimes) {
    PseudoTerminal one(true), two(true), three(true);
    FormRig rig;
    rig.WriteSettings(Settings({&one, &two, &three}, "ShowTimeTags=1\r\n"));
    TFormMain& form = rig.Open();
    const std::vector<const PseudoTerminal*> ptys = {&one, &two, &three};
    struct Sent {
        int Port;
        std::string Text;
        std::int64_t Time = 0;
    };
    std::vector<Sent> sent;
    for (int i = 0; i < 12; ++i) sent.push_back({i % 3, "reply " + std::to_string(i) + " of a bus"});
    std::thread writer;
    Script script(form, {
        [&] { return RecordingPurged(form); },
        [&] {
            // Lines on three ports in turn, as a bus of requests and replies,
            // while the window does nothing for half a second.
            writer = std::thread([&] {
                for (Sent& line : sent) {
                    line.Time = MonotonicNs();
                    ptys[static_cast<std::size_t>(line.Port)]->Send(line.Text + "\r\n");
                    std::this_thread::sleep_for(std::chrono::milliseconds(8));
                }
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            writer.join();
            return true;
        },
        [&] { return form.Field().LineCount() >= static_cast<int>(sent.size()); },
    });
    form.Buttons().Start()->click();
    ASSERT_TRUE(script.Finished()) << "step " << script.Step();
    const auto lines = Lines(form);
    ASSERT_EQ(lines.size(), sent.size());
    const double origin = static_cast<double>(form.Capture().ProtocolTime.CounterOrigin);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const std::string expected = "  COM" + std::to_string(sent[i].Port + 1) + ": " + sent[i].Text;
        ASSERT_GT(lines[i].size(), expected.size());
        EXPECT_EQ(lines[i].substr(lines[i].size() - expected.size()), expected) << "whole and in order";
        const double tag = std::stod(lines[i].substr(0, lines[i].find(' ')));
        const double truth = (static_cast<double>(sent[i].Time) - origin) / 1e9;
        // Shown half a second late at best; the tag is the time it arrived
        // (the margin allows for a busy machine; bench_e2e_gui measures it).
        EXPECT_NEAR(tag, truth, 0.02) << "the time it was sent, not the time it was shown";
    }
}

// Unit 17 reads holding register 0x006B; it answers 0x022B.
std::string WithModbusCrc(std::string message) {
    std::uint16_t crc = 0xFFFF;
    for (char c : message) {
        crc = static_cast<std::uint16_t>(crc ^ static_cast<unsigned char>(c));
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
    }
    message += static_cast<char>(crc & 0xFF);
    message += static_cast<char>(crc >> 8);
    return message;
}

std::string FindTshark() {
    for (const char* folder : {"/usr/bin", "/usr/local/bin"}) {
        const std::string candidate = std::string(folder) + "/tshark";
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

TEST(ArrivalEndToEnd, ARecordingWithACaptureFileOnTheCommandLineLeavesAFileTsharkDecodes) {
    PseudoTerminal master(true), slave(true);
    FormRig rig;
    rig.WriteSettings(Settings({&master, &slave}, "", {"Master", "Slave"}));
    const std::string path = rig.Folder / "bus.pcapng";
    TFormMain& form = rig.Open({"kestrum_gui_tests", "--capture", QString::fromStdString(path)});
    const std::string request = WithModbusCrc(std::string("\x11\x03\x00\x6B\x00\x01", 6));
    const std::string reply = WithModbusCrc(std::string("\x11\x03\x02\x02\x2B", 5));
    const std::string probe = "probe";
    Script script(form, {
        [&] { return RecordingPurged(form) && master.Send(request); },
        [&] { return form.Field().LineCount() >= 1 && slave.Send(reply); },
        [&] { return form.Field().LineCount() >= 2; },
        [&] {
            // Bytes the program sends go into the file as sent frames.
            std::uint32_t written = 0;
            return rig.Ports.WriteFile(form.Channels().Channels[1].Handle,
                                       reinterpret_cast<const std::uint8_t*>(probe.data()), 5, written);
        },
        [&] { return master.Receive(5) == probe; },
    });
    form.Buttons().Start()->click();
    ASSERT_TRUE(script.Finished()) << "step " << script.Step();

    const test::PcapngFile file = test::ParsePcapng(test::ReadFileBytes(path));
    ASSERT_TRUE(file.Ok()) << file.Problem;
    ASSERT_EQ(file.Interfaces.size(), 2u);
    EXPECT_EQ(file.Interfaces[0].Name, "COM1");
    EXPECT_EQ(file.Interfaces[0].Description, "Master");
    EXPECT_EQ(file.Interfaces[1].Description, "Slave");
    std::map<std::uint32_t, std::string> received, sentBytes;
    std::uint64_t last = 0;
    int complete = 0;
    for (const auto& packet : file.Packets) {
        const auto frame = test::ParseSerialFrame(packet.Data);
        ASSERT_TRUE(frame);
        if (frame->Event == 0x02) received[packet.Interface] += frame->Payload;
        if (frame->Event == 0x01) sentBytes[packet.Interface] += frame->Payload;
        if (frame->Event == 0x06) ++complete;
        EXPECT_GE(packet.Timestamp, last) << "times never go back";
        last = packet.Timestamp;
    }
    EXPECT_EQ(received[0], request);
    EXPECT_EQ(received[1], reply);
    EXPECT_EQ(sentBytes[0], probe);
    EXPECT_EQ(complete, 2) << "complete at Stop";

    if (FindTshark().empty()) GTEST_SKIP() << "tshark is not installed";
    test::ChildProcess tshark({FindTshark(), "-n", "-r", path, "-d", "rtacser.data,mbrtu", "-o",
                               "mbrtu.crc_verification:TRUE", "-Y", "mbrtu && rtacser.eventtype == 2", "-T", "fields", "-e",
                               "frame.interface_name", "-e", "mbrtu.unit_id", "-e", "modbus.func_code", "-e",
                               "mbrtu.crc16.status", "-e", "modbus.regval_uint16"});
    std::vector<std::string> rows = tshark.ReadAllLines(std::chrono::seconds(60));
    EXPECT_EQ(tshark.Wait(), 0);
    EXPECT_EQ(rows, (std::vector<std::string>{"COM1\t17\t3\t1\t", "COM2\t17\t3\t1\t555"}));
}

TEST(ArrivalEndToEnd, ClosingTheWindowDuringARecordingCompletesTheCaptureFile) {
    PseudoTerminal one(true);
    FormRig rig;
    rig.WriteSettings(Settings({&one}, "CaptureFile=1\r\nCaptureDirectory=" + (rig.Folder / "") + "\r\n"));
    TFormMain& form = rig.Open();
    Script script(form, {
        [&] { return RecordingPurged(form) && one.Send("to the end\r\n"); },
        [&] { return form.Field().LineCount() >= 1; },
        [&] {
            form.close();  // as a request of the system to end the program does
            return true;
        },
    });
    form.Buttons().Start()->click();
    const std::string path = form.Capture().CaptureFile.Path;
    ASSERT_FALSE(path.empty());
    const test::PcapngFile file = test::ParsePcapng(test::ReadFileBytes(path));
    ASSERT_TRUE(file.Ok()) << file.Problem;
    ASSERT_EQ(file.Packets.size(), 2u);
    EXPECT_EQ(test::ParseSerialFrame(file.Packets[0].Data)->Payload, "to the end\r\n");
    EXPECT_EQ(test::ParseSerialFrame(file.Packets[1].Data)->Event, 0x06);
    EXPECT_NE(rig.ReadSettings().find("CaptureFile=1"), std::string::npos) << "the setting is kept";
}

TEST(ArrivalEndToEnd, TheSettingsMenuTogglesTheCaptureFile) {
    FormRig rig;
    TFormMain& form = rig.Open();
    QAction* item = nullptr;
    for (QAction* action : form.findChildren<QAction*>())
        if (action->objectName() == "MainMenuSettingsCaptureFile") item = action;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Write a capture &file (pcapng) when recording");
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(form.Settings().CaptureFile);
    QTest::mouseClick(form.Buttons().Channel(1), Qt::LeftButton);  // anything that syncs the view
    form.SyncView(true);
    EXPECT_TRUE(item->isChecked());
    form.Wiring().Commands.Execute("MainMenuSettingsLanguageGerman", {true, 2});
    form.SyncView(true);
    EXPECT_EQ(item->text(), "Mitschnitt-Datei (pcapng) &aufzeichnen");
    rig.Close();
    EXPECT_NE(rig.ReadSettings().find("CaptureFile=1"), std::string::npos);
}

}  // namespace
}  // namespace kestrum
