#pragma once
// The one-line input box (InputQuery): modal, a title, a prompt and one
// edit field, with OK and Cancel.

#include <string>

#include "base/screen_point.h"

namespace kestrum {

class InputBox {
public:
    virtual ~InputBox() = default;
    // Shows the box with its top-left corner at `origin` and `text` in the
    // field. Caption, prompt and text are Windows-1252 byte strings; '\r' in
    // the prompt breaks the line. OK: true, with the field's text in `text`
    // (characters the code page lacks become '?'). Cancel, Escape or closing
    // the box: false, with `text` unchanged.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text,
                            ScreenPoint origin) = 0;
};

}  // namespace kestrum
