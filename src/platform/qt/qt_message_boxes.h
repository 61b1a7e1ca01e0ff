#pragma once
// Message boxes and beeps over Qt: QApplication::beep and a modal
// QMessageBox with its top-left corner at the given point.

#include "platform/message_box.h"

class QWidget;

namespace kestrum {

class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}

    void Beep(MessageKind kind) override;
    // Caption and text are Windows-1252; '\r' breaks the line.
    MessageResult Show(MessageKind kind, const std::string& caption, const std::string& text,
                       ScreenPoint origin, MessageButtons buttons = MessageButtons::Ok) override;

private:
    QWidget* parent_;
};

}  // namespace kestrum
