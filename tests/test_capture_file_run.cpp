// The capture file of a recording: what the recorder writes for each kind of
// traffic and its interfaces, the file begun at Start and completed at Stop
// (by the setting, in the protocol folder, named by date and time; or by the
// command line, replaced once and appended to after), a file that cannot be
// written, the file names, the command-line option and the menu toggle.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/capture_argument.h"
#include "capture/capture_file_commands.h"
#include "capture/capture_file_path.h"
#include "capture/capture_file_recorder.h"
#include "capture/capture_file_run.h"
#include "fakes/capture_rig.h"
#include "support/pcapng_reader.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

using fakes::CaptureRig;
using test::ParsePcapng;
using test::ParseSerialFrame;
using test::PcapngFile;
using test::ReadFileBytes;
using test::ScratchFolder;

constexpr std::int64_t kT0 = 1'700'000'000'000'000'000;  // 2023-11-14, in ns

PcapngFile ReadCapture(const std::string& path) {
    PcapngFile file = ParsePcapng(ReadFileBytes(path));
    EXPECT_TRUE(file.Ok()) << file.Problem;
    return file;
}

void Play(PortTrafficRecorder& recorder, PortTrafficKind kind, const char* port, std::int64_t time,
          std::uint8_t lines = 0, const std::string& bytes = {}) {
    PortTraffic traffic;
    traffic.Kind = kind;
    traffic.PortName = port;
    traffic.UnixNanoseconds = time;
    traffic.Lines = lines;
    traffic.Data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    traffic.Size = bytes.size();
    recorder.Record(traffic);
}

TEST(CaptureFileRecorder, EveryKindOfTrafficBecomesItsFrame) {
    ScratchFolder folder;
    const std::string path = folder / "kinds.pcapng";
    struct Case {
        const char* Name;
        PortTrafficKind Kind;
        std::uint8_t Event;     // in the frame header
        std::string Bytes;      // given
        std::string Payload;    // written
    };
    const std::vector<Case> cases = {
        {"received chunk", PortTrafficKind::Received, 0x02, "rx", "rx"},
        {"sent bytes", PortTrafficKind::Sent, 0x01, "tx", "tx"},
        {"control lines changed", PortTrafficKind::LinesChanged, 0x00, "", ""},
        {"framing error", PortTrafficKind::FramingError, 0x07, "", ""},
        {"parity error", PortTrafficKind::ParityError, 0x08, "", ""},
        {"overrun", PortTrafficKind::Overrun, 0x0A, "", ""},
        {"break", PortTrafficKind::Break, 0x09, "", ""},
        {"input left out", PortTrafficKind::Dropped, 0x05, "", ""},
    };
    {
        CaptureFileRecorder recorder({{"COM1", "Meter", true}});
        ASSERT_TRUE(recorder.Open(path, false));
        for (std::size_t i = 0; i < cases.size(); ++i)
            Play(recorder, cases[i].Kind, "COM1", kT0 + static_cast<std::int64_t>(i) * 1000,
                 port_lines::kCts | port_lines::kDtr | port_lines::kRing, cases[i].Bytes);
        EXPECT_TRUE(recorder.Close(kT0));
    }
    const PcapngFile file = ReadCapture(path);
    ASSERT_EQ(file.Packets.size(), cases.size() + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto frame = ParseSerialFrame(file.Packets[i].Data);
        ASSERT_TRUE(frame) << cases[i].Name;
        EXPECT_EQ(frame->Event, cases[i].Event) << cases[i].Name;
        EXPECT_EQ(frame->Lines, 0x01 | 0x10 | 0x20) << cases[i].Name << ": CTS, DTR, RI";
        EXPECT_EQ(frame->Payload, cases[i].Payload) << cases[i].Name;
        EXPECT_EQ(file.Packets[i].Timestamp, static_cast<std::uint64_t>(kT0) + i * 1000) << cases[i].Name;
    }
    const auto complete = ParseSerialFrame(file.Packets.back().Data);
    EXPECT_EQ(complete->Event, 0x06) << "the file ends with CAPTURE_COMPLETE";
    EXPECT_EQ(file.Packets.back().Timestamp, static_cast<std::uint64_t>(kT0) + 7000) << "not before the last frame";
}

TEST(CaptureFileRecorder, RecordedChannelsFirstThenPortsAsTheyShowTraffic) {
    ScratchFolder folder;
    const std::string path = folder / "interfaces.pcapng";
    {
        CaptureFileRecorder recorder({{"COM1", "Master", true},
                                      {"COM2", "idle", false},
                                      {"COM3", "Z\xE4hler", true},
                                      {"COM4", "Slave", false}});
        ASSERT_TRUE(recorder.Open(path, false));
        Play(recorder, PortTrafficKind::Received, "COM4", kT0, 0, "late");
        Play(recorder, PortTrafficKind::Received, "COM9", kT0 + 1, 0, "unknown");
        Play(recorder, PortTrafficKind::Received, "COM1", kT0 + 2, 0, "m");
        ASSERT_TRUE(recorder.Close(kT0 + 3));
    }
    const PcapngFile file = ReadCapture(path);
    ASSERT_EQ(file.Interfaces.size(), 4u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"COM1", "Master"}, {"COM3", "Z\xC3\xA4hler"}, {"COM4", "Slave"}, {"COM9", "COM9"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(file.Interfaces[i].Name, expected[i].first);
        EXPECT_EQ(file.Interfaces[i].Description, expected[i].second);
        EXPECT_EQ(file.Interfaces[i].LinkType, 250);
    }
    ASSERT_GE(file.Packets.size(), 3u);
    EXPECT_EQ(file.Packets[0].Interface, 2u);
    EXPECT_EQ(file.Packets[1].Interface, 3u);
    EXPECT_EQ(file.Packets[2].Interface, 0u);
    EXPECT_EQ(file.Packets.size(), 3u + 4u) << "CAPTURE_COMPLETE on every interface";
}

TEST(CaptureFileRecorder, TicksKeepTheFileOnDiskAtMostASecondBehind) {
    // Ticks come every kTrafficTickNanoseconds (0.1 s): a flush is made when
    // the next tick would be a second or more after the last flush.
    struct Case {
        const char* Name;
        std::int64_t SecondTick;  // ns after the first
        bool Flushed;
    };
    const Case cases[] = {
        {"0.85 s after: not yet", 850'000'000, false},
        {"0.9 s after: the next tick would be 1 s after", 900'000'000, true},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const std::string path = folder / "ticks.pcapng";
        CaptureFileRecorder recorder({{"COM1", "COM1", true}});
        ASSERT_TRUE(recorder.Open(path, false));
        Play(recorder, PortTrafficKind::Received, "COM1", kT0, 0, "first");
        recorder.Tick(5'000'000'000);  // the first tick flushes
        EXPECT_EQ(ParsePcapng(ReadFileBytes(path)).Packets.size(), 1u) << c.Name;
        Play(recorder, PortTrafficKind::Received, "COM1", kT0 + 1, 0, "second");
        recorder.Tick(5'000'000'000 + c.SecondTick);
        const PcapngFile file = ParsePcapng(ReadFileBytes(path));
        EXPECT_TRUE(file.Ok()) << c.Name << ": the file on disk ends on a whole block";
        EXPECT_EQ(file.Packets.size(), c.Flushed ? 2u : 1u) << c.Name;
        EXPECT_TRUE(recorder.Close(kT0 + 2));
    }
}

// ---- begun at Start, completed at Stop -------------------------------------

struct RunRig : CaptureRig {
    ScratchFolder Folder;
    RunRig() {
        options.Monitor.ProtocolDirectory = Folder / "";
        OpenChannel(1);
        OpenChannel(3);
    }
    // Starts; the ports get `bytes` and so does the recorder they were given; stops.
    void Record(const std::string& bytes) {
        pump.When([this] { return state.Recording.FirstPhase; },
                  [this, bytes] {
                      RecorderDuringRun = ports.Recorder;
                      if (ports.Recorder) Play(*ports.Recorder, PortTrafficKind::Received, "COM3", kT0, 0, bytes);
                      Feed(3, bytes);
                  });
        StopWhenDrained();
        Start();
    }
    PortTrafficRecorder* RecorderDuringRun = nullptr;
};

TEST(CaptureFileRun, TheSettingWritesANewFileInTheProtocolFolderPerRecording) {
    RunRig rig;
    rig.options.CaptureFile = true;
    rig.Record("one\n");
    EXPECT_NE(rig.RecorderDuringRun, nullptr);
    EXPECT_EQ(rig.ports.Recorder, nullptr) << "taken back at Stop";
    const std::string first = rig.Folder / "Kestrum-20230315-120000.pcapng";
    EXPECT_EQ(rig.state.CaptureFile.Path, first);
    const PcapngFile file = ReadCapture(first);
    ASSERT_EQ(file.Interfaces.size(), 2u) << "the active channels";
    EXPECT_EQ(file.Interfaces[0].Name, "COM1");
    EXPECT_EQ(file.Interfaces[1].Name, "COM3");
    ASSERT_EQ(file.Packets.size(), 3u);
    EXPECT_EQ(ParseSerialFrame(file.Packets[0].Data)->Payload, "one\n");
    EXPECT_EQ(rig.DataLines(), std::vector<std::string>{"COM3: one"});

    rig.Record("two\n");  // the same second: a name of its own
    EXPECT_EQ(rig.state.CaptureFile.Path, rig.Folder / "Kestrum-20230315-120000-2.pcapng");
    EXPECT_EQ(ParseSerialFrame(ReadCapture(rig.state.CaptureFile.Path).Packets[0].Data)->Payload, "two\n");
    EXPECT_EQ(ReadCapture(first).Packets.size(), 3u) << "the first file stays as it was";
    EXPECT_TRUE(rig.messages.Boxes.empty());
}

TEST(CaptureFileRun, AFolderOfItsOwnIsUsedWhenSet) {
    RunRig rig;
    rig.options.CaptureFile = true;
    rig.options.CaptureDirectory = rig.Folder / "captures";
    std::filesystem::create_directory(rig.options.CaptureDirectory);
    rig.Record("x\n");
    EXPECT_EQ(rig.state.CaptureFile.Path, rig.Folder / "captures/Kestrum-20230315-120000.pcapng");
    EXPECT_TRUE(ReadCapture(rig.state.CaptureFile.Path).Ok());
}

TEST(CaptureFileRun, WithoutTheSettingOrTheCommandLineNoFile) {
    RunRig rig;
    rig.Record("x\n");
    EXPECT_EQ(rig.RecorderDuringRun, nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(rig.Folder / ""));
}

TEST(CaptureFileRun, TheCommandLineFileIsReplacedOnceThenAppendedTo) {
    RunRig rig;
    rig.state.CaptureFile.CommandLinePath = rig.Folder / "run.pcapng";
    test::WriteFileBytes(rig.state.CaptureFile.CommandLinePath, "old content");
    rig.Record("first\n");
    rig.options.MonitorMode = false;  // sender mode records what goes out and comes back too
    rig.Start();                      // sender mode: the file stays open until Stop
    EXPECT_NE(rig.ports.Recorder, nullptr);
    Play(*rig.ports.Recorder, PortTrafficKind::Sent, "COM1", kT0 + 5, 0, "request");
    rig.ClickStop();
    EXPECT_EQ(rig.ports.Recorder, nullptr);

    const PcapngFile file = ReadCapture(rig.state.CaptureFile.CommandLinePath);
    EXPECT_EQ(file.Sections, 2);
    ASSERT_EQ(file.Interfaces.size(), 4u);
    std::vector<std::string> payloads;
    for (const auto& packet : file.Packets)
        if (!ParseSerialFrame(packet.Data)->Payload.empty()) payloads.push_back(ParseSerialFrame(packet.Data)->Payload);
    EXPECT_EQ(payloads, (std::vector<std::string>{"first\n", "request"}));
    EXPECT_EQ(file.Interfaces[file.Packets[3].Interface].Name, "COM1") << "the request on COM1 of the second section";
}

TEST(CaptureFileRun, AFileThatCannotBeWrittenIsReportedAndTheRecordingGoesOn) {
    RunRig rig;
    rig.options.CaptureFile = true;
    rig.options.CaptureDirectory = rig.Folder / "missing";
    rig.Record("kept\n");
    EXPECT_EQ(rig.RecorderDuringRun, nullptr);
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Boxes[0].Kind, MessageKind::Error);
    EXPECT_EQ(rig.messages.Boxes[0].Text, "Writing the capture file " + rig.Folder / "missing/Kestrum-20230315-120000.pcapng" +
                                              " failed:\rNo such file or directory");
    EXPECT_EQ(rig.messages.Calls, (std::vector<std::string>{"beep", "box"}));
    EXPECT_EQ(rig.DataLines(), std::vector<std::string>{"COM3: kept"});
}

TEST(CaptureFileRun, EndingTwiceClosesOnce) {
    RunRig rig;
    rig.options.CaptureFile = true;
    rig.options.MonitorMode = false;
    rig.Start();
    ASSERT_NE(rig.ports.Recorder, nullptr);
    EndCaptureFile(rig.ctx);  // the window closes while sending
    EndCaptureFile(rig.ctx);
    EXPECT_EQ(rig.ports.Recorder, nullptr);
    EXPECT_TRUE(ReadCapture(rig.state.CaptureFile.Path).Ok());
    EXPECT_TRUE(rig.messages.Boxes.empty());
}

// ---- names, the command line and the menu toggle ----------------------------

TEST(CaptureFilePath, NamedByTheLocalDateAndTime) {
    struct Case {
        const char* Name;
        DateTime When;
        const char* Expected;
    };
    const Case cases[] = {
        {"the Unix epoch", 25569.0, "k-19700101-000000.pcapng"},
        {"a leap day just before midnight", 36585.0 + 86399.0 / 86400.0, "k-20000229-235959.pcapng"},
        {"noon", 45000.5, "k-20230315-120000.pcapng"},
        {"a second that is a hair short", 45000.0 + (3600.0 - 1e-9) / 86400.0, "k-20230315-010000.pcapng"},
    };
    for (const Case& c : cases) EXPECT_EQ(CaptureFileName("k", c.When), c.Expected) << c.Name;
}

TEST(CaptureArgumentTable, TakenOutWhereverItStands) {
    const std::string here = std::filesystem::current_path().string();
    struct Case {
        const char* Name;
        std::vector<std::string> Arguments;
        std::vector<std::string> Rest;
        std::string Path;
        bool Problem;
    };
    const std::vector<Case> cases = {
        {"none", {"kestrum", "file.rtf"}, {"kestrum", "file.rtf"}, "", false},
        {"before the protocol file", {"kestrum", "--capture", "/tmp/a.pcapng", "file.rtf"},
         {"kestrum", "file.rtf"}, "/tmp/a.pcapng", false},
        {"after it, with =", {"kestrum", "/?", "--capture=/tmp/b.pcapng"}, {"kestrum", "/?"}, "/tmp/b.pcapng",
         false},
        {"relative to the current folder", {"kestrum", "--capture", "c.pcapng"}, {"kestrum"}, here + "/c.pcapng",
         false},
        {"the last one counts", {"kestrum", "--capture=/x", "--capture", "/y"}, {"kestrum"}, "/y", false},
        {"without a file name", {"kestrum", "--capture"}, {"kestrum"}, "", true},
        {"with an empty name", {"kestrum", "--capture="}, {"kestrum"}, "", true},
        {"a word that only starts alike", {"kestrum", "--captured"}, {"kestrum", "--captured"}, "", false},
        {"the program's own name is never taken", {"--capture", "x"}, {"--capture", "x"}, "", false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.Arguments;
        const CaptureArgument taken = TakeCaptureArgument(arguments);
        EXPECT_EQ(arguments, c.Rest) << c.Name;
        EXPECT_EQ(taken.Path, c.Path) << c.Name;
        EXPECT_EQ(!taken.Problem.empty(), c.Problem) << c.Name;
    }
}

TEST(CaptureFileCommands, TheToggleStoresAndShowsTheOption) {
    Options options;
    CommandTable table;
    AddCaptureFileCommands(table, options);
    MainView view;
    view.DeclareItems({"MainMenuSettingsCaptureFile"});
    EXPECT_TRUE(table.Execute("MainMenuSettingsCaptureFile", {true, 0}));
    EXPECT_TRUE(options.CaptureFile);
    table.ShowStates(view);
    EXPECT_TRUE(view.Item("MainMenuSettingsCaptureFile").Checked);
    EXPECT_TRUE(view.Item("MainMenuSettingsCaptureFile").Enabled);
    table.Execute("MainMenuSettingsCaptureFile", {false, 0});
    EXPECT_FALSE(options.CaptureFile);
}

}  // namespace
}  // namespace kestrum
