#pragma once
// TFormMain: the program's main window. Its creation handler brings every
// part into its starting state in a fixed order; its close handler ends a
// recording, closes the ports, writes the settings and gives up the
// instance number. Every Qt slot forwards to the core handler of the same
// name; what the controls show is the core's MainView, copied onto the
// widgets by SyncView (also from the message pump, so that a running
// recording keeps the window up to date).

#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <string>

#include "app/apply_language.h"
#include "app/gui/app_session.h"
#include "app/main_view.h"
#include "app/window_geometry.h"
#include "capture/capture_context.h"
#include "platform/serial_devices.h"

class QPlainTextEdit;

namespace kestrum {

class ButtonRow;
class ClientArea;
class MainMenus;
class QtMessagePump;
class QtProtocolField;
struct ChannelClickContext;
struct SettingsCommandContext;

// The outside world of the window; main() passes the system's, tests may
// pass others. Without `messages` the window shows Qt message boxes.
struct FormMainServices {
    SerialPorts& ports;
    SerialDevices& devices;
    Clock& clock;
    PollTimer& pollTimer;
    MessageBoxes* messages = nullptr;
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
    MainView& View() { return view_; }
    CaptureState& Capture() { return capture_; }
    CaptureContext& CaptureCtx() { return *captureContext_; }
    Options& Settings() { return session_.State.Settings; }
    ChannelTable& Channels() { return session_.State.Channels; }
    const WindowGeometry& Geometry() const { return geometry_; }
    const std::string& StartDirectory() const { return startDirectory_; }

    // Copies MainView onto the widgets when it changed (always with `force`).
    void SyncView(bool force = false);
    // Re-applies the language of the options (the language menu items).
    void ApplyLanguageNow();

signals:
    // Ctrl+digit while recording on an active channel (the manual send dialog).
    void ManualSendRequested(int channel);
    // "/?" on the command line: show the help file's contents.
    void HelpRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Hooks;

    void FormMainOnCreate(const QStringList& arguments);
    void ApplyWindowGeometry();
    void FormMainOnClose();
    void FormMainOnKeyDown(QKeyEvent* event);
    void FormMainOnResize();
    void ConnectHandlers();
    LanguageContext LanguageContextNow() const;
    WindowBounds CurrentBounds() const;

    // Slots (form_main_handlers.cpp).
    void SpeedButtonStartOnClick(bool down);
    void SpeedButtonChannelOnClick(int channel, bool down);
    void MenuItemOnClick(const std::string& name, bool checked, int tag);
    void MenuOnPopup(const std::string& name);
    void RichEditOnContextMenu(const QPoint& position);

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
    std::unique_ptr<Hooks> hooks_;
    CaptureState capture_;
    std::unique_ptr<CaptureContext> captureContext_;
    std::unique_ptr<ChannelClickContext> channelClick_;
    std::unique_ptr<SettingsCommandContext> settingsCommands_;
    MainView view_;
    WindowGeometry geometry_;
    std::string startDirectory_;
    bool printerPresent_ = false;
    bool closed_ = false;
    bool changingState_ = false;
    bool wasMinimised_ = false;
    unsigned appliedRevision_ = ~0u;
    StartButtonView appliedStart_{};
    int appliedLanguage_ = 0;
};

}  // namespace kestrum
