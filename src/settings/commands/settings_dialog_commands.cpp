#include "settings/commands/settings_dialog_commands.h"

#include <algorithm>

#include "base/clamp.h"
#include "capture/line_layout.h"
#include "settings/commands/printer_settings.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

constexpr int kMinHexLineBytes = 1;
constexpr int kMaxHexLineBytes = 255;
constexpr int kMinHistoryCount = 4;

std::string Caption(const SettingsDialogServices& services, std::string_view text = {}) {
    return " " + services.ExeBaseName + std::string(text);
}

// A menu caption as a label: without the access-key marks.
std::string WithoutAccessKeys(std::string caption) {
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    return caption;
}

void BackgroundColorOnClick(SettingsCommandContext& c) {
    Colour colour = c.options.BackgroundColor;
    c.dialogs->Dialogs.ChooseColour(colour);
    c.options.BackgroundColor = colour;
    c.field.SetBackgroundColour(colour);
}

void CommentDelimiterOnClick(SettingsCommandContext& c) {
    std::string text = c.options.CommentDelimiter;
    if (c.dialogs->Dialogs.InputQuery(Caption(*c.dialogs), LanguageText(kTextCommentDelimiter, c.options.Language),
                                      text))
        c.options.CommentDelimiter = text;
}

void HexLineByteCountOnClick(SettingsCommandContext& c) {
    const int language = c.options.Language;
    int value = c.options.HexLineByteCount;
    if (!c.dialogs->Dialogs.GetIntValue(Caption(*c.dialogs, LanguageText(kTextHexLineCountCaption, language)),
                                        LanguageText(kTextHexLineCountLabel, language), kMinHexLineBytes,
                                        kMaxHexLineBytes, value))
        return;
    c.options.HexLineByteCount = Clamp(value, kMinHexLineBytes, kMaxHexLineBytes);
    SetHexLineWidth(c.layout, c.options);
}

void InputLineMaxHistoryCountOnClick(SettingsCommandContext& c) {
    const int language = c.options.Language;
    int value = c.options.InputLineMaxHistoryCount;
    const std::string label = WithoutAccessKeys(MenuCaption("MainMenuSettingsInputLineMaxHistoryCount", language));
    if (!c.dialogs->Dialogs.GetIntValue(Caption(*c.dialogs, LanguageText(kTextHistoryCountCaption, language)), label,
                                        kMinHistoryCount, kMaxHistoryCount, value))
        return;
    c.options.InputLineMaxHistoryCount = Clamp(value, kMinHistoryCount, kMaxHistoryCount);
}

}  // namespace

std::function<void(const CommandCall&)> SettingsDialogCommand(std::string_view suffix, SettingsCommandContext& c) {
    if (c.dialogs == nullptr) return {};
    using Handler = void (*)(SettingsCommandContext&);
    Handler handler = nullptr;
    if (suffix == "BackgroundColor")
        handler = BackgroundColorOnClick;
    else if (suffix == "CommentDelimiter")
        handler = CommentDelimiterOnClick;
    else if (suffix == "HexLineByteCount")
        handler = HexLineByteCountOnClick;
    else if (suffix == "InputLineMaxHistoryCount")
        handler = InputLineMaxHistoryCountOnClick;
    else if (suffix == "Printer") {
        return [&c](const CommandCall&) { MainMenuSettingsPrinterOnClick(c.options, c.dialogs->Printer); };
    }
    if (handler == nullptr) return {};
    return [&c, handler](const CommandCall&) { handler(c); };
}

}  // namespace kestrum
