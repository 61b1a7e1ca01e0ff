#include "app/gui/form_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>

#include <filesystem>

#include "app/gui/button_row.h"
#include "app/gui/client_area.h"
#include "app/gui/main_menus.h"
#include "app/window_creation.h"
#include "capture/line_layout.h"
#include "capture/protocol_clock.h"
#include "capture/recording_commands.h"
#include "channels/channel_button_click.h"
#include "channels/channel_table_build.h"
#include "channels/device_assignment.h"
#include "channels/font_entries.h"
#include "channels/port_operations.h"
#include "platform/device_group.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_protocol_field.h"
#include "platform/qt/qt_text.h"
#include "settings/settings_menu.h"

namespace kestrum {

// The steps of the recording engine that belong to the window.
class TFormMain::Hooks : public RecordingHooks {
public:
    explicit Hooks(TFormMain& form) : form_(form) {}
    void SetEditSearchCommandsEnabled(bool enabled) override {
        kestrum::SetEditSearchCommandsEnabled(form_.view_, enabled);
    }

private:
    TFormMain& form_;
};

TFormMain::TFormMain(AppSession& session, FormMainServices services, const QStringList& arguments,
                     QWidget* parent)
    : QMainWindow(parent), session_(session), services_(services) {
    setObjectName("FormMain");
    richEdit_ = new QPlainTextEdit;
    richEdit_->setObjectName("RichEdit");
    buttons_ = new ButtonRow;
    client_ = new ClientArea(richEdit_, buttons_, this);
    setCentralWidget(client_);
    menus_ = new MainMenus(*menuBar(), *this);
    field_ = std::make_unique<QtProtocolField>(*richEdit_);
    if (services_.messages) {
        messages_ = services_.messages;
    } else {
        ownMessages_ = std::make_unique<QtMessageBoxes>(this);
        messages_ = ownMessages_.get();
    }
    pump_ = std::make_unique<QtMessagePump>([this] { SyncView(); });
    hooks_ = std::make_unique<Hooks>(*this);
    StartupState& state = session_.State;
    captureContext_ = std::make_unique<CaptureContext>(CaptureContext{
        state.Settings, state.Channels, *field_, services_.ports, services_.clock, *pump_,
        services_.pollTimer, *messages_, state.Locale, *hooks_, capture_, geometry_.DialogOrigin,
        state.Files.ExeBaseName});
    channelClick_ = std::make_unique<ChannelClickContext>(ChannelClickContext{
        state.Settings, state.Channels, view_, services_.ports, *messages_, geometry_.DialogOrigin,
        state.Files.ExeBaseName, [](const std::string& device) { return DeviceGroupName(device); },
        [](bool busy) {
            if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
            else QApplication::restoreOverrideCursor();
        }});
    settingsCommands_ = std::make_unique<SettingsCommandContext>(
        SettingsCommandContext{state.Settings, view_, capture_.Layout, state.Channels, *field_});
    FormMainOnCreate(arguments);
}

TFormMain::~TFormMain() {
    qApp->removeEventFilter(this);
    if (!closed_) FormMainOnClose();
}

void TFormMain::FormMainOnCreate(const QStringList& arguments) {
    Options& options = Settings();
    ChannelTable& channels = Channels();
    const InstanceInfo& instance = session_.State.Instance;
    RecordingState& recording = capture_.Recording;

    // 1-2. Being created; hints.
    recording.ActivityMarker = kActivityCreating;
    setAttribute(Qt::WA_AlwaysShowToolTips);
    // 3. Minimise, restore and key handlers (changeEvent, eventFilter).
    qApp->installEventFilter(this);
    // 4-5. Menu lookup by name; channel button captions.
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        view_.ChannelButtons[static_cast<std::size_t>(n)].Caption = channels.Channels[static_cast<std::size_t>(n)].PortName;
    SetFixedCaptions(view_);
    // 8. An empty protocol; Edit search commands off; the printer item.
    field_->Clear();
    kestrum::SetEditSearchCommandsEnabled(view_, false);
    // 9. Option ranges fixed at creation (filter indexes, printer
    // orientation, language, sender mode, protocol folders).
    startDirectory_ = std::filesystem::current_path().string();
    NormaliseOptionsAtCreation(options, startDirectory_);
    // 10. Window measures.
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int screenWidth = screen() ? screen()->geometry().width() : 1024;
    const int border = (frameGeometry().width() - width()) / 2;
    MeasureWindow(geometry_, caption, MinimumWindowWidth(border), kButtonRowWidth, instance.Number, screenWidth);
    // 12. Background.
    field_->SetBackgroundColour(options.BackgroundColor);
    // 13. Protocol clock.
    SetUpProtocolClock(capture_.ProtocolTime, services_.clock);
    // 16. Check marks and enabling of the option items.
    MainMenuSettingsOnClick(view_, options, channels, printerPresent_);
    // 17. Channel table, default text attributes, user font for typed text.
    BuildChannelTable(channels);
    field_->SetDefaultAttributes(FontEntryAttributes(channels.Fonts[kUserEntry]));
    field_->SetAppendAttributes(FontEntryAttributes(channels.Fonts[kUserEntry]));
    // 19-20. Geometry and layout (the client area keeps the layout).
    PlaceWindow(options, geometry_, instance.IsMaster);
    ApplyWindowGeometry();
    // 21-22. Mode and display controls.
    SetUpModeControls(view_, options, instance);
    // 24. Language.
    ApplyLanguageNow();
    ConnectHandlers();
    SyncView(true);
    // 25. Shown unless it starts minimised.
    if (geometry_.Minimised) {
        showMinimized();
        wasMinimised_ = true;
    } else if (geometry_.Maximised) {
        showMaximized();
    } else {
        show();
    }
    if (!geometry_.Minimised) {
        richEdit_->setFocus();
        pump_->ProcessMessagesNow();
    }
    // 26. Where messages go.
    geometry_.DialogOrigin = DialogOriginOf(options, geometry_.CaptionHeight);
    // 27. Ports: devices for channels without one, presence, opening, buttons.
    AssignDevices(channels, services_.devices.ListPresentSerialDevices());
    OpenPortsAtStartup(channels, options, services_.ports);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) ShowChannelButton(view_, channels, options, n);
    ApplySettingsMenuEnabling(view_, options, channels, printerPresent_);
    // 29. Hex line width; line length.
    SetHexLineWidth(capture_.Layout, options);
    UpdateMaxLineLength(capture_.Layout, options, channels, *field_);
    // 30. Nothing running.
    recording.Running = false;
    recording.ProtocolFull = false;
    recording.ClearRequest = false;
    // 31. Command line: "/?" asks for the help contents.
    if (arguments.size() > 1 && arguments.at(1) == "/?") emit HelpRequested();
    // 32. Idle.
    SyncView(true);
    recording.ActivityMarker = kActivityIdle;
}

void TFormMain::ApplyWindowGeometry() {
    const Options& options = Settings();
    setMinimumSize(geometry_.MinimumWidth - 2 * geometry_.BorderWidth, geometry_.MinimumHeight);
    move(options.Left, options.Top);
    resize(options.Width, options.Height);
}

LanguageContext TFormMain::LanguageContextNow() const {
    const StartupState& state = session_.State;
    return {state.Instance.IsMaster, state.Files.ExeBaseName, state.Files.ExeDirectory,
            DefaultProtocolFileTitle(state.Settings)};
}

void TFormMain::ApplyLanguageNow() {
    ApplyLanguage(view_, capture_.StartButton, capture_.Recording, Settings(), Channels(), LanguageContextNow());
    session_.State.HelpFilePath = view_.HelpFilePath;
    SetSettingsMenuChecks(view_, Settings());
}

void TFormMain::SyncView(bool force) {
    const StartButtonView& start = capture_.StartButton;
    const int language = Settings().Language;
    const bool startChanged = start.Down != appliedStart_.Down || start.Enabled != appliedStart_.Enabled ||
                              start.CaptionRow != appliedStart_.CaptionRow || start.HintRow != appliedStart_.HintRow;
    if (!force && !startChanged && view_.Revision == appliedRevision_ && language == appliedLanguage_) return;
    view_.Asc.Down = Settings().LogMode == 1;
    view_.Hex.Down = Settings().LogMode == 2;
    buttons_->ApplyView(view_, start, language);
    menus_->ApplyView(view_);
    const QString title = Cp1252ToQString(view_.WindowCaption);
    if (windowTitle() != title) setWindowTitle(title);
    appliedRevision_ = view_.Revision;
    appliedStart_ = start;
    appliedLanguage_ = language;
}

WindowBounds TFormMain::CurrentBounds() const { return {pos().x(), pos().y(), width(), height()}; }

void TFormMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    TrackCanResize(Settings(), geometry_, capture_.Recording.ActivityMarker, CurrentBounds());
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormMainOnResize();
}

void TFormMain::FormMainOnResize() {
    UpdateMaxLineLength(capture_.Layout, Settings(), Channels(), *field_);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    TrackResize(Settings(), geometry_, capture_.Recording.ActivityMarker, CurrentBounds());
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || changingState_) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool minimised = windowState() & Qt::WindowMinimized;
    Options& options = Settings();
    if (minimised && !wasMinimised_) {
        wasMinimised_ = true;
        const int formState = (change->oldState() & Qt::WindowMaximized) ? kWindowMaximised : kWindowNormal;
        // The bounds kept are those of the normal window.
        const WindowBounds bounds = formState == kWindowNormal
                                        ? CurrentBounds()
                                        : WindowBounds{options.Left, options.Top, options.Width, options.Height};
        TrackMinimise(options, geometry_, capture_.Recording.ActivityMarker, formState, bounds);
    } else if (!minimised && wasMinimised_) {
        wasMinimised_ = false;
        const int state = TrackRestore(options, geometry_);
        changingState_ = true;
        if (state == kWindowMaximised) {
            setWindowState(Qt::WindowMaximized);
        } else {
            setWindowState(Qt::WindowNoState);
            move(options.Left, options.Top);
            resize(options.Width, options.Height);
        }
        changingState_ = false;
    }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    // KeyPreview: every key of this window, once, at its first receiver
    // (the focused widget; a key it ignores travels on to its parents).
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        QWidget* focus = QApplication::focusWidget();
        if (watched == focus || (!focus && watched == this)) {
            auto* key = static_cast<QKeyEvent*>(event);
            FormMainOnKeyDown(key);
            if (watched == richEdit_ && !key->text().isEmpty()) {
                RichEditOnKeyPress(*captureContext_);
                field_->Flush();  // the typed character goes after the lines just written
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::FormMainOnKeyDown(QKeyEvent* event) {
    pump_->ProcessMessages();
    const bool ctrlOnly = (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier &&
                          !(event->modifiers() & Qt::KeypadModifier);
    const int digit = event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9 ? event->key() - Qt::Key_0 : -1;
    const int channel = ChannelSendShortcut(ctrlOnly, digit, Settings(), Channels(), capture_.Recording.Running);
    if (channel != 0) emit ManualSendRequested(channel);
    kestrum::SetEditSearchCommandsEnabled(
        view_, EditSearchCommandsAllowed(field_->LineCount(), capture_.Recording.Running));
    SyncView();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!closed_) FormMainOnClose();
    event->accept();
}

void TFormMain::FormMainOnClose() {
    closed_ = true;
    Options& options = Settings();
    RecordingState& recording = capture_.Recording;
    // 1. Ends a running recording (it notices when its handler regains control).
    recording.ActivityMarker = kActivityClosing;
    recording.Running = false;
    hooks_->StopSending();
    pump_->ProcessMessagesNow();
    // 2. Every open port closed with its own settings put back.
    CloseAllPorts(Channels(), services_.ports);
    // 4. The settings: the master keeps the normal bounds and the state.
    Qt::WindowStates state = windowState();
    options.WindowState =
        WindowStateToSave(geometry_, (state & Qt::WindowMaximized) ? kWindowMaximised : kWindowNormal);
    FinishSession(session_, this, geometry_.DialogOrigin);
}

}  // namespace kestrum
