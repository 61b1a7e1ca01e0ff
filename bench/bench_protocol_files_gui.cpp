// A recorded protocol of a million lines in the real protocol field (a
// QPlainTextEdit): File > Save and the load of File > Open as Rich Text and
// as plain text through real files (the RTF into an empty field, the text
// over a full one), File > New, Find Next without a hit, and Select All,
// Copy and Paste. Per step: wall-clock and CPU seconds and the peak resident
// memory of the whole process during the step (the field's document counts).
//
// With an X display (DISPLAY set, not the offscreen platform) and `xclip`
// installed, the copy is also timed until another program has read the
// whole text from the clipboard.
//   bench_protocol_files_gui [lines, default 1000000]
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "capture/capture_context.h"
#include "document/edit_commands.h"
#include "document/file_commands.h"
#include "document/protocol_document.h"
#include "fakes/recording_message_boxes.h"
#include "platform/file_sync.h"
#include "platform/qt/protocol_text_edit.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_protocol_field.h"
#include "bench_measure.h"
#include "recorded_protocol.h"

namespace {

using kestrum::bench::RecordedProtocol;
using kestrum::bench::Step;

using namespace kestrum;

// The find dialog's input without a dialog.
class ScriptedSearchDialogs : public SearchDialogs {
public:
    SearchDialogInput Value;
    ScreenRect MeasureSize(SearchDialogKind) override { return {0, 0, 300, 120}; }
    void Show(SearchDialogKind, ScreenPoint) override {}
    void Close(SearchDialogKind) override {}
    bool IsVisible(SearchDialogKind) override { return false; }
    SearchDialogInput Input(SearchDialogKind) override { return Value; }
    ScreenRect MainWindowFrame() override { return {0, 0, 800, 600}; }
    ScreenRect AvailableArea() override { return {0, 0, 1920, 1080}; }
};

// Reads the clipboard's text with xclip while this program serves it;
// returns the bytes read, or -1 when xclip cannot run here.
qint64 ReadClipboardElsewhere(const QString& target) {
    if (QGuiApplication::platformName() != "xcb" || QStandardPaths::findExecutable("xclip").isEmpty()) return -1;
    QProcess xclip;
    qint64 bytes = 0;
    QObject::connect(&xclip, &QProcess::readyReadStandardOutput, [&] { bytes += xclip.readAllStandardOutput().size(); });
    xclip.start("xclip", {"-o", "-selection", "clipboard", "-t", target});
    while (xclip.state() != QProcess::NotRunning) QApplication::processEvents(QEventLoop::AllEvents, 5);
    bytes += xclip.readAllStandardOutput().size();
    return xclip.exitCode() == 0 ? bytes : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const std::size_t lines = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string stem = folder + "/kestrum-bench-files-" + std::to_string(::getpid());
    const std::string rtfPath = stem + ".RTF";
    const std::string textPath = stem + ".TXT";
    std::printf("protocol of %zu lines, 4 formats, platform %s\n", lines,
                QGuiApplication::platformName().toLatin1().constData());

    ProtocolTextEdit edit;
    edit.resize(900, 600);
    edit.show();
    QtProtocolField field(edit);
    QtMessagePump pump;
    RecordingMessageBoxes messages;
    Options options;
    ChannelTable channels;
    ProtocolFileState files;
    RecordingState recording;
    StartButtonView startButton;
    SendingHooks sending;
    EditState editState;
    EditSearchHooks search(editState);
    const LocaleInfo locale{};
    const ScreenPoint origin{};
    const std::string exeBaseName = "kestrum";
    const SyncToDiskFunction sync = &SyncToDisk;
    FileCommandContext fileCommands{options, channels, files,  field, pump,   messages,    recording, startButton,
                                    sending, search,   locale, origin, exeBaseName, sync, nullptr, {}, {}};
    ScriptedSearchDialogs dialogs;
    EditCommandContext editCommands{editState, field, recording, &messages, &dialogs, &options, &exeBaseName};

    {
        const ProtocolDocument document = RecordedProtocol(lines);
        Step fill("fill the field");
        field.LoadLines(document);
        app.processEvents();
        fill.Done(std::to_string(field.LineCount()) + " lines");
    }
    int status = 0;
    for (const std::string* path : {&rtfPath, &textPath}) {
        files.Modes[0].ProtocolFilePath = *path;
        Step save(path == &rtfPath ? "File > Save as RTF" : "File > Save as text");
        MainMenuFileSaveOnClick(fileCommands);
        save.Done(std::to_string(std::filesystem::file_size(*path) >> 20) + " MiB file");
    }
    {
        Step clear("File > New (clears the field)");
        MainMenuFileNewOnClick(fileCommands);
        app.processEvents();
        clear.Done();
    }
    for (const std::string* path : {&rtfPath, &textPath}) {
        Step load(path == &rtfPath ? "load RTF into the empty field" : "load text over the RTF one");
        const bool loaded = LoadProtocolFile(fileCommands, *path, std::nullopt);
        app.processEvents();
        load.Done(std::to_string(field.LineCount()) + " lines");
        if (!loaded || field.LineCount() != static_cast<int>(lines)) {
            std::printf("the file did not load back with its lines\n");
            status = 1;
        }
    }
    std::filesystem::remove(rtfPath);
    std::filesystem::remove(textPath);

    // The first search reads the field's text; later ones reuse it until
    // the protocol changes.
    const struct {
        const char* Name;
        bool WholeWord;
        bool MatchCase;
    } searches[] = {{"Find Next, no hit (first)", false, false},
                    {"Find Next, no hit (again)", false, false},
                    {"Find Next, no hit, match case", false, true},
                    {"Find Next, no hit, whole word", true, false}};
    for (const auto& each : searches) {
        dialogs.Value = {"no such text here", {}, each.WholeWord, each.MatchCase};
        field.SetCaretPosition(0);
        editState.Search = {};
        SearchContext context{editState.Search, editState.SearchFromTop, field, messages, dialogs, options,
                              exeBaseName};
        Step find(each.Name);
        FindDialogOnFind(context);
        find.Done(editState.Search.SearchFound ? "FOUND?" : "");
    }

    {
        // Every fourth line is COM1's.
        dialogs.Value = {"COM1", "X", false, true};
        field.SetCaretPosition(0);
        editState.Search = {};
        SearchContext context{editState.Search, editState.SearchFromTop, field, messages, dialogs, options,
                              exeBaseName};
        ReplaceDialogOnShow(editState.Search);
        Step replace("Replace All (a quarter of the lines)");
        ReplaceDialogOnReplace(context, true);
        app.processEvents();
        replace.Done(messages.Boxes.empty() ? "no message" : messages.Boxes.back().Text);
        Step undo("Undo of the Replace All");
        field.Undo();
        app.processEvents();
        undo.Done(field.LineText(0).substr(0, 4));
    }
    {
        Step copy("Select All, Copy (on the clipboard)");
        field.SelectAll();
        MainMenuEditCopyOnClick(editCommands);
        app.processEvents();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        copy.Done(data ? ("formats: " + data->formats().join(", ").toStdString()) : "no clipboard");
    }
    for (const char* target : {"UTF8_STRING", "text/rtf"}) {
        const std::string name = std::string("... read by another program: ") + target;
        Step elsewhere(name.c_str());
        const qint64 bytes = ReadClipboardElsewhere(target);
        elsewhere.Done(bytes < 0 ? "(needs an X display and xclip)" : std::to_string(bytes >> 20) + " MiB read");
    }
    {
        field.Clear();
        Step paste("Paste back");
        MainMenuEditPasteOnClick(editCommands);
        app.processEvents();
        paste.Done(std::to_string(field.LineCount()) + " lines");
    }
    return status;
}
