// TFormMain's slots: each forwards to the core handler of the same name and
// then shows the result.
#include <QMenu>
#include <QPlainTextEdit>

#include "app/gui/button_row.h"
#include "app/gui/form_main.h"
#include "app/gui/main_menus.h"
#include "app/gui/speed_button.h"
#include "capture/capture_loop.h"
#include "capture/display_mode.h"
#include "capture/recording_commands.h"
#include "channels/channel_button_click.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_protocol_field.h"
#include "settings/language_texts.h"
#include "settings/settings_menu.h"

namespace kestrum {

void TFormMain::ConnectHandlers() {
    connect(buttons_, &ButtonRow::StartClicked, this, &TFormMain::SpeedButtonStartOnClick);
    // The mouse-up comes between the toggle and the click: it refreshes the
    // texts only, and the click that follows shows them.
    connect(buttons_->Start(), &QToolButton::released, this,
            [this] { kestrum::SpeedButtonStartOnMouseUp(*captureContext_, true); });
    connect(buttons_, &ButtonRow::ClearMouseDown, this, [this](Qt::MouseButton button) {
        SpeedButtonClearOnMouseDown(*captureContext_, button == Qt::LeftButton);
        SyncView(true);
    });
    connect(buttons_, &ButtonRow::AscOrHexMouseDown, this, [this](int logMode, Qt::MouseButton button) {
        SpeedButtonAscOrHexOnMouseDown(*captureContext_, logMode, button == Qt::LeftButton);
        SyncView(true);
    });
    // Controls whose handlers come with the mode switch, the trigger and the
    // sender keep showing the view's state.
    connect(buttons_, &ButtonRow::MonitorOrSenderMouseDown, this, [this] { SyncView(true); });
    connect(buttons_, &ButtonRow::TriggerClicked, this, [this] { SyncView(true); });
    connect(buttons_, &ButtonRow::SyncClicked, this, [this] { SyncView(true); });
    connect(buttons_, &ButtonRow::ChannelClicked, this, &TFormMain::SpeedButtonChannelOnClick);
    connect(menus_, &MainMenus::ItemTriggered, this, &TFormMain::MenuItemOnClick);
    connect(menus_, &MainMenus::MenuAboutToShow, this, &TFormMain::MenuOnPopup);
    richEdit_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(richEdit_, &QWidget::customContextMenuRequested, this, &TFormMain::RichEditOnContextMenu);
}

void TFormMain::SpeedButtonStartOnClick(bool down) {
    capture_.StartButton.Down = down;
    kestrum::SpeedButtonStartOnClick(*captureContext_);
    // The handler returns when the recording has ended (or at once for Stop).
    if (!closed_) SyncView(true);
}

void TFormMain::SpeedButtonChannelOnClick(int channel, bool down) {
    kestrum::SpeedButtonChannelOnClick(*channelClick_, channel, down);
    SyncView(true);
}

void TFormMain::MenuItemOnClick(const std::string& name, bool checked, int tag) {
    if (const OptionToggle* toggle = FindOptionToggle(name)) {
        toggle->Handler(*settingsCommands_, checked);
    } else if (name == "MainMenuSettingsLanguageEnglish" || name == "MainMenuSettingsLanguageGerman") {
        // MainMenuSettingsLanguageOnClick
        Settings().Language = tag;
        ApplyLanguageNow();
    } else if (name == "MainMenuFileExit") {
        close();
        return;
    }
    SyncView(true);
}

void TFormMain::MenuOnPopup(const std::string& name) {
    if (name == "MainMenuSettings" || name == "RichEditPopupMenu") {
        MainMenuSettingsOnClick(view_, Settings(), Channels(), printerPresent_);
    } else if (name.rfind("MainMenuSettingsChannel", 0) == 0 && name.size() == 24) {
        // MainMenuSettingsChannelOnClick: the trigger items' check marks.
        const int n = name.back() - '0';
        const ChannelRecord& record = Channels().Channels[static_cast<std::size_t>(n)];
        view_.Item(name + "TriggerEnabled").Checked = record.TriggerEnabled;
        view_.Item(name + "TriggerOneShot").Checked = record.TriggerOneShot;
        view_.Changed();
    }
    SyncView(true);
}

void TFormMain::RichEditOnContextMenu(const QPoint& position) {
    field_->Flush();
    menus_->RichEditPopupMenu()->popup(richEdit_->viewport()->mapToGlobal(position));
}

}  // namespace kestrum
