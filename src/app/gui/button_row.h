#pragma once
// The row of buttons along the bottom of the main window, at their designed
// places: Start, Clear, Monitor/Sender, Asc/Hex, Trigger or Sync with the
// send interval, and the eight channel buttons. It shows MainView and
// reports clicks and mouse presses; it decides nothing itself.

#include <QWidget>

#include <array>

#include "base/main_view.h"
#include "base/main_view.h"

class QButtonGroup;
class QLineEdit;

namespace kestrum {

class SpeedButton;

class ButtonRow : public QWidget {
    Q_OBJECT
public:
    explicit ButtonRow(QWidget* parent = nullptr);

    // Copies captions, hints, down, enabled and visible states.
    void ApplyView(const MainView& view, const StartButtonView& start, int language);

    SpeedButton* Start() const { return start_; }
    SpeedButton* Clear() const { return clear_; }
    SpeedButton* Monitor() const { return monitor_; }
    SpeedButton* Sender() const { return sender_; }
    SpeedButton* Asc() const { return asc_; }
    SpeedButton* Hex() const { return hex_; }
    SpeedButton* Trigger() const { return trigger_; }
    SpeedButton* Sync() const { return sync_; }
    QLineEdit* TxTimeInterval() const { return txTimeInterval_; }
    SpeedButton* Channel(int n) const { return channels_[static_cast<std::size_t>(n)]; }

signals:
    void StartClicked(bool down);
    void ChannelClicked(int channel, bool down);
    // Mouse pressed on a button (any mouse button); `tag` is the channel for
    // channel buttons, 1 or 2 for Asc and Hex.
    void ClearMouseDown(Qt::MouseButton button);
    void AscOrHexMouseDown(int logMode, Qt::MouseButton button);
    void MonitorOrSenderMouseDown(bool monitor, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // The click that follows (the radio pair has moved its down state).
    void MonitorOrSenderClicked(bool monitor);
    void ChannelMouseDown(int channel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void TriggerClicked(bool down);
    void SyncClicked(bool down);
    void TxIntervalStep(int delta);

private:
    SpeedButton* Add(int tag, int left, int width, bool checkable);

    SpeedButton* start_;
    SpeedButton* clear_;
    SpeedButton* monitor_;
    SpeedButton* sender_;
    SpeedButton* asc_;
    SpeedButton* hex_;
    SpeedButton* trigger_;
    SpeedButton* sync_;
    QLineEdit* txTimeInterval_;
    SpeedButton* intervalUp_;
    SpeedButton* intervalDown_;
    std::array<SpeedButton*, 9> channels_{};
    QButtonGroup* modeGroup_;
    QButtonGroup* displayGroup_;
};

}  // namespace kestrum
