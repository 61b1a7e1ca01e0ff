#pragma once
// The settings commands' dialogs over Qt, owned by the main window:
// TFormGetIntValue (made once and reused), QColorDialog and a one-line
// QInputDialog.

#include <memory>
#include <string>

#include "base/screen_point.h"
#include "platform/settings_dialogs.h"

class QWidget;

namespace kestrum {

class TFormGetIntValue;

class QtSettingsDialogs : public SettingsDialogs {
public:
    // `cancelCaption`: the value dialog's and input box's cancel caption for
    // the current language (the view's CancelCaption); `dialogOrigin`: where
    // the input box and the colour dialog go. Both are read each time a
    // dialog shows.
    QtSettingsDialogs(QWidget* owner, const std::string& cancelCaption, const ScreenPoint& dialogOrigin);
    ~QtSettingsDialogs() override;

    bool GetIntValue(const std::string& caption, const std::string& label, int minimum, int maximum,
                     int& value) override;
    bool ChooseColour(Colour& colour) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text) override;

    TFormGetIntValue& IntValueForm() { return *intValue_; }

private:
    QWidget* owner_;
    const std::string& cancelCaption_;
    const ScreenPoint& dialogOrigin_;
    TFormGetIntValue* intValue_;  // a child of owner_
};

}  // namespace kestrum
