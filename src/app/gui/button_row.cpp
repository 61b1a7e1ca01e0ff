#include "app/gui/button_row.h"

#include <QButtonGroup>
#include <QLineEdit>

#include "app/gui/speed_button.h"
#include "app/window_geometry.h"
#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_text.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

// How long a hint stays up.
constexpr int kHintDisplayMs = 2000;

void Show(SpeedButton* button, const ButtonView& view) {
    button->setText(CaptionText(view.Caption));
    button->setToolTip(CaptionText(view.Hint));
    if (button->isChecked() != view.Down) button->setChecked(view.Down);
    button->setEnabled(view.Enabled);
    button->setVisible(view.Visible);
}

}  // namespace

ButtonRow::ButtonRow(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kDesignButtonHeight);
    start_ = Add(0, 0, 72, true);
    clear_ = Add(0, 76, 72, false);
    monitor_ = Add(0, 152, 44, true);
    sender_ = Add(0, 196, 44, true);
    asc_ = Add(1, 244, 32, true);
    hex_ = Add(2, 276, 32, true);
    trigger_ = Add(0, 312, 92, true);
    sync_ = Add(0, 312, 30, true);
    txTimeInterval_ = new QLineEdit(this);
    txTimeInterval_->setGeometry(344, 0, 43, kDesignButtonHeight);
    txTimeInterval_->setAlignment(Qt::AlignRight);
    txTimeInterval_->setToolTipDuration(kHintDisplayMs);
    intervalUp_ = Add(0, 388, 16, false);
    intervalUp_->setGeometry(388, 0, 16, kDesignButtonHeight / 2);
    intervalUp_->setArrowType(Qt::UpArrow);
    intervalDown_ = Add(0, 388, 16, false);
    intervalDown_->setGeometry(388, kDesignButtonHeight / 2, 16, kDesignButtonHeight - kDesignButtonHeight / 2);
    intervalDown_->setArrowType(Qt::DownArrow);
    intervalUp_->setObjectName("UpDownTxTimeIntervalUp");
    intervalDown_->setObjectName("UpDownTxTimeIntervalDown");
    // Speed buttons show their text only; these show their arrows.
    intervalUp_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    intervalDown_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int n = 1; n <= 8; ++n) {
        channels_[static_cast<std::size_t>(n)] = Add(n, ChannelButtonLeft(n), kChannelButtonWidth, true);
        channels_[static_cast<std::size_t>(n)]->setEnabled(false);
    }

    // Radio pairs: a click on the button that is down leaves it down.
    modeGroup_ = new QButtonGroup(this);
    modeGroup_->addButton(monitor_);
    modeGroup_->addButton(sender_);
    displayGroup_ = new QButtonGroup(this);
    displayGroup_->addButton(asc_);
    displayGroup_->addButton(hex_);

    connect(start_, &QToolButton::clicked, this, &ButtonRow::StartClicked);
    connect(clear_, &SpeedButton::MouseDown, this,
            [this](int, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) { emit ClearMouseDown(button); });
    for (SpeedButton* display : {asc_, hex_}) {
        connect(display, &SpeedButton::MouseDown, this,
                [this](int tag, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                    emit AscOrHexMouseDown(tag, button);
                });
    }
    connect(monitor_, &SpeedButton::MouseDown, this,
            [this](int, Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint) {
                emit MonitorOrSenderMouseDown(true, button, keys);
            });
    connect(sender_, &SpeedButton::MouseDown, this,
            [this](int, Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint) {
                emit MonitorOrSenderMouseDown(false, button, keys);
            });
    connect(monitor_, &QToolButton::clicked, this, [this] { emit MonitorOrSenderClicked(true); });
    connect(sender_, &QToolButton::clicked, this, [this] { emit MonitorOrSenderClicked(false); });
    connect(trigger_, &QToolButton::clicked, this, &ButtonRow::TriggerClicked);
    connect(sync_, &QToolButton::clicked, this, &ButtonRow::SyncClicked);
    connect(intervalUp_, &QToolButton::clicked, this, [this] { emit TxIntervalStep(1); });
    connect(intervalDown_, &QToolButton::clicked, this, [this] { emit TxIntervalStep(-1); });
    for (int n = 1; n <= 8; ++n) {
        SpeedButton* button = channels_[static_cast<std::size_t>(n)];
        connect(button, &QToolButton::clicked, this, [this, n](bool down) { emit ChannelClicked(n, down); });
        connect(button, &SpeedButton::MouseDown, this, &ButtonRow::ChannelMouseDown);
    }
}

SpeedButton* ButtonRow::Add(int tag, int left, int width, bool checkable) {
    auto* button = new SpeedButton(tag, this);
    button->setCheckable(checkable);
    button->setToolTipDuration(kHintDisplayMs);
    button->setGeometry(left, 0, width, kDesignButtonHeight);
    return button;
}

void ButtonRow::ApplyView(const MainView& view, const StartButtonView& start, int language) {
    start_->setText(CaptionText(LanguageText(start.CaptionRow, language)));
    start_->setToolTip(CaptionText(LanguageText(start.HintRow, language)));
    if (start_->isChecked() != start.Down) start_->setChecked(start.Down);
    start_->setEnabled(start.Enabled);

    Show(clear_, view.Clear);
    Show(monitor_, view.Monitor);
    Show(sender_, view.Sender);
    Show(asc_, view.Asc);
    Show(hex_, view.Hex);
    Show(trigger_, view.Trigger);
    Show(sync_, view.Sync);
    txTimeInterval_->setToolTip(CaptionText(view.TxTimeInterval.Hint));
    if (txTimeInterval_->text() != CaptionText(view.TxTimeInterval.Caption))
        txTimeInterval_->setText(CaptionText(view.TxTimeInterval.Caption));
    txTimeInterval_->setVisible(view.TxTimeInterval.Visible);
    intervalUp_->setToolTip(CaptionText(view.UpDownTxTimeInterval.Hint));
    intervalDown_->setToolTip(CaptionText(view.UpDownTxTimeInterval.Hint));
    intervalUp_->setVisible(view.UpDownTxTimeInterval.Visible);
    intervalDown_->setVisible(view.UpDownTxTimeInterval.Visible);

    for (int n = 1; n <= 8; ++n) {
        const ChannelButtonView& channel = view.ChannelButton(n);
        SpeedButton* button = channels_[static_cast<std::size_t>(n)];
        Show(button, channel);
        QFont font = button->font();
        if (font.underline() != channel.Underline) {
            font.setUnderline(channel.Underline);
            button->setFont(font);
        }
        QPalette palette = button->palette();
        const QColor colour = ToQColor(channel.CaptionColour, palette);
        // A disabled button (port not installed) keeps the greyed caption.
        if (palette.color(QPalette::Active, QPalette::ButtonText) != colour) {
            palette.setColor(QPalette::Active, QPalette::ButtonText, colour);
            palette.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
            button->setPalette(palette);
        }
    }
}

}  // namespace kestrum
