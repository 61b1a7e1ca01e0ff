#pragma once
// The one-line input box over Qt: a modal QInputDialog with the prompt over
// the edit field, OK and Cancel.

#include <functional>
#include <string>

#include "platform/input_box.h"

class QWidget;

namespace kestrum {

class QtInputBox : public InputBox {
public:
    // `cancelCaption` gives the cancel button's caption in the current
    // language (Windows-1252); empty: Qt's own.
    explicit QtInputBox(QWidget* parent = nullptr, std::function<std::string()> cancelCaption = {})
        : parent_(parent), cancelCaption_(std::move(cancelCaption)) {}

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text,
                    ScreenPoint origin) override;

private:
    QWidget* parent_;
    std::function<std::string()> cancelCaption_;
};

}  // namespace kestrum
