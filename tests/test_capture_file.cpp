#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "capture/capture_file.h"
#include "capture/file_byte_sink.h"
#include "capture/windows1252_utf8.h"
#include "support/child_process.h"
#include "support/pcapng_reader.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

using test::ParsePcapng;
using test::ParseSerialFrame;
using test::PcapngFile;

// Keeps what it is given; refuses everything once `Capacity` bytes are reached.
class MemorySink : public ByteSink {
public:
    std::string Bytes;
    std::size_t Capacity = std::string::npos;
    int Writes = 0;
    int Flushes = 0;
    bool Closed = false;

    bool Write(const std::uint8_t* data, std::size_t size) override {
        ++Writes;
        if (Bytes.size() + size > Capacity) return false;
        Bytes.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    bool Flush() override {
        ++Flushes;
        return true;
    }
    bool Close() override {
        Closed = true;
        return true;
    }
};

constexpr std::int64_t kSecond = 1'000'000'000;
constexpr std::int64_t kT0 = 1'700'000'000 * kSecond;  // 2023-11-14

PcapngFile Written(MemorySink& sink) {
    PcapngFile file = ParsePcapng(sink.Bytes);
    EXPECT_TRUE(file.Ok()) << file.Problem;
    return file;
}

TEST(CaptureFileLayout, SectionAndInterfaceBlocks) {
    MemorySink sink;
    CaptureFileWriter writer(sink);
    ASSERT_TRUE(writer.Begin());
    EXPECT_EQ(sink.Flushes, 1) << "the section header reaches the file at once";
    ASSERT_EQ(writer.AddInterface("COM3", "Z\xE4hler \x80"), 0u);
    ASSERT_EQ(writer.AddInterface("COM12", ""), 1u);
    ASSERT_TRUE(writer.Close());
    EXPECT_TRUE(sink.Closed);

    const PcapngFile file = Written(sink);
    ASSERT_EQ(file.Blocks.size(), 3u);
    EXPECT_EQ(file.MajorVersion, 1);
    EXPECT_EQ(file.MinorVersion, 0);
    EXPECT_EQ(file.SectionLength, -1);
    EXPECT_EQ(file.SectionOption(4), "Kestrum");
    // Section header: 28 fixed bytes, "Kestrum" (7, padded to 8) and the end option.
    EXPECT_EQ(file.Blocks[0].TotalLength, 28u + 4 + 8 + 4);
    ASSERT_EQ(file.Interfaces.size(), 2u);
    const auto& first = file.Interfaces[0];
    EXPECT_EQ(first.LinkType, 250);
    EXPECT_EQ(first.SnapLength, 65536u);
    EXPECT_EQ(first.Name, "COM3");
    EXPECT_EQ(first.Description, "Z\xC3\xA4hler \xE2\x82\xAC") << "Windows-1252 text written as UTF-8";
    EXPECT_EQ(first.TimestampResolution, 9);
    // 20 fixed bytes, name 4, description 11 (padded 12), resolution 1 (padded 4), end option.
    EXPECT_EQ(file.Blocks[1].TotalLength, 20u + (4 + 4) + (4 + 12) + (4 + 4) + 4);
    EXPECT_EQ(file.Interfaces[1].Name, "COM12");
    EXPECT_EQ(file.Interfaces[1].Description, "");
}

struct PacketLengthCase {
    const char* Name;
    std::size_t Payload;
    std::uint32_t BlockLength;  // 32 bytes of block + header and payload padded to 4
};
void PrintTo(const PacketLengthCase& c, std::ostream* os) { *os << c.Name; }

class CaptureFilePacketLength : public ::testing::TestWithParam<PacketLengthCase> {};

TEST_P(CaptureFilePacketLength, PaddedToFourBytes) {
    const PacketLengthCase& c = GetParam();
    MemorySink sink;
    CaptureFileWriter writer(sink);
    writer.Begin();
    const auto com1 = *writer.AddInterface("COM1", "A");
    const std::string payload(c.Payload, '\xA5');
    ASSERT_TRUE(writer.WriteFrame(com1, kT0, SerialEvent::DataRxStart, {}, payload));
    writer.Close();
    const PcapngFile file = Written(sink);
    ASSERT_EQ(file.Packets.size(), 1u);
    EXPECT_EQ(file.Blocks.back().TotalLength, c.BlockLength);
    EXPECT_EQ(file.Packets[0].Data.size(), 12 + c.Payload);
    EXPECT_EQ(file.Packets[0].OriginalLength, 12 + c.Payload);
    EXPECT_EQ(ParseSerialFrame(file.Packets[0].Data)->Payload, payload);
}

INSTANTIATE_TEST_SUITE_P(Cases, CaptureFilePacketLength,
                         ::testing::Values(PacketLengthCase{"HeaderOnly", 0, 44}, PacketLengthCase{"One", 1, 48},
                                           PacketLengthCase{"Three", 3, 48}, PacketLengthCase{"Four", 4, 48},
                                           PacketLengthCase{"Five", 5, 52}),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(CaptureFileFrames, TwoInterfacesInterleavedKeepOrderEventsAndLines) {
    MemorySink sink;
    CaptureFileWriter writer(sink);
    writer.Begin();
    const auto com1 = *writer.AddInterface("COM1", "Master");
    const auto com2 = *writer.AddInterface("COM2", "Slave");
    const ControlLines lines = ControlLines{}.With(ControlLine::Cts).With(ControlLine::Dtr);
    writer.WriteFrame(com1, kT0 + 1000, SerialEvent::DataRxStart, lines, "ab");
    writer.WriteFrame(com2, kT0 + 2000, SerialEvent::DataTxStart, {}, "cde");
    writer.WriteEvent(com1, kT0 + 3000, SerialEvent::ParityError, lines);
    writer.WriteFrame(com2, kT0 + 4000, SerialEvent::DataRxStart, {}, std::string_view("\0\xFF", 2));
    writer.Close();

    const PcapngFile file = Written(sink);
    struct Expected {
        std::uint32_t Interface;
        std::int64_t Time;
        SerialEvent Event;
        std::uint8_t Lines;
        std::string Payload;
    };
    const std::vector<Expected> expected = {
        {com1, kT0 + 1000, SerialEvent::DataRxStart, 0x11, "ab"},
        {com2, kT0 + 2000, SerialEvent::DataTxStart, 0x00, "cde"},
        {com1, kT0 + 3000, SerialEvent::ParityError, 0x11, ""},
        {com2, kT0 + 4000, SerialEvent::DataRxStart, 0x00, std::string("\0\xFF", 2)},
    };
    ASSERT_EQ(file.Packets.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const auto frame = ParseSerialFrame(file.Packets[i].Data);
        ASSERT_TRUE(frame);
        EXPECT_EQ(file.Packets[i].Interface, expected[i].Interface);
        EXPECT_EQ(file.Packets[i].Timestamp, static_cast<std::uint64_t>(expected[i].Time));
        EXPECT_EQ(frame->Event, static_cast<std::uint8_t>(expected[i].Event));
        EXPECT_EQ(frame->Lines, expected[i].Lines);
        EXPECT_EQ(frame->Footer, 0);
        EXPECT_EQ(frame->Payload, expected[i].Payload);
    }
}

struct SplitCase {
    const char* Name;
    std::size_t Limit;
    std::size_t Chunk;
    std::vector<std::size_t> Pieces;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.Name; }

class CaptureFileSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CaptureFileSplit, LongChunkBecomesSeveralFramesInOrder) {
    const SplitCase& c = GetParam();
    MemorySink sink;
    CaptureFileWriter writer(sink, c.Limit);
    writer.Begin();
    const auto com1 = *writer.AddInterface("COM1", "A");
    std::string chunk(c.Chunk, '\0');
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 7 + i / 251);
    ASSERT_TRUE(writer.WriteFrame(com1, kT0 + 5, SerialEvent::DataTxStart, {}, chunk));
    writer.Close();

    const PcapngFile file = Written(sink);
    ASSERT_EQ(file.Packets.size(), c.Pieces.size());
    std::string joined;
    for (std::size_t i = 0; i < c.Pieces.size(); ++i) {
        const auto frame = ParseSerialFrame(file.Packets[i].Data);
        EXPECT_EQ(frame->Payload.size(), c.Pieces[i]) << "piece " << i;
        EXPECT_EQ(frame->Event, static_cast<std::uint8_t>(SerialEvent::DataTxStart));
        EXPECT_EQ(file.Packets[i].Timestamp, static_cast<std::uint64_t>(kT0 + 5));
        joined += frame->Payload;
    }
    EXPECT_EQ(joined, chunk);
}

constexpr std::size_t kMax = CaptureFileWriter::kMaxFramePayload;
INSTANTIATE_TEST_SUITE_P(
    Cases, CaptureFileSplit,
    ::testing::Values(SplitCase{"AtLimit", 10, 10, {10}}, SplitCase{"OneOverLimit", 10, 11, {10, 1}},
                      SplitCase{"ThreePieces", 10, 25, {10, 10, 5}},
                      SplitCase{"DefaultLimitExactly", kMax, kMax, {kMax}},
                      SplitCase{"DefaultLimitLarge", kMax, 3 * kMax + 100, {kMax, kMax, kMax, 100}},
                      SplitCase{"ZeroLimitClampedToOne", 0, 3, {1, 1, 1}}),
    [](const auto& row) { return std::string(row.param.Name); });

struct TimeCase {
    const char* Name;
    std::int64_t Nanoseconds;
    std::uint32_t Seconds;
    std::uint32_t Microseconds;
    std::uint64_t Timestamp;
};
void PrintTo(const TimeCase& c, std::ostream* os) { *os << c.Name; }

class CaptureFileTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(CaptureFileTime, HeaderAndBlockTimestamps) {
    const TimeCase& c = GetParam();
    MemorySink sink;
    CaptureFileWriter writer(sink);
    writer.Begin();
    writer.AddInterface("COM1", "A");
    writer.WriteEvent(0, c.Nanoseconds, SerialEvent::SerialBreak, {});
    writer.Close();
    const PcapngFile file = Written(sink);
    ASSERT_EQ(file.Packets.size(), 1u);
    const auto frame = ParseSerialFrame(file.Packets[0].Data);
    EXPECT_EQ(frame->Seconds, c.Seconds);
    EXPECT_EQ(frame->Microseconds, c.Microseconds);
    EXPECT_EQ(file.Packets[0].Timestamp, c.Timestamp);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CaptureFileTime,
    ::testing::Values(
        TimeCase{"LastMicrosecondOfASecond", kT0 + kSecond - 1, 1'700'000'000, 999'999, 1'700'000'000'999'999'999u},
        TimeCase{"NextSecond", kT0 + kSecond, 1'700'000'001, 0, 1'700'000'001'000'000'000u},
        TimeCase{"SubMicrosecondCut", kT0 + 1'999, 1'700'000'000, 1, 1'700'000'000'000'001'999u},
        TimeCase{"Epoch", 0, 0, 0, 0}, TimeCase{"NegativeAsEpoch", -5 * kSecond, 0, 0, 0}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(CaptureFileErrors, MisuseIsReportedAndWritesNothing) {
    MemorySink sink;
    CaptureFileWriter writer(sink);
    EXPECT_FALSE(writer.AddInterface("COM1", "A"));
    EXPECT_EQ(writer.Error(), CaptureFileError::NotOpen);
    EXPECT_TRUE(sink.Bytes.empty());

    MemorySink sink2;
    CaptureFileWriter second(sink2);
    second.Begin();
    second.AddInterface("COM1", "A");
    EXPECT_FALSE(second.WriteFrame(1, kT0, SerialEvent::DataRxStart, {}, "x"));
    EXPECT_EQ(second.Error(), CaptureFileError::UnknownInterface);
    EXPECT_TRUE(second.WriteFrame(0, kT0, SerialEvent::DataRxStart, {}, "y")) << "the file stays usable";
    EXPECT_FALSE(second.Begin());
    EXPECT_TRUE(second.Close());
    EXPECT_FALSE(second.WriteFrame(0, kT0, SerialEvent::DataRxStart, {}, "z"));
    EXPECT_FALSE(second.Close());
    EXPECT_EQ(Written(sink2).Packets.size(), 1u);
    EXPECT_EQ(second.Error(), CaptureFileError::UnknownInterface) << "the first error is kept";
}

TEST(CaptureFileErrors, FullSinkStopsWritingAndLeavesWholeBlocks) {
    MemorySink sink;
    CaptureFileWriter writer(sink);
    writer.Begin();
    const auto com1 = *writer.AddInterface("COM1", "A");
    writer.Flush();
    sink.Capacity = sink.Bytes.size() + 100;  // the disk fills up
    const std::string chunk(1000, 'x');
    bool allWritten = true;
    for (int i = 0; i < 200 && allWritten; ++i)
        allWritten = writer.WriteFrame(com1, kT0 + i, SerialEvent::DataRxStart, {}, chunk);
    EXPECT_FALSE(allWritten);
    EXPECT_EQ(writer.Error(), CaptureFileError::WriteFailed);
    const int writes = sink.Writes;
    EXPECT_FALSE(writer.WriteFrame(com1, kT0, SerialEvent::DataRxStart, {}, chunk));
    EXPECT_FALSE(writer.Flush());
    EXPECT_FALSE(writer.Close());
    EXPECT_EQ(sink.Writes, writes) << "nothing more is handed to a failed sink";
    EXPECT_TRUE(sink.Closed);
    EXPECT_TRUE(ParsePcapng(sink.Bytes).Ok()) << "the file ends on a block boundary";
}

TEST(CaptureFileErrors, DiskFullThroughARealFile) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    FileByteSink sink;
    ASSERT_TRUE(sink.Open("/dev/full"));
    CaptureFileWriter writer(sink);
    EXPECT_FALSE(writer.Begin());
    EXPECT_NE(writer.Error(), CaptureFileError::None);
    EXPECT_FALSE(writer.Close());
}

struct FlushCase {
    const char* Name;
    std::int64_t SecondCall;  // nanoseconds after the first call
    bool Flushes;
};
void PrintTo(const FlushCase& c, std::ostream* os) { *os << c.Name; }

class CaptureFileFlushIfDue : public ::testing::TestWithParam<FlushCase> {};

TEST_P(CaptureFileFlushIfDue, FlushesOncePerSecond) {
    const FlushCase& c = GetParam();
    MemorySink sink;
    CaptureFileWriter writer(sink);
    writer.Begin();
    const auto com1 = *writer.AddInterface("COM1", "A");
    ASSERT_TRUE(writer.FlushIfDue(5 * kSecond));  // the first call always flushes
    const int flushes = sink.Flushes;
    writer.WriteFrame(com1, kT0, SerialEvent::DataRxStart, {}, "late");
    ASSERT_TRUE(writer.FlushIfDue(5 * kSecond + c.SecondCall));
    EXPECT_EQ(sink.Flushes, flushes + (c.Flushes ? 1 : 0));
    EXPECT_EQ(ParsePcapng(sink.Bytes).Packets.size(), c.Flushes ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, CaptureFileFlushIfDue,
                         ::testing::Values(FlushCase{"JustBeforeASecond", kSecond - 1, false},
                                           FlushCase{"ASecond", kSecond, true},
                                           FlushCase{"ClockWentBack", -1, true}),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(Windows1252ToUtf8, BytesAndLimits) {
    EXPECT_EQ(Windows1252ToUtf8("COM1"), "COM1");
    EXPECT_EQ(Windows1252ToUtf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
    EXPECT_EQ(Windows1252ToUtf8("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81") << "unassigned byte keeps its C1 code";
    EXPECT_EQ(Windows1252ToUtf8("a\x80", 3), "a") << "a character never is cut";
    EXPECT_EQ(Windows1252ToUtf8("a\x80", 4), "a\xE2\x82\xAC");
}

// ---- Reading the files back with tshark ----

std::string FindTshark() {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/tshark";
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

std::vector<std::vector<std::string>> TsharkFields(const std::string& file, std::vector<std::string> options,
                                                   const std::vector<std::string>& fields) {
    std::vector<std::string> argv = {FindTshark(), "-n", "-r", file, "-T", "fields"};
    argv.insert(argv.end(), options.begin(), options.end());
    for (const std::string& field : fields) {
        argv.push_back("-e");
        argv.push_back(field);
    }
    test::ChildProcess tshark(argv);
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : tshark.ReadAllLines(std::chrono::seconds(60))) {
        std::vector<std::string> row;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) row.push_back(cell);
        row.resize(fields.size());
        rows.push_back(std::move(row));
    }
    EXPECT_EQ(tshark.Wait(), 0);
    return rows;
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string text;
    for (char c : bytes) {
        text += digits[static_cast<unsigned char>(c) >> 4];
        text += digits[static_cast<unsigned char>(c) & 15];
    }
    return text;
}

std::string EpochText(std::int64_t nanoseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%09lld", static_cast<long long>(nanoseconds / kSecond),
                  static_cast<long long>(nanoseconds % kSecond));
    return text;
}

TEST(CaptureFileTshark, EveryByteOfEveryChannelComesBack) {
    if (FindTshark().empty()) GTEST_SKIP() << "tshark is not installed";
    test::ScratchFolder folder;
    const std::string path = folder / "channels.pcapng";
    struct Frame {
        std::string Port;
        std::int64_t Time;
        SerialEvent Event;
        std::string Bytes;
    };
    std::vector<Frame> frames;
    {
        FileByteSink sink;
        ASSERT_TRUE(sink.Open(path));
        CaptureFileWriter writer(sink, 200);  // long chunks are split
        ASSERT_TRUE(writer.Begin());
        const std::vector<std::string> ports = {"COM1", "COM2", "COM5"};
        for (const std::string& port : ports) writer.AddInterface(port, "ID " + port);
        std::uint32_t seed = 12345;
        auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
        std::int64_t time = kT0 + kSecond - 3'000'000;  // runs across second boundaries
        for (int i = 0; i < 300; ++i) {
            const std::uint32_t channel = next() % 3;
            time += static_cast<std::int64_t>(next() % 50'000);
            if (i % 37 == 5) {
                const SerialEvent events[] = {SerialEvent::SerialBreak, SerialEvent::FramingError,
                                              SerialEvent::ParityError, SerialEvent::SerialOverflow,
                                              SerialEvent::StatusChange, SerialEvent::CaptureDataLost};
                const SerialEvent event = events[next() % 6];
                ASSERT_TRUE(writer.WriteEvent(channel, time, event, {}));
                frames.push_back({ports[channel], time, event, {}});
                continue;
            }
            std::string chunk(1 + next() % 450, '\0');
            for (char& c : chunk) c = static_cast<char>(next());
            const SerialEvent event = i % 4 == 0 ? SerialEvent::DataTxStart : SerialEvent::DataRxStart;
            ASSERT_TRUE(writer.WriteFrame(channel, time, event, {}, chunk));
            for (std::size_t at = 0; at < chunk.size(); at += 200)
                frames.push_back({ports[channel], time, event, chunk.substr(at, 200)});
        }
        ASSERT_TRUE(writer.Close());
        EXPECT_EQ(writer.Error(), CaptureFileError::None);
    }

    const auto rows = TsharkFields(path, {},
                                   {"frame.interface_name", "frame.time_epoch", "rtacser.eventtype", "data.data"});
    ASSERT_EQ(rows.size(), frames.size());
    std::map<std::string, std::string> sent, received, expectedSent, expectedReceived;
    std::map<std::string, std::string> lastTime;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i + 1));
        const auto& row = rows[i];
        const Frame& frame = frames[i];
        EXPECT_EQ(row[0], frame.Port);
        EXPECT_EQ(row[1], EpochText(frame.Time));
        EXPECT_GE(row[1], lastTime[row[0]]) << "times on a channel never go back";
        lastTime[row[0]] = row[1];
        char event[8];
        std::snprintf(event, sizeof event, "0x%02x", static_cast<unsigned>(frame.Event));
        EXPECT_EQ(row[2], event);
        (frame.Event == SerialEvent::DataTxStart ? sent : received)[row[0]] += row[3];
        (frame.Event == SerialEvent::DataTxStart ? expectedSent : expectedReceived)[frame.Port] += Hex(frame.Bytes);
    }
    EXPECT_EQ(sent, expectedSent);
    EXPECT_EQ(received, expectedReceived);
}

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

TEST(CaptureFileTshark, PayloadDecodedAsModbusRtu) {
    if (FindTshark().empty()) GTEST_SKIP() << "tshark is not installed";
    test::ScratchFolder folder;
    const std::string path = folder / "modbus.pcapng";
    {
        FileByteSink sink;
        ASSERT_TRUE(sink.Open(path));
        CaptureFileWriter writer(sink);
        writer.Begin();
        const auto master = *writer.AddInterface("COM1", "Master");
        const auto slave = *writer.AddInterface("COM2", "Slave");
        // Unit 17 reads holding register 0x006B; it answers 0x022B.
        writer.WriteFrame(master, kT0, SerialEvent::DataRxStart, {},
                          WithModbusCrc(std::string("\x11\x03\x00\x6B\x00\x01", 6)));
        writer.WriteFrame(slave, kT0 + 8'000'000, SerialEvent::DataRxStart, {},
                          WithModbusCrc(std::string("\x11\x03\x02\x02\x2B", 5)));
        ASSERT_TRUE(writer.Close());
    }
    const auto rows = TsharkFields(
        path, {"-d", "rtacser.data,mbrtu", "-o", "mbrtu.crc_verification:TRUE"},
        {"frame.interface_name", "mbrtu.unit_id", "modbus.func_code", "mbrtu.crc16.status", "modbus.reference_num",
         "modbus.request_frame", "modbus.regval_uint16"});
    const std::vector<std::vector<std::string>> expected = {
        {"COM1", "17", "3", "1", "107", "", ""},
        {"COM2", "17", "3", "1", "", "1", "555"},
    };
    EXPECT_EQ(rows, expected);
}

}  // namespace
}  // namespace kestrum
