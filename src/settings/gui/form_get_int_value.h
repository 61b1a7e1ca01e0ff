#pragma once
// TFormGetIntValue: the modal integer value dialog. One line of controls 4
// pixels from the top: the prompt LabelIntValue, the spin box
// SpinEditIntValue (65 pixels wide) 8 pixels to its right, then ButtonOk
// and ButtonCancel, 4 pixels apart and as high as the spin box; the client
// area ends 4 pixels beyond the last button and below the buttons. Fixed
// border, only the system menu, centred on its parent when it shows.
//
// Keys: Escape closes with cancel and Enter with OK wherever the focus is
// (the dialog sees them before its controls). In the spin box only the
// digits, Backspace, Enter and Escape are taken among the keys that type a
// character; any other such key beeps and is discarded (keys that type
// nothing, such as the arrows and Delete, work as usual).

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;

namespace kestrum {

class TFormGetIntValue : public QDialog {
    Q_OBJECT
public:
    explicit TFormGetIntValue(QWidget* parent = nullptr);

    QLabel* LabelIntValue() const { return label_; }
    QSpinBox* SpinEditIntValue() const { return spin_; }
    QPushButton* ButtonOk() const { return ok_; }
    QPushButton* ButtonCancel() const { return cancel_; }

    // The caption of ButtonCancel, set for the current language each time
    // the dialog shows.
    void SetCancelCaption(const QString& caption) { cancelCaption_ = caption; }
    // The beep of a refused key (QApplication::beep unless set).
    void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }
    // The spin box's value as typed when the dialog closed (while it is
    // open: as typed now): its text as a number held within the limits; an
    // empty or unreadable text gives the minimum. (Taken as the dialog
    // closes: the spin box puts back its last valid value when it loses
    // the focus.)
    int Value() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOutLine();
    int TypedValue() const;

    QLabel* label_;
    QSpinBox* spin_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QString cancelCaption_;
    std::function<void()> beep_;
    std::optional<int> closedValue_;
};

}  // namespace kestrum
