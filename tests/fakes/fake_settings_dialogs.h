#pragma once
// Settings dialogs and a help viewer for unit tests: scripted answers and
// a record of what they were shown.

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/help_viewer.h"
#include "platform/settings_dialogs.h"

namespace kestrum::fakes {

class FakeSettingsDialogs : public SettingsDialogs {
public:
    struct IntRequest {
        std::string Caption, Label;
        int Minimum = 0, Maximum = 0, Value = 0;
    };
    bool Answer = true;       // OK (true) or cancel
    int IntAnswer = 0;        // GetIntValue's value on OK
    Colour ColourAnswer = 0;  // ChooseColour's colour on OK
    std::string TextAnswer;   // InputQuery's text on OK
    bool Throw = false;       // every dialog throws std::runtime_error("dialog failed")

    std::vector<IntRequest> IntRequests;
    std::vector<Colour> ColoursShown;
    std::vector<std::string> Captions, Prompts, TextsShown;

    bool GetIntValue(const std::string& caption, const std::string& label, int minimum, int maximum,
                     int& value) override {
        IntRequests.push_back({caption, label, minimum, maximum, value});
        if (Throw) throw std::runtime_error("dialog failed");
        if (Answer) value = IntAnswer;
        return Answer;
    }
    bool ChooseColour(Colour& colour) override {
        ColoursShown.push_back(colour);
        if (Throw) throw std::runtime_error("dialog failed");
        if (Answer) colour = ColourAnswer;
        return Answer;
    }
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text) override {
        Captions.push_back(caption);
        Prompts.push_back(prompt);
        TextsShown.push_back(text);
        if (Throw) throw std::runtime_error("dialog failed");
        if (Answer) text = TextAnswer;
        return Answer;
    }
};

class FakeHelpViewer : public HelpViewer {
public:
    bool Readable = true;
    std::vector<std::string> Shown;
    bool ShowContents(const std::string& path) override {
        if (!Readable) return false;
        Shown.push_back(path);
        return true;
    }
};

}  // namespace kestrum::fakes
