#include "platform/qt/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace kestrum {
namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error: return QMessageBox::Critical;
        case MessageKind::Warning: return QMessageBox::Warning;
        case MessageKind::Information: return QMessageBox::Information;
        case MessageKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return QMessageBox::Ok;
        case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::YesCancel: return QMessageBox::Yes | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// Closing the box by its window button or Escape counts as the button that
// ends it without a choice.
MessageResult ResultOf(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok: return MessageResult::Ok;
        case QMessageBox::Yes: return MessageResult::Yes;
        case QMessageBox::No: return MessageResult::No;
        case QMessageBox::Cancel: return MessageResult::Cancel;
        default: break;
    }
    switch (buttons) {
        case MessageButtons::Ok: return MessageResult::Ok;
        case MessageButtons::YesNo: return MessageResult::No;
        default: return MessageResult::Cancel;
    }
}

}  // namespace

void QtMessageBoxes::Beep(MessageKind) { QApplication::beep(); }

MessageResult QtMessageBoxes::Show(MessageKind kind, const std::string& caption,
                                   const std::string& text, ScreenPoint origin,
                                   MessageButtons buttons) {
    QMessageBox box(IconOf(kind), CaptionText(caption), CaptionText(text), ButtonsOf(buttons),
                    parent_);
    if (buttons == MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
    box.move(origin.X, origin.Y);
    return ResultOf(box.exec(), buttons);
}

}  // namespace kestrum
