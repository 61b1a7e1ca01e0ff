#include "settings/gui/qt_settings_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QSpinBox>

#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_text.h"
#include "settings/gui/form_get_int_value.h"

namespace kestrum {

QtSettingsDialogs::QtSettingsDialogs(QWidget* owner, const std::string& cancelCaption, const ScreenPoint& dialogOrigin)
    : owner_(owner),
      cancelCaption_(cancelCaption),
      dialogOrigin_(dialogOrigin),
      intValue_(new TFormGetIntValue(owner)) {}

QtSettingsDialogs::~QtSettingsDialogs() {
    // Without an owner the form is ours.
    if (owner_ == nullptr) delete intValue_;
}

bool QtSettingsDialogs::GetIntValue(const std::string& caption, const std::string& label, int minimum, int maximum,
                                    int& value) {
    TFormGetIntValue& form = *intValue_;
    form.setWindowTitle(Cp1252ToQString(caption));
    form.LabelIntValue()->setText(CaptionText(label));
    form.SpinEditIntValue()->setRange(minimum, maximum);
    form.SpinEditIntValue()->setValue(value);
    if (!cancelCaption_.empty()) form.SetCancelCaption(Cp1252ToQString(cancelCaption_));
    if (form.exec() != QDialog::Accepted) return false;
    value = form.Value();
    return true;
}

bool QtSettingsDialogs::ChooseColour(Colour& colour) {
    const QColor shown = ToQColor(colour, QApplication::palette());
    QColorDialog dialog(shown, owner_);
    dialog.setObjectName("ColorDialog");
    dialog.move(dialogOrigin_.X, dialogOrigin_.Y);
    if (dialog.exec() != QDialog::Accepted) return false;
    const QColor chosen = dialog.selectedColor();
    if (!chosen.isValid()) return false;
    // The colour as shown (a system colour resolved) stays what it was.
    if (chosen.rgb() != shown.rgb()) colour = FromQColor(chosen);
    return true;
}

bool QtSettingsDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& text) {
    QInputDialog dialog(owner_);
    dialog.setObjectName("InputQuery");
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(Cp1252ToQString(caption));
    dialog.setLabelText(CaptionText(prompt));
    dialog.setTextValue(Cp1252ToQString(text));
    if (!cancelCaption_.empty()) dialog.setCancelButtonText(Cp1252ToQString(cancelCaption_));
    dialog.move(dialogOrigin_.X, dialogOrigin_.Y);
    if (dialog.exec() != QDialog::Accepted) return false;
    text = QStringToCp1252(dialog.textValue());
    return true;
}

}  // namespace kestrum
