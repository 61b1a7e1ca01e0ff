#include "settings/commands/settings_menu.h"

#include <string>
#include <string_view>

#include "settings/commands/settings_dialog_commands.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

constexpr std::string_view kMainPrefix = "MainMenuSettings";
constexpr std::string_view kPopupPrefix = "RichEditPopupMenu";

// When an item may be used.
enum class Rule { Always, Monitor, MonitorAscii, Ascii, MonitorHex, Sender, Printer };

struct SettingsItem {
    std::string_view Suffix;       // after "MainMenuSettings" / "RichEditPopupMenu"
    bool HasPopupTwin;
    Rule When;
    bool Options::*Toggle;         // the option a toggle stores; null for other items
    bool Built;                    // false: its dialog is not built yet (or needs dialog services)
};

// In menu order.
constexpr SettingsItem kItems[] = {
    {"UserFont", true, Rule::Always, nullptr, true},
    {"AllFonts", true, Rule::Always, nullptr, true},
    {"FontFixedPitchOnly", true, Rule::Always, &Options::FontFixedPitchOnly, true},
    {"BackgroundColor", true, Rule::Always, nullptr, false},
    {"AutoDetectDeviceChanges", false, Rule::Always, &Options::AutoDetectDeviceChanges, true},
    {"LineWrap", true, Rule::MonitorAscii, &Options::LineWrap, true},
    {"CommentDelimiter", true, Rule::Sender, nullptr, false},
    {"ShowTriggerWords", true, Rule::Monitor, &Options::ShowTriggerWords, true},
    {"ShowStartStopTime", true, Rule::Monitor, &Options::ShowStartStopTime, true},
    {"ShowTimeTags", true, Rule::Monitor, &Options::ShowTimeTags, true},
    {"ShowChannelID", true, Rule::Monitor, &Options::ShowChannelId, true},
    {"DumpOnCrChar", true, Rule::MonitorAscii, &Options::DumpOnCr, true},
    {"DumpOnLfChar", true, Rule::MonitorAscii, &Options::DumpOnLf, true},
    {"ShowCrChar", true, Rule::MonitorAscii, &Options::ShowCrChar, true},
    {"ShowLfChar", true, Rule::MonitorAscii, &Options::ShowLfChar, true},
    {"SendCrStrAsCrChar", true, Rule::Ascii, &Options::SendCrStrAsCrChar, true},
    {"SendLfStrAsLfChar", true, Rule::Ascii, &Options::SendLfStrAsLfChar, true},
    {"AppendCrChar", true, Rule::Ascii, &Options::AppendCrChar, true},
    {"AppendLfChar", true, Rule::Ascii, &Options::AppendLfChar, true},
    {"SenderModeAutoRepeat", true, Rule::Sender, &Options::SenderModeAutoRepeat, true},
    {"HexLineByteCount", true, Rule::MonitorHex, nullptr, false},
    {"InputLineMaxHistoryCount", false, Rule::Always, nullptr, false},
    {"HighlightInputLine", false, Rule::Always, &Options::HighlightInputLine, true},
    {"Printer", false, Rule::Printer, nullptr, false},
    {"SaveSettings", false, Rule::Always, &Options::SaveSettings, true},
};

bool Allowed(Rule rule, const Options& options, bool printerPresent) {
    const bool monitor = options.MonitorMode;
    const bool ascii = options.LogMode == LogMode::Ascii;
    switch (rule) {
        case Rule::Always: return true;
        case Rule::Monitor: return monitor;
        case Rule::MonitorAscii: return monitor && ascii;
        case Rule::Ascii: return ascii;
        case Rule::MonitorHex: return monitor && options.LogMode == LogMode::Hex;
        case Rule::Sender: return !monitor;
        case Rule::Printer: return printerPresent;
    }
    return false;
}

Command ItemCommand(std::string name, const SettingsItem& item, SettingsCommandContext& c) {
    Command command;
    command.Name = std::move(name);
    command.Built = item.Built;
    const Rule rule = item.When;
    command.Enabled = [&c, rule] { return Allowed(rule, c.options, c.printerPresent); };
    if (bool Options::*field = item.Toggle) {
        const bool lineWrap = item.Suffix == "LineWrap";
        command.Run = [&c, field, lineWrap](const CommandCall& call) {
            c.options.*field = call.Checked;
            if (lineWrap) UpdateMaxLineLength(c.layout, c.options, c.channels, c.field);
        };
        command.Checked = [&c, field] { return c.options.*field; };
    }
    if (auto dialog = SettingsDialogCommand(item.Suffix, c)) {
        command.Run = std::move(dialog);
        command.Built = true;
    } else if (item.Suffix == "UserFont" || item.Suffix == "AllFonts") {
        command.Built = static_cast<bool>(c.fontDialog);
        command.Run = [&c](const CommandCall& call) { c.fontDialog(call.Tag); };
    }
    return command;
}

Command LanguageCommand(std::string name, int language, SettingsCommandContext& c) {
    Command command;
    command.Name = std::move(name);
    command.Run = [&c](const CommandCall& call) {
        c.options.Language = call.Tag;
        if (c.applyLanguage) c.applyLanguage();
    };
    command.Checked = [&c, language] {
        return language == kLanguageGerman ? c.options.Language == kLanguageGerman
                                           : c.options.Language != kLanguageGerman;
    };
    return command;
}

}  // namespace

void AddSettingsCommands(CommandTable& table, SettingsCommandContext& context) {
    table.Add({"MainMenuSettings", {}, {}, {}, true});
    for (const SettingsItem& item : kItems) {
        table.Add(ItemCommand(std::string(kMainPrefix) + std::string(item.Suffix), item, context));
        if (item.HasPopupTwin)
            table.Add(ItemCommand(std::string(kPopupPrefix) + std::string(item.Suffix), item, context));
    }
    table.Add(LanguageCommand("MainMenuSettingsLanguageEnglish", kLanguageEnglish, context));
    table.Add(LanguageCommand("MainMenuSettingsLanguageGerman", kLanguageGerman, context));
}

}  // namespace kestrum
