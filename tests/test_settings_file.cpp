#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

#include "fakes/recording_message_boxes.h"
#include "platform/file_sync.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "support/scratch_folder.h"

using namespace kestrum;
using kestrum::test::ReadFileBytes;
using kestrum::test::ScratchFolder;
using kestrum::test::WriteFileBytes;
namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

constexpr InstanceInfo kMaster{1, true};
constexpr InstanceInfo kSecond{2, false};
constexpr InstanceInfo kNoNumber{0, false};
constexpr ScreenPoint kOrigin{40, 60};

struct Loaded {
    Options options;
    ChannelTable channels;
};

struct SettingsFileTest : ::testing::Test {
    ScratchFolder temp;
    std::string path = temp / "Kestrum.ini";
    RecordingMessageBoxes messages;

    Loaded Read(const InstanceInfo& instance = kMaster, int locale = 1) {
        Loaded loaded;
        ReadSettingsFile(path, instance, locale, loaded.options, loaded.channels);
        return loaded;
    }
    Loaded ReadText(const std::string& text, const InstanceInfo& instance = kMaster, int locale = 1) {
        WriteFileBytes(path, text);
        return Read(instance, locale);
    }
    bool Write(const Loaded& settings, const InstanceInfo& instance = kMaster) {
        return WriteSettingsFile(path, instance, settings.options, settings.channels, messages, kOrigin, SyncToDisk);
    }
    IniFile File() { return IniFile::Parse(ReadFileBytes(path)); }
};

void ExpectSameSavedChannels(const ChannelTable& a, const ChannelTable& b) {
    EXPECT_EQ(a.UserName, b.UserName);
    for (int k = 0; k < kEntryCount; ++k) EXPECT_EQ(a.Fonts[k], b.Fonts[k]) << "font entry " << k;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        const ChannelRecord& x = a.Channels[n];
        const ChannelRecord& y = b.Channels[n];
        EXPECT_EQ(x.ChannelID, y.ChannelID) << n;
        EXPECT_EQ(x.MonitorChannel, y.MonitorChannel) << n;
        EXPECT_EQ(x.TriggerEnabled, y.TriggerEnabled) << n;
        EXPECT_EQ(x.TriggerOneShot, y.TriggerOneShot) << n;
        EXPECT_EQ(x.TriggerWord, y.TriggerWord) << n;
        EXPECT_EQ(x.BaudRate, y.BaudRate) << n;
        EXPECT_EQ(x.ByteSize, y.ByteSize) << n;
        EXPECT_EQ(x.Parity, y.Parity) << n;
        EXPECT_EQ(x.StopBits, y.StopBits) << n;
        EXPECT_EQ(x.Device, y.Device) << n;
        EXPECT_EQ(x.InputHistory, y.InputHistory) << n;
    }
}

}  // namespace

TEST_F(SettingsFileTest, MissingFileGivesDefaults) {
    const Loaded loaded = Read(kMaster, 2);
    Options expected;
    expected.Language = 2;
    EXPECT_EQ(loaded.options, expected);
    const ChannelTable defaults;
    ChannelTable withHistory;
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        withHistory.Channels[n].InputHistory.assign(16, "");
    ExpectSameSavedChannels(loaded.channels, withHistory);
    EXPECT_EQ(loaded.channels.Fonts[3].FontColor, 0x008000);
}

TEST_F(SettingsFileTest, LoadRangesAndLanguage) {
    struct Case {
        const char* General;
        int History, HexBytes, LogMode, Language;
    };
    const Case cases[] = {
        {"InputLineMaxHistoryCount=100", 64, 16, 1, 2},
        {"InputLineMaxHistoryCount=-3", 0, 16, 1, 2},
        {"HexLineByteCount=0\nLogMode=7", 16, 1, 2, 2},
        {"HexLineByteCount=300\nLogMode=-1\nLanguage=5", 16, 255, 1, 2},
        {"Language=1", 16, 16, 1, 1},
        {"Language=x", 16, 16, 1, 2},
    };
    for (const Case& c : cases) {
        std::string text = std::string("[General]\n") + c.General + "\n[COM1]\n";
        for (int i = 1; i <= 70; ++i) text += "InputLine" + std::to_string(i) + "=h" + std::to_string(i) + "\n";
        const Loaded loaded = ReadText(text, kMaster, 2);
        SCOPED_TRACE(c.General);
        EXPECT_EQ(loaded.options.InputLineMaxHistoryCount, c.History);
        EXPECT_EQ(loaded.options.HexLineByteCount, c.HexBytes);
        EXPECT_EQ(static_cast<int>(loaded.options.LogMode), c.LogMode);
        EXPECT_EQ(loaded.options.Language, c.Language);
        const auto& history = loaded.channels.Channels[1].InputHistory;
        ASSERT_EQ(history.size(), static_cast<std::size_t>(c.History));
        if (c.History > 0) {
            EXPECT_EQ(history.front(), "h1");
            EXPECT_EQ(history.back(), "h" + std::to_string(c.History));
        }
        EXPECT_EQ(loaded.channels.Channels[2].InputHistory, std::vector<std::string>(c.History));
    }
}

TEST_F(SettingsFileTest, ValuesThatDoNotFitLoadAsDefaults) {
    const Loaded bad = ReadText(
        "[SenderMode]\nSenderChannel=9\nTxTimeInterval=-5\n"
        "[FormMain]\nWindowState=3\nLeft=99999999999\nTop=12\nWidth=1e3\n"
        "[Printer]\nMarginTop=2147483648\n"
        "[COM1]\nBaudRate=-1\nByteSize=256\n"
        "[COM2]\nBaudRate=2147483647\nByteSize=-1\nParity=even\nStopBits=1,5\n"
        "[COM3]\nByteSize=0\nParity=\nStopBits=1.5\n"
        "[COM4]\nParity=x\nStopBits=2\n");
    EXPECT_EQ(bad.options.SenderChannel, -1);
    EXPECT_EQ(bad.options.TxTimeInterval, 1000u);
    EXPECT_EQ(bad.options.WindowState, WindowState::Normal);
    EXPECT_EQ(bad.options.Left, 0);
    EXPECT_EQ(bad.options.Top, 12);
    EXPECT_FALSE(bad.options.WidthPresent);
    EXPECT_EQ(bad.options.MarginTop, 10);
    const auto& ch = bad.channels.Channels;
    EXPECT_EQ(ch[1].BaudRate, 9600u);
    EXPECT_EQ(ch[1].ByteSize, 8);
    EXPECT_EQ(ch[2].BaudRate, 2147483647u);
    EXPECT_EQ(ch[2].ByteSize, 8);
    EXPECT_EQ(ch[2].Parity, Parity::Even);
    EXPECT_EQ(ch[2].StopBits, StopBits::One);
    EXPECT_EQ(ch[3].ByteSize, 0);
    EXPECT_EQ(ch[3].Parity, Parity::None);
    EXPECT_EQ(ch[3].StopBits, StopBits::OneAndHalf);
    EXPECT_EQ(ch[4].Parity, Parity::None);
    EXPECT_EQ(ch[4].StopBits, StopBits::Two);

    for (const char* channel : {"-1", "1", "8"}) {
        const Loaded ok = ReadText(std::string("[SenderMode]\nSenderChannel=") + channel + "\n");
        EXPECT_EQ(ok.options.SenderChannel, std::stoi(channel));
    }
}

TEST_F(SettingsFileTest, MasterAndFollowerReadTheirOwnKeys) {
    const std::string text =
        "[SenderMode]\nSynchronize=1\n"
        "[FormMain]\nWindowState=2\nLeft=100\nTop=-20\nWidth=800\n"
        "[MonitorMode]\nProtocolDirectory=  /data/logs  \n";
    const Loaded master = ReadText(text, kMaster);
    EXPECT_FALSE(master.options.Synchronize);
    EXPECT_EQ(master.options.WindowState, WindowState::Maximised);
    EXPECT_EQ(master.options.Left, 100);
    EXPECT_EQ(master.options.Top, -20);
    EXPECT_EQ(master.options.Width, 800);
    EXPECT_TRUE(master.options.WidthPresent);
    EXPECT_FALSE(master.options.HeightPresent);
    EXPECT_TRUE(master.options.Monitor.ProtocolDirectoryPresent);
    EXPECT_EQ(master.options.Monitor.ProtocolDirectory, "/data/logs");
    EXPECT_FALSE(master.options.Sender.ProtocolDirectoryPresent);

    for (const InstanceInfo& other : {kSecond, kNoNumber}) {
        const Loaded follower = ReadText(text, other);
        EXPECT_TRUE(follower.options.Synchronize);
        EXPECT_EQ(follower.options.WindowState, WindowState::Normal);
        EXPECT_EQ(follower.options.Left, 0);
        EXPECT_EQ(follower.options.Top, 0);
        EXPECT_EQ(follower.options.Width, 800);
    }
}

TEST_F(SettingsFileTest, TrimmedKeysAreTrimmedAndOthersKeptAsTheyAre) {
    Loaded loaded = ReadText(
        "[SenderMode]\nCommentDelimiter= ;; \n"
        "[User]\nUserName=  Ann \n"
        "[COM1]\nChannelID=   \nInputLineMaxHistoryCount=1\nInputLine1=  padded  \n"
        "[COM2]\nChannelID=  Modem\nTriggerWord= 0D 0A \nDevice= /dev/ttyUSB0 \nFontName= Courier \n");
    EXPECT_EQ(loaded.options.CommentDelimiter, " ;; ");
    EXPECT_EQ(loaded.channels.UserName, "Ann");
    EXPECT_EQ(loaded.channels.Channels[1].ChannelID, "COM1");
    EXPECT_EQ(loaded.channels.Channels[1].InputHistory[0], "  padded  ");
    EXPECT_EQ(loaded.channels.Channels[2].ChannelID, "Modem");
    EXPECT_EQ(loaded.channels.Channels[2].TriggerWord, "0D 0A");
    EXPECT_EQ(loaded.channels.Channels[2].Device, "/dev/ttyUSB0");
    EXPECT_EQ(loaded.channels.Fonts[2].FontName, "Courier");

    loaded.channels.Channels[3].ChannelID = "  typed with blanks ";
    loaded.channels.Channels[3].InputHistory[0] = " sent ";
    ASSERT_TRUE(Write(loaded));
    const std::string written = ReadFileBytes(path);
    EXPECT_NE(written.find("\nChannelID=typed with blanks\n"), std::string::npos);
    EXPECT_NE(written.find("\nInputLine1= sent \n"), std::string::npos);
    EXPECT_NE(written.find("\nCommentDelimiter= ;; \n"), std::string::npos);
}

TEST_F(SettingsFileTest, SaveSettingsOffRewritesOnlyThatKey) {
    const std::string before =
        "; hand-written\n[General]\nLogMode=2\nSaveSettings=1\nUnknown=x\n\n[COM1]\nBaudRate=115200\n";
    Loaded loaded = ReadText(before);
    loaded.options.SaveSettings = false;
    loaded.options.LogMode = LogMode::Ascii;
    loaded.channels.Channels[1].BaudRate = 300;
    loaded.options.Synchronize = true;
    ASSERT_TRUE(Write(loaded));
    std::string expected = before;
    expected.replace(expected.find("SaveSettings=1"), 14, "SaveSettings=0");
    EXPECT_EQ(ReadFileBytes(path), expected);

    fs::remove(path);
    ASSERT_TRUE(Write(loaded));
    EXPECT_EQ(ReadFileBytes(path), "[General]\nSaveSettings=0\n");
    EXPECT_TRUE(messages.Calls.empty());
}

TEST_F(SettingsFileTest, OnlyTheMasterWritesFormMainAndOnlyLaterInstancesSynchronize) {
    Loaded settings;
    settings.options.Synchronize = true;
    settings.options.Left = 123;
    ASSERT_TRUE(Write(settings, kMaster));
    EXPECT_TRUE(File().HasSection("FormMain"));
    EXPECT_EQ(File().Value("FormMain", "Left"), "123");
    EXPECT_FALSE(File().HasKey("SenderMode", "Synchronize"));

    fs::remove(path);
    ASSERT_TRUE(Write(settings, kSecond));
    EXPECT_FALSE(File().HasSection("FormMain"));
    EXPECT_EQ(File().Value("SenderMode", "Synchronize"), "1");

    fs::remove(path);
    ASSERT_TRUE(Write(settings, kNoNumber));
    EXPECT_FALSE(File().HasSection("FormMain"));
    EXPECT_FALSE(File().HasKey("SenderMode", "Synchronize"));

    // Each instance leaves the other's keys in place.
    fs::remove(path);
    ASSERT_TRUE(Write(settings, kMaster));
    settings.options.Left = 5;
    ASSERT_TRUE(Write(settings, kSecond));
    EXPECT_EQ(File().Value("FormMain", "Left"), "123");
    settings.options.Synchronize = false;
    ASSERT_TRUE(Write(settings, kMaster));
    EXPECT_EQ(File().Value("SenderMode", "Synchronize"), "1");
    EXPECT_EQ(File().Value("FormMain", "Left"), "5");
}

TEST_F(SettingsFileTest, NewFileHasSectionsAndKeysInOrder) {
    Loaded settings;
    settings.options.InputLineMaxHistoryCount = 2;
    settings.channels.Channels[8].InputHistory = {"only one"};
    ASSERT_TRUE(Write(settings, kMaster));
    const std::string text = ReadFileBytes(path);
    std::size_t last = 0;
    for (const char* part : {"[General]\nSaveSettings=1\nMonitorMode=1\n", "Language=1\n",
                             "[MonitorMode]\nProtocolDirectory=\n", "[SenderMode]\n",
                             "TxTimeInterval=1000\n[FormMain]\nWindowState=0\n", "[Printer]\n",
                             "[MasterFont]\nMasterFontName=FixedSys\n",
                             "MasterFontItalic=0\n[User]\nUserName=User\n", "[COM1]\nChannelID=COM1\n",
                             "[COM8]", "Parity=N\nStopBits=1\nDevice=\nInputLine1=only one\nInputLine2=\n"}) {
        const std::size_t at = text.find(part, last);
        ASSERT_NE(at, std::string::npos) << part;
        last = at;
    }
    EXPECT_EQ(text.find("InputLine3"), std::string::npos);
    EXPECT_EQ(text.find("MasterFontUnderline"), std::string::npos);
}

TEST_F(SettingsFileTest, EveryNonDefaultValueRoundTrips) {
    Loaded out;
    Options& o = out.options;
    o.MonitorMode = false; o.SenderMode = true; o.LogMode = LogMode::Hex; o.TriggerOn = true;
    o.FontFixedPitchOnly = false; o.BackgroundColor = 0x00123456; o.AutoDetectDeviceChanges = false;
    o.LineWrap = true; o.ShowTriggerWords = false; o.ShowStartStopTime = false; o.ShowTimeTags = true;
    o.ShowChannelId = false; o.DumpOnCr = true; o.DumpOnLf = false; o.ShowCrChar = false;
    o.ShowLfChar = true; o.SendCrStrAsCrChar = false; o.SendLfStrAsLfChar = false;
    o.AppendCrChar = false; o.AppendLfChar = false; o.SenderModeAutoRepeat = false;
    o.HighlightInputLine = false; o.InputLineMaxHistoryCount = 3; o.HexLineByteCount = 255;
    o.Language = 2;
    o.CaptureFile = true; o.CaptureDirectory = "/captures";
    o.Monitor = {"/m", true, 2, 3};
    o.Sender = {"/s", true, 3, 2};
    o.CommentDelimiter = "#"; o.SenderChannel = 5; o.TxTimeInterval = 2147483647u;
    o.WindowState = WindowState::Maximised; o.Left = -8; o.Top = 7; o.Width = 1024; o.Height = 700;
    o.WidthPresent = true; o.HeightPresent = true;
    o.PrinterOrientation = 1; o.MarginTop = 1; o.MarginBottom = 2; o.MarginLeft = 3; o.MarginRight = 4;
    ChannelTable& t = out.channels;
    t.UserName = "Ann";
    t.Fonts[0] = {"Mono", 9, 0x111111, true, true, true, true, 0};
    t.Fonts[9] = {"Serif", 14, -16777211, true, true, false, false, 0};
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        ChannelRecord& c = t.Channels[n];
        c.ChannelID = "Dev" + std::to_string(n);
        c.MonitorChannel = c.TriggerEnabled = c.TriggerOneShot = true;
        c.TriggerWord = "0D 0A";
        t.Fonts[n] = {"F" + std::to_string(n), 20 + n, n, n % 2 == 0, true, n % 3 == 0, true, 0};
        c.BaudRate = 115200u * n;
        c.ByteSize = static_cast<std::uint8_t>(4 + n % 5);
        c.Parity = static_cast<Parity>(n % 5);
        c.StopBits = static_cast<StopBits>(n % 3);
        c.Device = "/dev/ttyUSB" + std::to_string(n);
        c.InputHistory = {"a" + std::to_string(n), " b ", "<CR>"};
    }
    for (const InstanceInfo& instance : {kMaster, kSecond}) {
        fs::remove(path);
        o.Synchronize = !instance.IsMaster;
        ASSERT_TRUE(Write(out, instance));
        const Loaded in = Read(instance, 1);
        Options expected = o;
        if (!instance.IsMaster) expected.WindowState = WindowState::Normal;
        if (!instance.IsMaster) expected.Left = expected.Top = 0;
        if (!instance.IsMaster) expected.WidthPresent = expected.HeightPresent = false;
        if (!instance.IsMaster) expected.Width = expected.Height = 0;
        EXPECT_EQ(in.options, expected);
        ExpectSameSavedChannels(in.channels, t);
    }
}

TEST_F(SettingsFileTest, GarbageLoadsWhatItCanAndNeverBreaks) {
    const std::string junk = "\x00\xff\x01\r\n[General\r\nLogMode=2\r\nLogMode=1\r\n"
                             "no equals sign\r\n\x00\x00=\x00\r\n[COM1]\r\nBaudRate=12\0 34\r\n"
                             "ChannelID=first\r\nchannelid=second\r\n"s +
                             std::string(300, '\0');
    const Loaded loaded = ReadText(junk);
    EXPECT_EQ(loaded.options.LogMode, LogMode::Hex);
    EXPECT_EQ(loaded.channels.Channels[1].ChannelID, "first");
    EXPECT_EQ(loaded.channels.Channels[1].BaudRate, 9600u);
    ASSERT_TRUE(Write(loaded));
    EXPECT_EQ(Read().channels.Channels[1].ChannelID, "first");
    EXPECT_NE(ReadFileBytes(path).find(std::string(300, '\0')), std::string::npos);

    // Ten megabytes of random bytes, then a hundred thousand keys.
    std::mt19937_64 random(7);
    std::string big(10 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); i += 8) {
        const std::uint64_t bits = random();
        std::memcpy(&big[i], &bits, 8);
    }
    Options defaults;
    EXPECT_EQ(ReadText(big).options, defaults);
    ASSERT_TRUE(Write(Read()));
    EXPECT_GT(fs::file_size(path), big.size() - 100000);
    std::string keys = "[General]\n";
    for (int i = 0; i < 100000; ++i) keys += "k" + std::to_string(i) + "=\n";
    keys += "LogMode=2\n";
    EXPECT_EQ(ReadText(keys).options.LogMode, LogMode::Hex);
}

TEST_F(SettingsFileTest, RandomFilesRoundTripThroughWriteAndRead) {
    const std::vector<std::string> sections = {"General", "MonitorMode", "SenderMode", "FormMain",
                                               "Printer", "MasterFont", "User", "COM1", "com5", "Other"};
    const std::vector<std::string> keys = {
        "SaveSettings", "LogMode", "InputLineMaxHistoryCount", "HexLineByteCount", "Language",
        "BackgroundColor", "ProtocolDirectory", "OpenDialogFilterIndex", "CommentDelimiter",
        "SenderChannel", "TxTimeInterval", "Synchronize", "WindowState", "Left", "Width",
        "MarginTop", "MasterFontName", "MasterFontColor", "UserName", "FontName", "FontSize",
        "FontBold", "ChannelID", "TriggerWord", "BaudRate", "ByteSize", "Parity", "StopBits",
        "Device", "InputLine1", "InputLine2", "InputLine64", "Unknown"};
    const std::string alphabet = std::string("  \t=;[]aZ-+019,.\r\n\xb6", 20) + std::string(1, '\0');
    std::mt19937 random(12345);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    auto value = [&]() -> std::string {
        switch (pick(5)) {
            case 0: return std::to_string(static_cast<int>(pick(300)) - 10);
            case 1: return std::to_string(static_cast<std::int64_t>(random()) * 3 - 3000000000LL);
            case 2: return std::to_string(pick(2));
            default: {
                std::string text;
                for (std::size_t i = pick(12); i > 0; --i) text += alphabet[pick(alphabet.size())];
                return text;
            }
        }
    };
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (std::size_t lines = pick(120); lines > 0; --lines) {
            if (pick(6) == 0) {
                text += "[" + sections[pick(sections.size())] + "]";
            } else {
                std::string key = keys[pick(keys.size())];
                if (pick(4) == 0) key[0] = static_cast<char>(key[0] ^ 0x20);  // other letter case
                text += key + (pick(8) == 0 ? " " : "=") + value();
            }
            text += pick(3) == 0 ? "\r\n" : "\n";
        }
        const InstanceInfo& instance = round % 2 == 0 ? kMaster : kSecond;
        const Loaded first = ReadText(text, instance, 1 + round % 2);
        ASSERT_TRUE(Write(first, instance));
        Loaded second = Read(instance, 1 + round % 2);
        // Written keys are present afterwards even when the first file lacked them.
        second.options.WidthPresent = first.options.WidthPresent;
        second.options.HeightPresent = first.options.HeightPresent;
        second.options.Monitor.ProtocolDirectoryPresent = first.options.Monitor.ProtocolDirectoryPresent;
        second.options.Sender.ProtocolDirectoryPresent = first.options.Sender.ProtocolDirectoryPresent;
        ASSERT_EQ(second.options, first.options) << "round " << round;
        ExpectSameSavedChannels(second.channels, first.channels);
        if (HasFailure()) FAIL() << "round " << round << " file:\n" << text;
    }
}

TEST_F(SettingsFileTest, UnknownSectionsAndKeysSurviveAWrite) {
    Loaded loaded = ReadText("[Mine]\nA=1\n[General]\nFuture=yes\n[COM1]\nInputLine99=old\n");
    loaded.options.LogMode = LogMode::Hex;
    ASSERT_TRUE(Write(loaded));
    const IniFile file = File();
    EXPECT_EQ(file.Value("Mine", "A"), "1");
    EXPECT_EQ(file.Value("General", "Future"), "yes");
    EXPECT_EQ(file.Value("COM1", "InputLine99"), "old");
    EXPECT_EQ(file.Value("General", "LogMode"), "2");
}

TEST_F(SettingsFileTest, WriteFailureIsShownAndTheOldFileStays) {
    const Loaded settings;
    // The settings path is a folder.
    fs::create_directory(path);
    EXPECT_FALSE(Write(settings));
    ASSERT_EQ(messages.Boxes.size(), 1u);
    EXPECT_EQ(messages.Calls, (std::vector<std::string>{"beep", "box"}));
    EXPECT_EQ(messages.Beeps[0], MessageKind::Error);
    EXPECT_EQ(messages.Boxes[0].Kind, MessageKind::Error);
    EXPECT_EQ(messages.Boxes[0].Caption, "Kestrum");
    EXPECT_EQ(messages.Boxes[0].Origin, kOrigin);
    EXPECT_NE(messages.Boxes[0].Text.find(path), std::string::npos);
    EXPECT_TRUE(fs::is_directory(path));

    // The settings folder has gone.
    messages.Boxes.clear();
    const std::string gone = temp / "gone/Kestrum.ini";
    EXPECT_FALSE(WriteSettingsFile(gone, kMaster, settings.options, settings.channels, messages, kOrigin, SyncToDisk));
    EXPECT_EQ(messages.Boxes.size(), 1u);

    // The disk fills up while writing: a file size limit makes the write
    // fail even for root. The old file must stay complete.
    fs::remove(path);
    const std::string old = "[General]\nLogMode=2\n[Mine]\nKeep=1\n";
    WriteFileBytes(path, old);
    messages.Boxes.clear();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 256;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = Write(settings);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(messages.Boxes.size(), 1u);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, ASettingsFileThatIsALinkStaysALink) {
    const std::string target = temp / "real.ini";
    WriteFileBytes(target, "[Mine]\nKeep=1\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(target, path);
    ASSERT_TRUE(Write(Loaded{}));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(IniFile::Parse(ReadFileBytes(target)).Value("Mine", "Keep"), "1");
    EXPECT_EQ(IniFile::Parse(ReadFileBytes(target)).Value("General", "SaveSettings"), "1");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}
