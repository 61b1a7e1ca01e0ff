// The File menu's protocol commands over real files, with a fake field and
// scripted dialogs.
#include "document/file_commands.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "channels/font_entries.h"
#include "document/edit_commands.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "document/win_errors.h"
#include "fakes/fake_message_pump.h"
#include "fakes/fake_protocol_field.h"
#include "fakes/recording_message_boxes.h"
#include "platform/file_sync.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

// Answers the open and save dialogs from the test and keeps what they were
// asked.
class ScriptedFileDialogs : public ProtocolFileDialogs {
public:
    std::optional<FileDialogResult> Answer;
    std::vector<FileDialogRequest> Requests;
    std::function<void()> WhileShown;
    std::optional<FileDialogResult> Open(const FileDialogRequest& request) override { return Shown(request); }
    std::optional<FileDialogResult> Save(const FileDialogRequest& request) override { return Shown(request); }

private:
    std::optional<FileDialogResult> Shown(const FileDialogRequest& request) {
        Requests.push_back(request);
        if (WhileShown) WhileShown();
        return Answer;
    }
};

class FileCommandsTest : public ::testing::Test {
protected:
    FileCommandsTest() {
        options.Monitor.ProtocolDirectory = folder.Path().string();
        options.Sender.ProtocolDirectory = folder / "sender";
        std::filesystem::create_directories(folder / "sender");
        SetDefaultProtocolFiles(files, options);
        field.Current = FontEntryAttributes(channels.Font(kUserEntry));
    }
    std::string Path(const std::string& name) const { return folder / name; }
    const ProtocolFile& Current() const { return CurrentProtocolFile(files, options); }
    void Record(std::vector<std::string> lines) {
        for (const std::string& line : lines) field.AppendLine(line);
    }

    test::ScratchFolder folder;
    Options options;
    ChannelTable channels;
    ProtocolFileState files;
    fakes::FakeProtocolField field;
    fakes::FakeMessagePump pump;
    RecordingMessageBoxes messages;
    RecordingState recording;
    StartButtonView startButton;
    SendingHooks sending;
    EditState edit;
    EditSearchHooks search{edit};
    LocaleInfo locale;
    ScreenPoint origin{20, 30};
    std::string exeBaseName = "kestrum";
    SyncToDiskFunction sync = &SyncToDisk;
    ScriptedFileDialogs dialogs;
    int captionUpdates = 0;
    std::vector<bool> cursors;
    FileCommandContext context{options, channels, files,  field, pump,   messages,    recording, startButton,
                               sending, search,   locale, origin, exeBaseName, sync, &dialogs,
                               [this] { ++captionUpdates; },
                               [this](bool hourglass) { cursors.push_back(hourglass); }};
};

TEST_F(FileCommandsTest, OpenTakesTheFiltersExtensionAndReadsByIt) {
    struct Case {
        const char* name;
        const char* existing;  // the file on disk
        const char* chosen;    // what the dialog returns
        int filter;
        const char* loadedExt;
        bool rtf;
    } cases[] = {
        {"TXT filter with a typed .rtf loads the .TXT as text", "log.TXT", "log.rtf", 2, ".TXT", false},
        {"TXT filter finds the lower-case .txt", "low.txt", "low.rtf", 2, ".txt", false},
        {"all files: log.rtf is Rich Text", "doc.rtf", "doc.rtf", 3, ".rtf", true},
        {"RTF filter keeps the typed .rtf", "keep.rtf", "keep.rtf", 1, ".rtf", true},
    };
    for (const Case& c : cases) {
        ProtocolDocument source;
        source.AddLine(std::string("{line} of ") + c.name, TextAttributes{"Arial", 10, 0x0000FF, 1});
        WriteFileBytes(Path(c.existing), c.rtf ? WriteRtf(source) : std::string("plain {text}\r\nsecond"));
        dialogs.Answer = FileDialogResult{Path(c.chosen), c.filter};
        MainMenuFileOpenOnClick(context);
        EXPECT_EQ(Current().ProtocolFileExt, c.loadedExt) << c.name;
        EXPECT_EQ(options.Monitor.OpenDialogFilterIndex, c.filter) << c.name;
        ASSERT_FALSE(field.Lines.empty()) << c.name;
        if (c.rtf) {
            EXPECT_EQ(field.Texts(), std::vector<std::string>{std::string(source.LineText(0))}) << c.name;
            EXPECT_EQ(field.Lines[0].Attributes.FontName, "Arial") << c.name;
        } else {
            EXPECT_EQ(field.Texts(), (std::vector<std::string>{"plain {text}", "second"})) << c.name;
        }
    }
    EXPECT_TRUE(messages.Boxes.empty());
    EXPECT_EQ(dialogs.Requests.back().Title, "Load protocol file");
    EXPECT_EQ(dialogs.Requests.back().Directory, folder.Path().string());
}

TEST_F(FileCommandsTest, OpenSetsActivityMarkerAndCaption) {
    WriteFileBytes(Path("a.txt"), "x\r\n");
    dialogs.Answer = FileDialogResult{Path("a.txt"), 3};
    ActivityMarker during = ActivityMarker::Idle;
    dialogs.WhileShown = [&] { during = recording.ActivityMarker; };
    recording.ActivityMarker = ActivityMarker::Idle;
    MainMenuFileOpenOnClick(context);
    EXPECT_EQ(during, ActivityMarker::Loading);
    EXPECT_EQ(recording.ActivityMarker, ActivityMarker::Idle);
    EXPECT_EQ(Current(), (ProtocolFile{"a", ".txt", Path("a.txt")}));
    EXPECT_EQ(captionUpdates, 1);
    EXPECT_EQ(cursors, (std::vector<bool>{true, false, true, false})) << "hourglass while reading and filling";
    EXPECT_TRUE(edit.EditSearchCommandsEnabled);
}

TEST_F(FileCommandsTest, CancelledDialogsChangeNothing) {
    Record({"kept"});
    const ProtocolFile before = Current();
    dialogs.Answer.reset();
    MainMenuFileOpenOnClick(context);
    MainMenuFileSaveAsOnClick(context);
    EXPECT_EQ(Current(), before);
    EXPECT_EQ(captionUpdates, 0);
    EXPECT_EQ(field.Texts(), std::vector<std::string>{"kept"});
    EXPECT_EQ(options.Monitor.SaveDialogFilterIndex, 1);
}

TEST_F(FileCommandsTest, FailedLoadsLeaveProtocolAndFileAsTheyWere) {
    Record({"recorded"});
    const ProtocolFile before = Current();
    WriteFileBytes(Path("broken.rtf"), "{\\rtf1 never closed");
    WriteFileBytes(Path("big.txt"), "1\r\n2\r\n3\r\n");
    struct Case {
        const char* name;
        const char* file;
        const char* reason;  // a piece of the message
    } cases[] = {
        {"missing file", "missing.txt", "WinErrorCode=2\r"},
        {"a folder", "sender", "WinErrorCode=21\r"},
        {"truncated Rich Text", "broken.rtf", "ends too early"},
        {"more lines than the field holds", "big.txt", "too large for the protocol field"},
    };
    field.Capacities = {2, 1000};
    for (const Case& c : cases) {
        messages.Boxes.clear();
        messages.Beeps.clear();
        EXPECT_FALSE(LoadProtocolFile(context, Path(c.file), 3)) << c.name;
        EXPECT_EQ(field.Texts(), std::vector<std::string>{"recorded"}) << c.name;
        EXPECT_EQ(Current(), before) << c.name;
        EXPECT_EQ(captionUpdates, 0) << c.name;
        ASSERT_EQ(messages.Boxes.size(), 1u) << c.name;
        EXPECT_EQ(messages.Beeps, std::vector<MessageKind>{MessageKind::Warning}) << c.name;
        EXPECT_EQ(messages.Boxes[0].Text.rfind("Error on openeing the file  ", 0), 0u) << c.name;
        EXPECT_NE(messages.Boxes[0].Text.find(c.reason), std::string::npos) << c.name << ": " << messages.Boxes[0].Text;
        EXPECT_EQ(messages.Boxes[0].Caption, " kestrum") << c.name;
    }
}

TEST_F(FileCommandsTest, SaveAsWritesTheFormatOfTheExtension) {
    Record({"COM1 {x}\\", "\xE4\xF6"});
    struct Case {
        const char* name;
        const char* typed;
        int filter;
        const char* written;
        bool rtf;
    } cases[] = {
        {"RTF filter turns x.txt into x.RTF", "x.txt", 1, "x.RTF", true},
        {"RTF filter keeps y.rtf", "y.rtf", 1, "y.rtf", true},
        {"TXT filter gives z.TXT", "z", 2, "z.TXT", false},
        {"all files keeps w.log as text", "w.log", 3, "w.log", false},
    };
    for (const Case& c : cases) {
        dialogs.Answer = FileDialogResult{Path(c.typed), c.filter};
        MainMenuFileSaveAsOnClick(context);
        ASSERT_TRUE(std::filesystem::exists(Path(c.written))) << c.name;
        EXPECT_EQ(Current().ProtocolFilePath, Path(c.written)) << c.name;
        EXPECT_EQ(options.Monitor.SaveDialogFilterIndex, c.filter) << c.name;
        const std::string bytes = ReadFileBytes(Path(c.written));
        if (c.rtf) {
            ProtocolDocument read;
            ASSERT_TRUE(ReadRtf(bytes, read).Ok()) << c.name;
            EXPECT_EQ(read.LineText(0), "COM1 {x}\\") << c.name;
            EXPECT_EQ(read.LineText(1), "\xE4\xF6") << c.name;
        } else {
            EXPECT_EQ(bytes, "COM1 {x}\\\r\n\xE4\xF6\r\n") << c.name;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(Path("x.txt")));
    EXPECT_FALSE(std::filesystem::exists(Path("y.RTF")));
    EXPECT_EQ(dialogs.Requests[0].Title, "Save the kestrum protocol to a file");
}

TEST_F(FileCommandsTest, NewThenSaveWritesTestWithTheSaveFiltersExtension) {
    options.Monitor.SaveDialogFilterIndex = 2;
    Record({"old"});
    recording.ProtocolFull = true;
    MainMenuFileNewOnClick(context);
    EXPECT_TRUE(field.Lines.empty());
    EXPECT_FALSE(recording.ProtocolFull);
    EXPECT_TRUE(recording.ClearRequest);
    EXPECT_EQ(captionUpdates, 1);
    Record({"new"});
    MainMenuFileSaveOnClick(context);
    EXPECT_EQ(ReadFileBytes(Path("Test.TXT")), "new\r\n");
    EXPECT_EQ(recording.ActivityMarker, ActivityMarker::Idle);
}

TEST_F(FileCommandsTest, ModesKeepTheirOwnFiles) {
    Record({"sent line"});
    options.MonitorMode = false;
    dialogs.Answer = FileDialogResult{folder / "sender/out.txt", 2};
    MainMenuFileSaveAsOnClick(context);
    EXPECT_EQ(files.Modes[1].ProtocolFilePath, folder / "sender/out.txt");
    EXPECT_EQ(options.Sender.ProtocolDirectory, folder / "sender");
    EXPECT_EQ(files.Modes[0], (ProtocolFile{"Test", ".RTF", Path("Test.RTF")}));
    EXPECT_EQ(options.Monitor.ProtocolDirectory, folder.Path().string());
}

TEST_F(FileCommandsTest, SaveFailingPartWayKeepsTheOldFileAndReports) {
    const std::string old(4096, 'o');
    WriteFileBytes(Path("Test.RTF"), old);
    for (int i = 0; i < 2000; ++i) field.AppendLine("a line long enough to pass the file size limit soon");
    // Writes beyond 8 KiB fail (EFBIG) instead of ending the process.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 8192;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    try {
        MainMenuFileSaveOnClick(context);
    } catch (const std::runtime_error& e) {
        error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(ReadFileBytes(Path("Test.RTF")), old);
    EXPECT_NE(error.find("could not be written"), std::string::npos) << error;
    EXPECT_NE(error.find(WinErrorText(EFBIG, true)), std::string::npos) << error;
    EXPECT_EQ(recording.ActivityMarker, ActivityMarker::Idle) << "set back after the failure";
    std::size_t files_left = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) ++files_left;
    EXPECT_EQ(files_left, 2u) << "no temporary file remains (Test.RTF and the sender folder)";
}

TEST_F(FileCommandsTest, CommandLineFileLoadsWithItsOwnExtension) {
    WriteFileBytes(Path("cmd.rtf"), "{\\rtf1 first\\par second}");
    const std::string relative = std::filesystem::relative(Path("cmd.rtf")).string();
    LoadCommandLineFile(context, {"kestrum", "/?"});
    EXPECT_TRUE(field.Lines.empty());
    LoadCommandLineFile(context, {"kestrum", relative, "ignored"});
    EXPECT_EQ(field.Texts(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(Current().ProtocolFilePath, Path("cmd.rtf"));
    EXPECT_EQ(options.Monitor.OpenDialogFilterIndex, 1) << "no filter came from a dialog";
}

TEST_F(FileCommandsTest, FileMenuEnabling) {
    CommandTable table;
    AddFileCommands(table, context);
    EXPECT_TRUE(table.IsEnabled("MainMenuFileNew"));
    EXPECT_FALSE(table.IsEnabled("MainMenuFileSave")) << "nothing to save";
    Record({"x"});
    EXPECT_TRUE(table.IsEnabled("MainMenuFileSaveAs"));
    recording.Running = true;
    for (const char* item : {"MainMenuFileNew", "MainMenuFileOpen", "MainMenuFileSave", "MainMenuFileSaveAs",
                             "MainMenuFilePrint"})
        EXPECT_FALSE(table.IsEnabled(item)) << item;
}

}  // namespace
}  // namespace kestrum
