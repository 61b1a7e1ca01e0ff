// TFormMain's slots of sending: the mode buttons, the Sync button, the send
// interval controls, TxTimer and the manual send; each forwards to the
// sender's core handler of the same name.
#include <QApplication>
#include <QLineEdit>

#include "app/command_guard.h"
#include "app/gui/button_row.h"
#include "app/gui/form_main.h"
#include "app/gui/speed_button.h"
#include "platform/qt/qt_interval_timer.h"
#include "platform/qt/qt_text.h"
#include "sender/gui/tx_interval_key_filter.h"
#include "sender/manual_send.h"
#include "sender/mode_switch.h"
#include "sender/sender_controls.h"
#include "sender/tx_timer_tick.h"

namespace kestrum {

void TFormMain::ConnectSenderHandlers() {
    connect(buttons_, &ButtonRow::MonitorOrSenderMouseDown, this,
            [this](bool monitor, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
                const bool plainLeft = button == Qt::LeftButton && QApplication::mouseButtons() == Qt::LeftButton &&
                                       !(keys & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
                Handle([&] { SpeedButtonMonitorOrSenderOnMouseDown(wiring_->Sender, monitor, plainLeft); });
            });
    for (SpeedButton* mode : {buttons_->Monitor(), buttons_->Sender()})
        connect(mode, &QToolButton::released, this,
                [this] { Handle([&] { SpeedButtonMonitorOrSenderOnMouseUp(wiring_->Sender); }); });
    connect(buttons_, &ButtonRow::SyncClicked, this,
            [this] { Handle([&] { SpeedButtonSyncOnClick(wiring_->Sender); }); });
    connect(buttons_, &ButtonRow::TxIntervalStep, this,
            [this](int step) { Handle([&] { UpDownTxTimeIntervalOnClick(wiring_->Sender, step); }); });
    QLineEdit* interval = buttons_->TxTimeInterval();
    interval->installEventFilter(new TxIntervalKeyFilter(interval));
    connect(interval, &QLineEdit::textEdited, this, [this](const QString& text) {
        Handle([&] { EditTxTimeIntervalOnChange(wiring_->Sender, QStringToCp1252(text)); });
    });
    txTimer_->SetHandler([this] { TxTimerOnTimer(); });
    // The dialog opens once the key that asked for it has been handled.
    connect(this, &TFormMain::ManualSendRequested, this,
            [this](int channel) { Handle([&] { ManualSendFromChannel(wiring_->Sender, channel); }); },
            Qt::QueuedConnection);
}

void TFormMain::TxTimerOnTimer() {
    RunGuarded(*messages_, Geometry().DialogOrigin, [&] { kestrum::TxTimerOnTimer(wiring_->Sender); });
    if (!closed_) SyncView();
}

}  // namespace kestrum
