#include "app/gui/form_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <filesystem>

#include "app/command_guard.h"
#include "app/gui/button_row.h"
#include "app/gui/client_area.h"
#include "app/gui/help_window.h"
#include "app/gui/command_line_options.h"
#include "app/gui/main_menus.h"
#include "app/gui/menu_icons.h"
#include "app/main_window_lifecycle.h"
#include "capture/line_layout.h"
#include "capture/recording_commands.h"
#include "document/gui/qt_file_dialogs.h"
#include "document/gui/search_dialog.h"
#include "channels/gui/device_change_watch.h"
#include "channels/gui/font_dialog.h"
#include "channels/gui/port_dialog.h"
#include "platform/device_group.h"
#include "platform/qt/qt_input_box.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_protocol_field.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_interval_timer.h"
#include "sender/gui/form_get_input_line.h"
#include "platform/qt/protocol_text_edit.h"
#include "settings/gui/qt_settings_dialogs.h"

namespace kestrum {
namespace {

// Hints show 100 ms after the mouse comes to rest (the display time of
// 2000 ms is each widget's toolTipDuration).
class HintTimingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return 100;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void UseHintTiming() {
    if (dynamic_cast<HintTimingStyle*>(QApplication::style()) == nullptr)
        QApplication::setStyle(new HintTimingStyle(QApplication::style()->name()));
}

}  // namespace

TFormMain::TFormMain(AppSession& session, FormMainServices services, const QStringList& arguments,
                     QWidget* parent)
    : QMainWindow(parent), session_(session), services_(services) {
    setObjectName("FormMain");
    richEdit_ = new ProtocolTextEdit;
    richEdit_->setObjectName("RichEdit");
    buttons_ = new ButtonRow;
    client_ = new ClientArea(richEdit_, buttons_, this);
    setCentralWidget(client_);
    menus_ = new MainMenus(*menuBar(), *this);
    SetMenuIcons(*menus_);
    field_ = std::make_unique<QtProtocolField>(*richEdit_);
    if (services_.messages) {
        messages_ = services_.messages;
    } else {
        ownMessages_ = std::make_unique<QtMessageBoxes>(this);
        messages_ = ownMessages_.get();
    }
    pump_ = std::make_unique<QtMessagePump>([this] { SyncView(); });
    printer_ = std::make_unique<QtPrinter>(this, [this] {
        field_->Flush();
        return richEdit_->document();
    });
    settingsDialogs_ = std::make_unique<QtSettingsDialogs>(this, View().CancelCaption, Geometry().DialogOrigin);
    help_ = std::make_unique<QtHelpViewer>(this);
    txTimer_ = new QtIntervalTimer(this);
    inputLine_ = new TFormGetInputLine(this);
    if (!services_.syncEvents) {
        ownSyncEvents_ = CreateSystemSyncEvents();
        services_.syncEvents = ownSyncEvents_.get();
    }
    fileDialogs_ = std::make_unique<QtProtocolFileDialogs>(this);
    searchDialogs_ = new QtSearchDialogs(*this, session_.State.Settings());
    portDialog_ = std::make_unique<QtPortDialog>(this, services_.devices, session_.State.Settings());
    fontDialog_ = std::make_unique<QtFontDialog>(this);
    inputBox_ = std::make_unique<QtInputBox>(this, [this] { return View().CancelCaption; });
    deviceWatch_ = new DeviceChangeWatch(services_.deviceWatcher, this);
    AppServices appServices{services_.ports, services_.devices, services_.clock, services_.pollTimer, *field_, *pump_,
                    *messages_, [](const std::string& device) { return DeviceGroupName(device); },
                    [](bool busy) {
                        if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
                        else QApplication::restoreOverrideCursor();
                    },
                    [this] { QTimer::singleShot(0, this, &QWidget::close); }, *printer_, *settingsDialogs_,
                    *help_, txTimer_, services_.syncEvents, inputLine_, fileDialogs_.get(), searchDialogs_};
    appServices.PortSettings = portDialog_.get();
    appServices.Fonts = fontDialog_.get();
    appServices.Input = inputBox_.get();
    appServices.Watcher = services_.deviceWatcher;
    appServices.DeviceTimer = deviceWatch_;
    wiring_ = std::make_unique<AppWiring>(session_.State, appServices);
    // Text that reaches the protocol by the user's hand goes after the
    // lines written so far, and no later line replaces it.
    field_->SetUserEditHandler([this] { RichEditOnKeyPress(wiring_->Capture); });
    FormMainOnCreate(TakeProgramOptions(arguments, session_.State.Capture.CaptureFile));
}

TFormMain::~TFormMain() {
    qApp->removeEventFilter(this);
    if (!closed_) FormMainOnClose();
}

void TFormMain::FormMainOnCreate(const QStringList& arguments) {
    setAttribute(Qt::WA_AlwaysShowToolTips);
    UseHintTiming();
    // Minimise, restore and key handlers (changeEvent, eventFilter).
    qApp->installEventFilter(this);
    WindowMeasures measures;
    measures.CaptionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    measures.BorderWidth = (frameGeometry().width() - width()) / 2;
    if (screen()) measures.ScreenWidth = screen()->geometry().width();
    PrepareMainWindow(*wiring_, measures, std::filesystem::current_path().string());
    ApplyWindowGeometry();
    ConnectHandlers();
    SyncView(true);
    // Shown unless it starts minimised.
    const WindowGeometry& geometry = Geometry();
    if (geometry.Minimised) {
        showMinimized();
        wasMinimised_ = true;
    } else if (geometry.Maximised) {
        showMaximized();
    } else {
        show();
    }
    if (!geometry.Minimised) {
        // The window takes the keyboard as it appears, so that the menus'
        // Alt keys work before the first click; also where no window
        // manager hands out the focus.
        activateWindow();
        richEdit_->setFocus();
        pump_->ProcessMessagesNow();
    }
    std::vector<std::string> commandLine;
    for (const QString& argument : arguments) commandLine.push_back(QFile::encodeName(argument).toStdString());
    FinishMainWindowCreation(*wiring_, commandLine);
    // "/?" asks for the help contents once the window exists and whoever
    // shows help has been connected.
    if (arguments.size() > 1 && arguments.at(1) == "/?")
        QTimer::singleShot(0, this, [this] { emit HelpRequested(); });
    SyncView(true);
}

void TFormMain::ApplyWindowGeometry() {
    const Options& options = Settings();
    const WindowGeometry& geometry = Geometry();
    setMinimumSize(geometry.MinimumWidth - 2 * geometry.BorderWidth, geometry.MinimumHeight);
    move(options.Left, options.Top);
    resize(options.Width, options.Height);
}

void TFormMain::SyncView(bool force) {
    AppState& state = session_.State;
    MainView& view = state.View;
    if (force) wiring_->Commands.ShowStates(view);
    const StartButtonView& start = state.Capture.StartButton;
    const int language = Settings().Language;
    if (!force && start == appliedStart_ && view.Revision == appliedRevision_ && language == appliedLanguage_) return;
    view.Asc.Down = Settings().LogMode == LogMode::Ascii;
    view.Hex.Down = Settings().LogMode == LogMode::Hex;
    buttons_->ApplyView(view, start, language);
    menus_->ApplyView(view);
    const QString title = Cp1252ToQString(view.WindowCaption);
    if (windowTitle() != title) setWindowTitle(title);
    appliedRevision_ = view.Revision;
    appliedStart_ = start;
    appliedLanguage_ = language;
}

void TFormMain::Handle(const std::function<void()>& handler) {
    RunGuarded(*messages_, Geometry().DialogOrigin, handler);
    if (!closed_) SyncView(true);
}

WindowBounds TFormMain::CurrentBounds() const { return {pos().x(), pos().y(), width(), height()}; }

void TFormMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    TrackCanResize(Settings(), session_.State.Geometry, Capture().Recording.ActivityMarker, CurrentBounds());
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormMainOnResize();
}

void TFormMain::FormMainOnResize() {
    UpdateMaxLineLength(Capture().Layout, Settings(), Channels(), *field_);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    TrackResize(Settings(), session_.State.Geometry, Capture().Recording.ActivityMarker, CurrentBounds());
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || changingState_) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool minimised = windowState() & Qt::WindowMinimized;
    Options& options = Settings();
    WindowGeometry& geometry = session_.State.Geometry;
    if (minimised && !wasMinimised_) {
        wasMinimised_ = true;
        const WindowState formState =
            (change->oldState() & Qt::WindowMaximized) ? WindowState::Maximised : WindowState::Normal;
        // The bounds kept are those of the normal window.
        const WindowBounds bounds = formState == WindowState::Normal
                                        ? CurrentBounds()
                                        : WindowBounds{options.Left, options.Top, options.Width, options.Height};
        TrackMinimise(options, geometry, Capture().Recording.ActivityMarker, formState, bounds);
    } else if (!minimised && wasMinimised_) {
        wasMinimised_ = false;
        const WindowState state = TrackRestore(options, geometry);
        changingState_ = true;
        if (state == WindowState::Maximised) {
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
        if (watched == focus || (!focus && watched == this)) FormMainOnKeyDown(static_cast<QKeyEvent*>(event));
    }
    // When one of our dialogs closes and none of our windows is left active
    // (no window manager gives the focus back), the keyboard comes back here:
    // without it the menus' Alt keys would type into the protocol.
    if (event->type() == QEvent::Hide && watched != this && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && type != Qt::ToolTip && type != Qt::Popup)
            QTimer::singleShot(0, this, [this] {
                if (!QApplication::activeWindow() && isVisible() && !isMinimized()) activateWindow();
            });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::FormMainOnKeyDown(QKeyEvent* event) {
    // Keys and clicks already queued behind this key stay behind it: run
    // from here they would overtake it (Ctrl+C before the Ctrl+A typed
    // first, while a long command held the window up).
    pump_->ProcessMessagesExceptInput();
    const bool ctrlOnly = event->modifiers() == Qt::ControlModifier;
    const int digit = event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9 ? event->key() - Qt::Key_0 : -1;
    int channel = 0;
    Handle([&] { channel = kestrum::FormMainOnKeyDown(*wiring_, ctrlOnly, digit); });
    if (channel != 0) emit ManualSendRequested(channel);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!closed_) FormMainOnClose();
    event->accept();
}

void TFormMain::FormMainOnClose() {
    closed_ = true;
    BeginClosingMainWindow(*wiring_);
    // A running recording notices the end when its handler regains control.
    pump_->ProcessMessagesNow();
    FinishClosingMainWindow(*wiring_,
                            (windowState() & Qt::WindowMaximized) ? WindowState::Maximised : WindowState::Normal);
    FinishSession(session_, this, Geometry().DialogOrigin);
}

}  // namespace kestrum
