// TFormMain's slots: each forwards to the core handler of the same name, or
// to the command table, and then shows the result.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>

#include "app/command_guard.h"
#include "app/gui/button_row.h"
#include "app/gui/form_main.h"
#include "app/gui/main_menus.h"
#include "app/gui/speed_button.h"
#include "capture/capture_loop.h"
#include "capture/display_mode.h"
#include "capture/recording_commands.h"
#include "capture/trigger_button.h"
#include "channels/channel_button_click.h"
#include "document/edit_commands.h"
#include "document/gui/search_dialog.h"
#include "channels/gui/device_change_watch.h"
#include "platform/qt/qt_protocol_field.h"

namespace kestrum {

void TFormMain::ConnectHandlers() {
    connect(buttons_, &ButtonRow::StartClicked, this, &TFormMain::SpeedButtonStartOnClick);
    // The mouse-up comes between the toggle and the click: it refreshes the
    // texts only, and the click that follows shows them.
    connect(buttons_->Start(), &QToolButton::released, this,
            [this] { kestrum::SpeedButtonStartOnMouseUp(wiring_->Capture, true); });
    connect(buttons_, &ButtonRow::ClearMouseDown, this, [this](Qt::MouseButton button) {
        Handle([&] { SpeedButtonClearOnMouseDown(wiring_->Capture, button == Qt::LeftButton); });
    });
    connect(buttons_, &ButtonRow::AscOrHexMouseDown, this, [this](int tag, Qt::MouseButton button) {
        Handle([&] {
            SpeedButtonAscOrHexOnMouseDown(wiring_->Capture, static_cast<LogMode>(tag), button == Qt::LeftButton);
        });
    });
    // Controls whose handlers come with the mode switch and the sender keep
    // showing the view's state after a click.
    connect(buttons_, &ButtonRow::MonitorOrSenderClicked, this, [this] { SyncView(true); });
    connect(buttons_, &ButtonRow::TriggerClicked, this,
            [this] { Handle([&] { SpeedButtonTriggerOnClick(Settings(), View()); }); });
    connect(buttons_, &ButtonRow::ChannelClicked, this, &TFormMain::SpeedButtonChannelOnClick);
    connect(buttons_, &ButtonRow::ChannelMouseDown, this, &TFormMain::SpeedButtonChannelOnMouseDown);
    DeviceChangeContext& devices = wiring_->DeviceChanges;
    deviceWatch_->SetHandlers(
        [this, &devices] { HandleDeviceEvent([&] { return DeviceChangeMessage(devices); }); },
        [this, &devices] { HandleDeviceEvent([&] { return TimerDeviceChangeOnTimer(devices); }); },
        [this, &devices] { HandleDeviceEvent([&] { return CheckOpenPortLines(devices); }); });
    connect(menus_, &MainMenus::ItemTriggered, this, &TFormMain::MenuItemOnClick);
    connect(menus_, &MainMenus::MenuAboutToShow, this, &TFormMain::MenuOnPopup);
    richEdit_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(richEdit_, &QWidget::customContextMenuRequested, this, &TFormMain::RichEditOnContextMenu);
    connect(this, &TFormMain::HelpRequested, this, [this] { MenuItemOnClick("MainMenuHelp", false, 0); });
    ConnectSenderHandlers();
    ConnectDocumentHandlers();
}

void TFormMain::ConnectDocumentHandlers() {
    // The field's edit keys run the Edit menu's commands, as the menu does.
    field_->SetEditKeyHandler([this](QtProtocolField::EditKey key) {
        static const char* const kItems[] = {"MainMenuEditUndo",  "MainMenuEditCopy",   "MainMenuEditCut",
                                             "MainMenuEditPaste", "MainMenuEditDelete", "MainMenuEditSelectAll"};
        MenuItemOnClick(kItems[static_cast<int>(key)], false, 0);
    });
    // What enables Undo, Copy, Cut, Delete and Paste changed.
    connect(richEdit_, &QPlainTextEdit::copyAvailable, this, [this] { SyncView(true); });
    connect(richEdit_, &QPlainTextEdit::undoAvailable, this, [this] { SyncView(true); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { SyncView(true); });
    const auto search = [this](const std::function<void(SearchContext&)>& handler) {
        Handle([&] { MakeSearchContext(wiring_->EditCommands, handler); });
    };
    connect(searchDialogs_, &QtSearchDialogs::FindDialogFind, this,
            [search] { search([](SearchContext& c) { FindDialogOnFind(c); }); });
    connect(searchDialogs_, &QtSearchDialogs::ReplaceDialogFind, this,
            [search] { search([](SearchContext& c) { ReplaceDialogFindNextOnClick(c); }); });
    connect(searchDialogs_, &QtSearchDialogs::ReplaceDialogReplace, this,
            [search](bool all) { search([all](SearchContext& c) { ReplaceDialogOnReplace(c, all); }); });
}

void TFormMain::SpeedButtonStartOnClick(bool down) {
    // The handler returns when the recording has ended (or at once for Stop).
    Handle([&] {
        Capture().StartButton.Down = down;
        kestrum::SpeedButtonStartOnClick(wiring_->Capture);
    });
}

void TFormMain::SpeedButtonChannelOnClick(int channel, bool down) {
    Handle([&] { kestrum::SpeedButtonChannelOnClick(wiring_->ChannelClick, channel, down); });
}

void TFormMain::SpeedButtonChannelOnMouseDown(int channel, Qt::MouseButton button, Qt::KeyboardModifiers keys,
                                               const QPoint& position) {
    MouseButton pressed = MouseButton::Other;
    if (button == Qt::LeftButton) pressed = MouseButton::Left;
    else if (button == Qt::RightButton) pressed = MouseButton::Right;
    else if (button == Qt::MiddleButton) pressed = MouseButton::Middle;
    const KeyModifiers held{keys.testFlag(Qt::ShiftModifier), keys.testFlag(Qt::ControlModifier),
                            keys.testFlag(Qt::AltModifier)};
    bool popup = false;
    Handle([&] { popup = kestrum::SpeedButtonChannelOnMouseDown(wiring_->ChannelCommands, channel, pressed, held); });
    if (popup && !closed_) menus_->ChannelPopupMenu()->popup(buttons_->Channel(channel)->mapToGlobal(position));
}

void TFormMain::HandleDeviceEvent(const std::function<bool()>& handler) {
    if (closed_) return;
    bool changed = false;
    RunGuarded(*messages_, Geometry().DialogOrigin, [&] { changed = handler(); });
    if (!closed_) SyncView(changed);
}

void TFormMain::MenuItemOnClick(const std::string& name, bool checked, int tag) {
    Handle([&] { wiring_->Commands.Execute(name, {checked, tag}); });
}

void TFormMain::MenuOnPopup(const std::string& name) {
    // A menu's own handler (MainMenuEditOnClick, ...) runs as it opens.
    Handle([&] { wiring_->Commands.Execute(name, {}); });
}

void TFormMain::RichEditOnContextMenu(const QPoint& position) {
    field_->Flush();
    menus_->RichEditPopupMenu()->popup(richEdit_->viewport()->mapToGlobal(position));
}

}  // namespace kestrum
