#include "platform/qt/qt_input_box.h"

#include <QInputDialog>
#include <QLineEdit>

#include "platform/qt/qt_text.h"

namespace kestrum {

bool QtInputBox::InputQuery(const std::string& caption, const std::string& prompt, std::string& text,
                            ScreenPoint origin) {
    QInputDialog box(parent_);
    box.setObjectName("InputBox");
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(CaptionText(caption));
    box.setLabelText(CaptionText(prompt));
    box.setTextValue(Cp1252ToQString(text));
    box.setTextEchoMode(QLineEdit::Normal);
    box.setOkButtonText(QStringLiteral("OK"));
    if (cancelCaption_) {
        const std::string cancel = cancelCaption_();
        if (!cancel.empty()) box.setCancelButtonText(CaptionText(cancel));
    }
    // Room for a trigger word in hex (16 bytes) or a long channel ID.
    if (auto* field = box.findChild<QLineEdit*>()) field->setMinimumWidth(360);
    box.move(origin.X, origin.Y);
    if (box.exec() != QDialog::Accepted) return false;
    text = QStringToCp1252(box.textValue());
    return true;
}

}  // namespace kestrum
