#pragma once
// Dialogs of the channel commands for unit tests: each records how it was
// asked and gives scripted answers (a script that runs out answers Cancel),
// and TimerDeviceChange that only records.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "channels/device_changes.h"
#include "platform/font_dialog.h"
#include "platform/input_box.h"
#include "platform/port_dialog.h"

namespace kestrum::fakes {

class ScriptedInputBox : public InputBox {
public:
    struct Ask {
        std::string Caption, Prompt, Text;
        ScreenPoint Origin;
    };
    std::vector<Ask> Asked;
    std::deque<std::optional<std::string>> Answers;  // nullopt: Cancel

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text,
                    ScreenPoint origin) override {
        Asked.push_back({caption, prompt, text, origin});
        if (Answers.empty() || !Answers.front()) {
            if (!Answers.empty()) Answers.pop_front();
            return false;
        }
        text = *Answers.front();
        Answers.pop_front();
        return true;
    }
};

class ScriptedFontDialog : public FontDialog {
public:
    std::vector<FontChoice> Started;
    std::vector<FontDialogOptions> Options;
    std::optional<FontChoice> Answer;  // nullopt: Cancel

    bool ChooseFont(FontChoice& choice, const FontDialogOptions& options) override {
        Started.push_back(choice);
        Options.push_back(options);
        if (!Answer) return false;
        choice = *Answer;
        return true;
    }
};

class ScriptedPortDialog : public PortDialog {
public:
    int Calls = 0;
    bool Confirm = false;
    std::uint32_t BaudRate = 19200;
    std::string Device;  // empty: keep

    bool CommConfigDialog(const std::string&, std::string& device, CommConfig& config) override {
        ++Calls;
        if (!Confirm) return false;
        config.dcb.BaudRate = BaudRate;
        if (!Device.empty()) device = Device;
        return true;
    }
};

class RecordingDeviceTimer : public DeviceChangeTimer {
public:
    std::vector<std::string> Calls;  // "restart 1000", "stop"
    void Restart(int intervalMs) override { Calls.push_back("restart " + std::to_string(intervalMs)); }
    void Stop() override { Calls.push_back("stop"); }
};

}  // namespace kestrum::fakes
