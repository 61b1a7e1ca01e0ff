#pragma once
// The dialogs of the settings commands: the integer value dialog
// (TFormGetIntValue), the colour dialog and the one-line input box. All are
// modal and owned by the main window. Texts are Windows-1252.

#include <string>

#include "base/colour.h"

namespace kestrum {

class SettingsDialogs {
public:
    virtual ~SettingsDialogs() = default;
    // TFormGetIntValue with `caption`, the prompt `label` and a spin box
    // limited to minimum..maximum showing `value`. On OK true with the spin
    // box's value in `value` (always within the limits); on cancel false and
    // `value` unchanged.
    virtual bool GetIntValue(const std::string& caption, const std::string& label, int minimum, int maximum,
                             int& value) = 0;
    // The colour dialog preset with `colour` (a system colour shows as the
    // system's colour). On OK true with the chosen colour in `colour`; a
    // colour the user left as it was shown stays what it was, system colour
    // included. On cancel false and `colour` unchanged.
    virtual bool ChooseColour(Colour& colour) = 0;
    // A one-line input box (InputQuery) with `caption`, `prompt` and `text`
    // as its text, placed at the message position. On OK true with the text
    // as typed (also empty); on cancel false and `text` unchanged.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text) = 0;
};

}  // namespace kestrum
