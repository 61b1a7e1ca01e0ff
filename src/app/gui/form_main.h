#pragma once
// TFormMain: the program's main window. It assembles the widgets (the
// protocol field over the button row, the menus), forwards every event to
// the core handler of the same name or to the command table, and copies the
// core's MainView onto the widgets (SyncView; also from the message pump, so
// that a running recording keeps the window up to date). The state lives in
// the session's AppState, the rules in the core.

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

#include "app/app_wiring.h"
#include "app/gui/app_session.h"
#include "platform/device_watcher.h"
#include "platform/serial_devices.h"
#include "platform/sync_event.h"

class QPlainTextEdit;

namespace kestrum {

class ButtonRow;
class ClientArea;
class DeviceChangeWatch;
class QtFontDialog;
class QtInputBox;
class QtPortDialog;
class MainMenus;
class QtHelpViewer;
class QtMessagePump;
class QtPrinter;
class QtProtocolField;
class QtIntervalTimer;
class TFormGetInputLine;
class QtProtocolFileDialogs;
class QtSearchDialogs;
class QtSettingsDialogs;

// The outside world of the window; main() passes the system's, tests may
// pass others. Without `messages` the window shows Qt message boxes.
struct FormMainServices {
    SerialPorts& ports;
    SerialDevices& devices;
    Clock& clock;
    PollTimer& pollTimer;
    MessageBoxes* messages = nullptr;
    // The named sync event between instances; without it the window uses
    // the system's.
    SyncEvents* syncEvents = nullptr;
    // Notices devices that come and go; none: no automatic detection.
    DeviceWatcher* deviceWatcher = nullptr;
};

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    TFormMain(AppSession& session, FormMainServices services, const QStringList& arguments,
              QWidget* parent = nullptr);
    ~TFormMain() override;

    // Parts of the window, for the parts of the program built on it and for tests.
    QPlainTextEdit& RichEdit() { return *richEdit_; }
    QtProtocolField& Field() { return *field_; }
    ButtonRow& Buttons() { return *buttons_; }
    MainMenus& Menus() { return *menus_; }
    QtMessagePump& Pump() { return *pump_; }
    QtPrinter& Printer() { return *printer_; }
    QtSettingsDialogs& Dialogs() { return *settingsDialogs_; }
    QtHelpViewer& Help() { return *help_; }
    QtIntervalTimer& TxTimer() { return *txTimer_; }
    TFormGetInputLine& FormGetInputLine() { return *inputLine_; }
    DeviceChangeWatch& DeviceWatch() { return *deviceWatch_; }
    AppWiring& Wiring() { return *wiring_; }
    QtSearchDialogs& SearchDialogs() { return *searchDialogs_; }
    AppState& State() { return session_.State; }
    MainView& View() { return session_.State.View; }
    CaptureState& Capture() { return session_.State.Capture; }
    CaptureContext& CaptureCtx() { return wiring_->Capture; }
    Options& Settings() { return session_.State.Settings(); }
    ChannelTable& Channels() { return session_.State.Channels(); }
    const WindowGeometry& Geometry() const { return session_.State.Geometry; }
    const std::string& StartDirectory() const { return session_.State.StartDirectory; }

    // Copies MainView onto the widgets when it changed; with `force` the
    // commands' states are applied first and everything is copied.
    void SyncView(bool force = false);

signals:
    // Ctrl+digit while recording on an active channel (the manual send dialog).
    void ManualSendRequested(int channel);
    // "/?" on the command line: show the help file's contents. Sent once the
    // window exists, from the event loop.
    void HelpRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormMainOnCreate(const QStringList& arguments);
    void ApplyWindowGeometry();
    void FormMainOnClose();
    void FormMainOnKeyDown(QKeyEvent* event);
    void FormMainOnResize();
    void ConnectHandlers();
    void ConnectDocumentHandlers();
    WindowBounds CurrentBounds() const;
    // Runs a handler guarded (its exception is shown) and then shows the state.
    void Handle(const std::function<void()>& handler);

    // Slots (form_main_handlers.cpp).
    void SpeedButtonStartOnClick(bool down);
    void SpeedButtonChannelOnClick(int channel, bool down);
    void SpeedButtonChannelOnMouseDown(int channel, Qt::MouseButton button, Qt::KeyboardModifiers keys,
                                       const QPoint& position);
    // A device-change handler: guarded, and the view shown in full only when
    // it changed a channel.
    void HandleDeviceEvent(const std::function<bool()>& handler);
    void MenuItemOnClick(const std::string& name, bool checked, int tag);
    void MenuOnPopup(const std::string& name);
    void RichEditOnContextMenu(const QPoint& position);
    void ConnectSenderHandlers();
    void TxTimerOnTimer();

    AppSession& session_;
    FormMainServices services_;
    QPlainTextEdit* richEdit_ = nullptr;
    ButtonRow* buttons_ = nullptr;
    ClientArea* client_ = nullptr;
    MainMenus* menus_ = nullptr;
    std::unique_ptr<QtProtocolField> field_;
    std::unique_ptr<MessageBoxes> ownMessages_;
    MessageBoxes* messages_ = nullptr;
    std::unique_ptr<QtMessagePump> pump_;
    std::unique_ptr<QtProtocolFileDialogs> fileDialogs_;
    QtSearchDialogs* searchDialogs_ = nullptr;
    std::unique_ptr<QtPrinter> printer_;
    std::unique_ptr<QtSettingsDialogs> settingsDialogs_;
    std::unique_ptr<QtHelpViewer> help_;
    QtIntervalTimer* txTimer_ = nullptr;
    TFormGetInputLine* inputLine_ = nullptr;
    std::unique_ptr<SyncEvents> ownSyncEvents_;
    std::unique_ptr<QtPortDialog> portDialog_;
    std::unique_ptr<QtFontDialog> fontDialog_;
    std::unique_ptr<QtInputBox> inputBox_;
    DeviceChangeWatch* deviceWatch_ = nullptr;
    std::unique_ptr<AppWiring> wiring_;
    bool closed_ = false;
    bool changingState_ = false;
    bool wasMinimised_ = false;
    unsigned appliedRevision_ = ~0u;
    StartButtonView appliedStart_{};
    int appliedLanguage_ = 0;
};

}  // namespace kestrum
