#include "settings/gui/form_get_int_value.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

namespace kestrum {
namespace {

constexpr int kGap = 4;            // edges and between the buttons
constexpr int kLabelGap = 8;       // between the label and the spin box
constexpr int kControlWidth = 65;  // spin box and buttons

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Keys that type a character the spin box may take.
bool IsAcceptedCharacter(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete: return true;
        default: break;
    }
    const QString text = key.text();
    if (text.isEmpty()) return true;  // types nothing: arrows, Home, ...
    return text.size() == 1 && text.at(0) >= QChar('0') && text.at(0) <= QChar('9');
}

}  // namespace

TFormGetIntValue::TFormGetIntValue(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      label_(new QLabel(this)),
      spin_(new QSpinBox(this)),
      ok_(new QPushButton("OK", this)),
      cancel_(new QPushButton(this)),
      cancelCaption_("Cancel") {
    setObjectName("FormGetIntValue");
    setModal(true);
    label_->setObjectName("LabelIntValue");
    spin_->setObjectName("SpinEditIntValue");
    ok_->setObjectName("ButtonOk");
    cancel_->setObjectName("ButtonCancel");
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* control : {static_cast<QWidget*>(spin_), static_cast<QWidget*>(ok_), static_cast<QWidget*>(cancel_)})
        control->installEventFilter(this);
    if (QLineEdit* edit = spin_->findChild<QLineEdit*>()) edit->installEventFilter(this);
    LayOutLine();
}

int TFormGetIntValue::Value() const { return closedValue_ ? *closedValue_ : TypedValue(); }

void TFormGetIntValue::done(int result) {
    closedValue_ = TypedValue();
    QDialog::done(result);
}

int TFormGetIntValue::TypedValue() const {
    bool ok = false;
    const qlonglong typed = spin_->cleanText().trimmed().toLongLong(&ok);
    if (!ok) return spin_->minimum();
    return static_cast<int>(qBound(qlonglong{spin_->minimum()}, typed, qlonglong{spin_->maximum()}));
}

void TFormGetIntValue::LayOutLine() {
    label_->adjustSize();
    const int spinHeight = spin_->sizeHint().height();
    const int top = kGap;
    spin_->setGeometry(kGap + label_->width() + kLabelGap, top, kControlWidth, spinHeight);
    // A caption wider than the button widens it rather than being cut off.
    const int okWidth = qMax(kControlWidth, ok_->sizeHint().width());
    const int cancelWidth = qMax(kControlWidth, cancel_->sizeHint().width());
    ok_->setGeometry(spin_->geometry().right() + 1 + kGap, top, okWidth, spinHeight);
    cancel_->setGeometry(ok_->geometry().right() + 1 + kGap, top, cancelWidth, spinHeight);
    label_->move(kGap, top + (spinHeight - label_->height()) / 2);
    setFixedSize(cancel_->geometry().right() + 1 + kGap, cancel_->geometry().bottom() + 1 + kGap);
}

void TFormGetIntValue::showEvent(QShowEvent* event) {
    cancel_->setText(cancelCaption_);
    LayOutLine();
    if (QWidget* owner = parentWidget()) {
        const QRect frame = owner->window()->frameGeometry();
        QPoint topLeft = frame.center() - QPoint(width() / 2, height() / 2);
        // A long prompt over a narrow window stays on the screen.
        if (const QScreen* screen = owner->screen()) {
            const QRect room = screen->availableGeometry();
            topLeft.setX(qMax(room.left(), qMin(topLeft.x(), room.right() + 1 - width())));
            topLeft.setY(qMax(room.top(), qMin(topLeft.y(), room.bottom() + 1 - height())));
        }
        move(topLeft);
    }
    spin_->setFocus();
    spin_->selectAll();
    setResult(QDialog::Rejected);
    closedValue_.reset();
    QDialog::showEvent(event);
}

bool TFormGetIntValue::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (IsEnter(key->key())) {
        accept();
        return true;
    }
    const bool inSpinBox = watched == spin_ || watched->parent() == spin_;
    if (inSpinBox && !IsAcceptedCharacter(*key)) {
        if (beep_)
            beep_();
        else
            QApplication::beep();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kestrum
