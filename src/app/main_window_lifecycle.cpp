#include "app/main_window_lifecycle.h"

#include "app/apply_language.h"
#include "app/window_creation.h"
#include "capture/capture_file_run.h"
#include "capture/line_layout.h"
#include "capture/protocol_clock.h"
#include "channels/channel_table_build.h"
#include "channels/device_assignment.h"
#include "channels/font_entries.h"
#include "channels/port_operations.h"
#include "document/file_commands.h"
#include "document/find_replace.h"
#include "document/protocol_files.h"
#include "document/system_text.h"
#include "document/print_commands.h"
#include "sender/sender_controls.h"
#include "sender/sync_pacing.h"

namespace kestrum {

void PrepareMainWindow(AppWiring& w, const WindowMeasures& measures, const std::string& startDirectory) {
    AppState& s = w.State;
    Options& options = s.Settings();
    ChannelTable& channels = s.Channels();
    ProtocolField& field = w.Services.Field;

    s.Capture.Recording.ActivityMarker = ActivityMarker::Creating;
    // The printer presence test of the start-up; it enables Settings > Printer.
    s.PrinterPresent = TestPrinterPresence(w.Services.Printer);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) s.View.ChannelButton(n).Caption = channels.Channel(n).PortName;
    OpenSyncEvent(w.Sender);
    SetFixedCaptions(s.View);
    field.Clear();
    w.Search.SetEditSearchCommandsEnabled(false);
    s.StartDirectory = startDirectory;
    NormaliseOptionsAtCreation(options, startDirectory);
    ResetSearchDialogPlacement(s.Edit.Search);
    MeasureWindow(s.Geometry, measures.CaptionHeight, MinimumWindowWidth(measures.BorderWidth), kButtonRowWidth,
                  s.Startup.Instance.Number, measures.ScreenWidth);
    field.SetBackgroundColour(options.BackgroundColor);
    SetUpProtocolClock(s.Capture.ProtocolTime, w.Services.Clock);
    SetUpSenderControls(w.Sender);
    BuildChannelTable(channels);
    field.SetDefaultAttributes(FontEntryAttributes(channels.Font(kUserEntry)));
    field.SetAppendAttributes(FontEntryAttributes(channels.Font(kUserEntry)));
    SetDefaultProtocolFiles(s.ProtocolFiles, options);
    PlaceWindow(options, s.Geometry, s.Startup.Instance.IsMaster);
    SetUpModeControls(s.View, options, s.Startup.Instance);
    RememberPrinterOrientation(s.Print, w.Services.Printer, s.PrinterPresent);
    ApplyLanguageToWindow(s);
    w.Commands.ShowStates(s.View);
}

void FinishMainWindowCreation(AppWiring& w, const std::vector<std::string>& arguments) {
    AppState& s = w.State;
    Options& options = s.Settings();
    ChannelTable& channels = s.Channels();
    RecordingState& recording = s.Capture.Recording;

    s.Geometry.DialogOrigin = DialogOriginOf(options, s.Geometry.CaptionHeight);
    AssignDevices(channels, w.Services.Devices.ListPresentSerialDevices());
    WatchChannelDevices(w.DeviceChanges);
    OpenPortsAtStartup(channels, options, w.Services.Ports);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) ShowChannelButton(s.View, channels, options, n);
    SetHexLineWidth(s.Capture.Layout, options);
    UpdateMaxLineLength(s.Capture.Layout, options, channels, w.Services.Field);
    recording.Running = false;
    recording.ProtocolFull = false;
    recording.ClearRequest = false;
    LoadCommandLineFile(w.FileCommands, arguments);
    w.Commands.ShowStates(s.View);
    recording.ActivityMarker = ActivityMarker::Idle;
}

void BeginClosingMainWindow(AppWiring& w) {
    RecordingState& recording = w.State.Capture.Recording;
    recording.ActivityMarker = ActivityMarker::Closing;
    recording.Running = false;
    w.Sending.StopSending();
}

void FinishClosingMainWindow(AppWiring& w, WindowState formState) {
    EndCaptureFile(w.Capture);
    CloseAllPorts(w.State.Channels(), w.Services.Ports);
    RestorePrinterOrientation(w.State.Print, w.Services.Printer, w.State.PrinterPresent);
    CloseSyncEvent(w.Sender);
    w.State.Settings().WindowState = WindowStateToSave(w.State.Geometry, formState);
}

int FormMainOnKeyDown(AppWiring& w, bool ctrlOnly, int digit) {
    AppState& s = w.State;
    const bool running = s.Capture.Recording.Running;
    const int channel = ChannelSendShortcut(ctrlOnly, digit, s.Settings(), s.Channels(), running);
    // Running first: counting the lines would wait for the field.
    w.Search.SetEditSearchCommandsEnabled(!running && w.Services.Field.LineCount() > 0);
    w.Commands.ShowStates(s.View);
    return channel;
}

void ApplyLanguageToWindow(AppState& s) {
    const StartupState& startup = s.Startup;
    const LanguageContext context{startup.Instance.IsMaster, SystemText(startup.Files.ExeBaseName),
                                  startup.Files.ExeDirectory,
                                  SystemText(ProtocolFileTitle(s.ProtocolFiles, s.Settings()))};
    ApplyLanguage(s.View, s.Capture.StartButton, s.Capture.Recording, s.Settings(), s.Channels(), context);
    s.Startup.HelpFilePath = s.View.HelpFilePath;
}

}  // namespace kestrum
