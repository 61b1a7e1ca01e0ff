#include "settings/settings_file.h"

#include <array>
#include <optional>
#include <variant>

#include "settings/line_settings_text.h"
#include "base/clamp.h"
#include "settings/ini_file.h"
#include "base/atomic_file.h"

namespace kestrum {

namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kMonitorMode = "MonitorMode";
constexpr const char* kSenderMode = "SenderMode";
constexpr const char* kFormMain = "FormMain";
constexpr const char* kPrinter = "Printer";
constexpr const char* kMasterFont = "MasterFont";
constexpr const char* kUser = "User";
constexpr const char* kErrorCaption = "Kestrum";

struct OptionKey {
    const char* Key;
    std::variant<bool Options::*, int Options::*, LogMode Options::*> Field;
};

// The keys of [General] after SaveSettings, in file order.
const std::array<OptionKey, 25> kGeneralKeys = {{
    {"MonitorMode", &Options::MonitorMode},
    {"SenderMode", &Options::SenderMode},
    {"LogMode", &Options::LogMode},
    {"TriggerOn", &Options::TriggerOn},
    {"FontFixedPitchOnly", &Options::FontFixedPitchOnly},
    {"BackgroundColor", &Options::BackgroundColor},
    {"AutoDetectDeviceChanges", &Options::AutoDetectDeviceChanges},
    {"LineWrap", &Options::LineWrap},
    {"ShowTriggerWords", &Options::ShowTriggerWords},
    {"ShowStartStopTime", &Options::ShowStartStopTime},
    {"ShowTimeTags", &Options::ShowTimeTags},
    {"ShowChannelId", &Options::ShowChannelId},
    {"DumpOnCr", &Options::DumpOnCr},
    {"DumpOnLf", &Options::DumpOnLf},
    {"ShowCrChar", &Options::ShowCrChar},
    {"ShowLfChar", &Options::ShowLfChar},
    {"SendCrStrAsCrChar", &Options::SendCrStrAsCrChar},
    {"SendLfStrAsLfChar", &Options::SendLfStrAsLfChar},
    {"AppendCrChar", &Options::AppendCrChar},
    {"AppendLfChar", &Options::AppendLfChar},
    {"SenderModeAutoRepeat", &Options::SenderModeAutoRepeat},
    {"HighlightInputLine", &Options::HighlightInputLine},
    {"InputLineMaxHistoryCount", &Options::InputLineMaxHistoryCount},
    {"HexLineByteCount", &Options::HexLineByteCount},
    {"Language", &Options::Language},
}};

const std::array<OptionKey, 5> kPrinterKeys = {{
    {"PrinterOrientation", &Options::PrinterOrientation},
    {"MarginTop", &Options::MarginTop},
    {"MarginBottom", &Options::MarginBottom},
    {"MarginLeft", &Options::MarginLeft},
    {"MarginRight", &Options::MarginRight},
}};

template <std::size_t N>
void ReadKeys(const IniFile& ini, const char* section, const std::array<OptionKey, N>& keys,
              const Options& defaults, Options& options) {
    for (const OptionKey& key : keys) {
        if (const auto* field = std::get_if<bool Options::*>(&key.Field)) {
            options.*(*field) = ini.ReadBool(section, key.Key, defaults.*(*field));
        } else if (const auto* number = std::get_if<int Options::*>(&key.Field)) {
            options.*(*number) = ini.ReadInteger(section, key.Key, defaults.*(*number));
        } else {
            // A display mode outside 1..2 is brought to the nearer one.
            const auto mode = std::get<LogMode Options::*>(key.Field);
            const int value = ini.ReadInteger(section, key.Key, static_cast<int>(defaults.*mode));
            options.*mode = static_cast<LogMode>(Clamp(value, 1, 2));
        }
    }
}

template <std::size_t N>
void WriteKeys(IniFile& ini, const char* section, const std::array<OptionKey, N>& keys,
               const Options& options) {
    for (const OptionKey& key : keys) {
        if (const auto* field = std::get_if<bool Options::*>(&key.Field))
            ini.WriteBool(section, key.Key, options.*(*field));
        else if (const auto* number = std::get_if<int Options::*>(&key.Field))
            ini.WriteInteger(section, key.Key, options.*(*number));
        else
            ini.WriteInteger(section, key.Key, static_cast<int>(options.*std::get<LogMode Options::*>(key.Field)));
    }
}

std::string ReadTrimmed(const IniFile& ini, const std::string& section, const char* key,
                        const std::string& fallback) {
    return TrimBlanks(ini.ReadString(section, key, fallback));
}

// A value read as a non-negative 32-bit integer, else the default.
std::uint32_t ReadUnsigned(const IniFile& ini, const std::string& section, const char* key,
                           std::uint32_t fallback) {
    const auto value = ini.ReadIntegerValue(section, key);
    return value && *value >= 0 ? static_cast<std::uint32_t>(*value) : fallback;
}

int ReadInRange(const IniFile& ini, const char* section, const char* key, int low, int high,
                int fallback) {
    const int value = ini.ReadInteger(section, key, fallback);
    return value >= low && value <= high ? value : fallback;
}

void ReadModeFiles(const IniFile& ini, const char* section, ModeFileOptions& mode) {
    const ModeFileOptions defaults;
    const auto directory = ini.Value(section, "ProtocolDirectory");
    mode.ProtocolDirectoryPresent = directory.has_value();
    mode.ProtocolDirectory = directory ? TrimBlanks(*directory) : defaults.ProtocolDirectory;
    mode.OpenDialogFilterIndex =
        ini.ReadInteger(section, "OpenDialogFilterIndex", defaults.OpenDialogFilterIndex);
    mode.SaveDialogFilterIndex =
        ini.ReadInteger(section, "SaveDialogFilterIndex", defaults.SaveDialogFilterIndex);
}

void WriteModeFiles(IniFile& ini, const char* section, const ModeFileOptions& mode) {
    ini.WriteString(section, "ProtocolDirectory", TrimBlanks(mode.ProtocolDirectory));
    ini.WriteInteger(section, "OpenDialogFilterIndex", mode.OpenDialogFilterIndex);
    ini.WriteInteger(section, "SaveDialogFilterIndex", mode.SaveDialogFilterIndex);
}

// Font keys of a section: "FontName" ... , or "MasterFontName" ... with the
// prefix "Master"; the master entry has no underline and strike-out keys.
void ReadFont(const IniFile& ini, const std::string& section, const std::string& prefix,
              bool allStyles, const FontEntry& defaults, FontEntry& font) {
    font.FontName = ReadTrimmed(ini, section, (prefix + "FontName").c_str(), defaults.FontName);
    font.FontSize = ini.ReadInteger(section, prefix + "FontSize", defaults.FontSize);
    font.FontColor = ini.ReadInteger(section, prefix + "FontColor", defaults.FontColor);
    font.FontBold = ini.ReadBool(section, prefix + "FontBold", defaults.FontBold);
    font.FontItalic = ini.ReadBool(section, prefix + "FontItalic", defaults.FontItalic);
    if (!allStyles) return;
    font.FontUnderline = ini.ReadBool(section, prefix + "FontUnderline", defaults.FontUnderline);
    font.FontStrikeOut = ini.ReadBool(section, prefix + "FontStrikeOut", defaults.FontStrikeOut);
}

void WriteFont(IniFile& ini, const std::string& section, const std::string& prefix, bool allStyles,
               const FontEntry& font) {
    ini.WriteString(section, prefix + "FontName", TrimBlanks(font.FontName));
    ini.WriteInteger(section, prefix + "FontSize", font.FontSize);
    ini.WriteInteger(section, prefix + "FontColor", font.FontColor);
    ini.WriteBool(section, prefix + "FontBold", font.FontBold);
    ini.WriteBool(section, prefix + "FontItalic", font.FontItalic);
    if (!allStyles) return;
    ini.WriteBool(section, prefix + "FontUnderline", font.FontUnderline);
    ini.WriteBool(section, prefix + "FontStrikeOut", font.FontStrikeOut);
}

std::string HistoryKey(int number) { return "InputLine" + std::to_string(number); }

void ReadChannel(const IniFile& ini, int historyCount, const ChannelTable& defaults, int n,
                 ChannelTable& channels) {
    ChannelRecord& channel = channels.Channel(n);
    const ChannelRecord& initial = defaults.Channel(n);
    const std::string& section = initial.PortName;
    channel.ChannelID = ReadTrimmed(ini, section, "ChannelID", initial.ChannelID);
    // An ID that is empty after trimming stands for the port name.
    if (channel.ChannelID.empty()) channel.ChannelID = initial.PortName;
    channel.MonitorChannel = ini.ReadBool(section, "MonitorChannel", initial.MonitorChannel);
    channel.TriggerEnabled = ini.ReadBool(section, "TriggerEnabled", initial.TriggerEnabled);
    channel.TriggerOneShot = ini.ReadBool(section, "TriggerOneShot", initial.TriggerOneShot);
    channel.TriggerWord = ReadTrimmed(ini, section, "TriggerWord", initial.TriggerWord);
    ReadFont(ini, section, "", true, defaults.Font(n), channels.Font(n));
    channel.BaudRate = ReadUnsigned(ini, section, "BaudRate", initial.BaudRate);
    const int byteSize = ini.ReadInteger(section, "ByteSize", initial.ByteSize);
    channel.ByteSize = byteSize >= 0 && byteSize <= 255 ? static_cast<std::uint8_t>(byteSize)
                                                        : initial.ByteSize;
    channel.Parity = TextToParity(ini.ReadString(section, "Parity", ParityToText(initial.Parity)));
    channel.StopBits =
        TextToStopBits(ini.ReadString(section, "StopBits", StopBitsToText(initial.StopBits)));
    channel.Device = ReadTrimmed(ini, section, "Device", initial.Device);
    channel.InputHistory.assign(static_cast<std::size_t>(historyCount), std::string());
    for (int i = 1; i <= historyCount; ++i)
        channel.InputHistory[i - 1] = ini.ReadString(section, HistoryKey(i), std::string());
}

void WriteChannel(IniFile& ini, int historyCount, const ChannelTable& channels, int n) {
    const ChannelRecord& channel = channels.Channel(n);
    const std::string section = "COM" + std::to_string(n);
    ini.WriteString(section, "ChannelID", TrimBlanks(channel.ChannelID));
    ini.WriteBool(section, "MonitorChannel", channel.MonitorChannel);
    ini.WriteBool(section, "TriggerEnabled", channel.TriggerEnabled);
    ini.WriteBool(section, "TriggerOneShot", channel.TriggerOneShot);
    ini.WriteString(section, "TriggerWord", TrimBlanks(channel.TriggerWord));
    WriteFont(ini, section, "", true, channels.Font(n));
    ini.WriteInteger(section, "BaudRate", channel.BaudRate);
    ini.WriteInteger(section, "ByteSize", channel.ByteSize);
    ini.WriteString(section, "Parity", ParityToText(channel.Parity));
    ini.WriteString(section, "StopBits", StopBitsToText(channel.StopBits));
    ini.WriteString(section, "Device", TrimBlanks(channel.Device));
    for (int i = 1; i <= historyCount; ++i) {
        const auto index = static_cast<std::size_t>(i - 1);
        ini.WriteString(section, HistoryKey(i),
                        index < channel.InputHistory.size() ? channel.InputHistory[index] : "");
    }
}

void WriteAllSettings(IniFile& ini, const InstanceInfo& instance, const Options& options,
                      const ChannelTable& channels) {
    WriteKeys(ini, kGeneral, kGeneralKeys, options);
    ini.WriteBool(kGeneral, "CaptureFile", options.CaptureFile);
    ini.WriteString(kGeneral, "CaptureDirectory", TrimBlanks(options.CaptureDirectory));

    WriteModeFiles(ini, kMonitorMode, options.Monitor);
    WriteModeFiles(ini, kSenderMode, options.Sender);
    ini.WriteString(kSenderMode, "CommentDelimiter", options.CommentDelimiter);
    ini.WriteInteger(kSenderMode, "SenderChannel", options.SenderChannel);
    ini.WriteInteger(kSenderMode, "TxTimeInterval", options.TxTimeInterval);
    if (instance.Number > 1) ini.WriteBool(kSenderMode, "Synchronize", options.Synchronize);

    if (instance.IsMaster) {
        ini.WriteInteger(kFormMain, "WindowState", static_cast<int>(options.WindowState));
        ini.WriteInteger(kFormMain, "Left", options.Left);
        ini.WriteInteger(kFormMain, "Top", options.Top);
        ini.WriteInteger(kFormMain, "Width", options.Width);
        ini.WriteInteger(kFormMain, "Height", options.Height);
    }

    WriteKeys(ini, kPrinter, kPrinterKeys, options);

    WriteFont(ini, kMasterFont, "Master", false, channels.Font(kMasterEntry));
    ini.WriteString(kUser, "UserName", TrimBlanks(channels.UserName));
    WriteFont(ini, kUser, "", true, channels.Font(kUserEntry));

    const int historyCount = Clamp(options.InputLineMaxHistoryCount, 0, kMaxHistoryCount);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) WriteChannel(ini, historyCount, channels, n);
}

}  // namespace

void ReadSettingsFile(const std::string& path, const InstanceInfo& instance, int localeLanguage,
                      Options& options, ChannelTable& channels) {
    std::string text;
    std::error_code error;
    ReadWholeFile(path, text, error);  // an unreadable file reads as empty
    const IniFile ini = IniFile::Parse(text);
    const Options defaults;

    options.SaveSettings = ini.ReadBool(kGeneral, "SaveSettings", defaults.SaveSettings);
    ReadKeys(ini, kGeneral, kGeneralKeys, defaults, options);
    options.Language = ini.ReadInteger(kGeneral, "Language", localeLanguage);
    options.InputLineMaxHistoryCount = Clamp(options.InputLineMaxHistoryCount, 0, kMaxHistoryCount);
    options.HexLineByteCount = Clamp(options.HexLineByteCount, 1, 255);
    if (options.Language != 1 && options.Language != 2) options.Language = localeLanguage;
    options.CaptureFile = ini.ReadBool(kGeneral, "CaptureFile", defaults.CaptureFile);
    options.CaptureDirectory = ReadTrimmed(ini, kGeneral, "CaptureDirectory", defaults.CaptureDirectory);

    ReadModeFiles(ini, kMonitorMode, options.Monitor);
    ReadModeFiles(ini, kSenderMode, options.Sender);
    options.CommentDelimiter = ini.ReadString(kSenderMode, "CommentDelimiter", defaults.CommentDelimiter);
    options.SenderChannel = ini.ReadInteger(kSenderMode, "SenderChannel", defaults.SenderChannel);
    if (options.SenderChannel != -1 &&
        (options.SenderChannel < kFirstChannel || options.SenderChannel > kLastChannel))
        options.SenderChannel = defaults.SenderChannel;
    options.TxTimeInterval = ReadUnsigned(ini, kSenderMode, "TxTimeInterval", defaults.TxTimeInterval);
    options.Synchronize =
        instance.IsMaster ? false : ini.ReadBool(kSenderMode, "Synchronize", defaults.Synchronize);

    const auto width = ini.ReadIntegerValue(kFormMain, "Width");
    const auto height = ini.ReadIntegerValue(kFormMain, "Height");
    options.WidthPresent = width.has_value();
    options.HeightPresent = height.has_value();
    options.Width = width.value_or(defaults.Width);
    options.Height = height.value_or(defaults.Height);
    options.WindowState = defaults.WindowState;
    options.Left = defaults.Left;
    options.Top = defaults.Top;
    if (instance.IsMaster) {
        options.WindowState = static_cast<WindowState>(
            ReadInRange(ini, kFormMain, "WindowState", 0, 2, static_cast<int>(defaults.WindowState)));
        options.Left = ini.ReadInteger(kFormMain, "Left", defaults.Left);
        options.Top = ini.ReadInteger(kFormMain, "Top", defaults.Top);
    }

    ReadKeys(ini, kPrinter, kPrinterKeys, defaults, options);

    const ChannelTable initial;
    ReadFont(ini, kMasterFont, "Master", false, initial.Font(kMasterEntry), channels.Font(kMasterEntry));
    channels.UserName = ReadTrimmed(ini, kUser, "UserName", initial.UserName);
    ReadFont(ini, kUser, "", true, initial.Font(kUserEntry), channels.Font(kUserEntry));
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        ReadChannel(ini, options.InputLineMaxHistoryCount, initial, n, channels);
}

bool WriteSettingsFile(const std::string& path, const InstanceInfo& instance, const Options& options,
                       const ChannelTable& channels, MessageBoxes& messages, ScreenPoint dialogOrigin,
                       SyncToDiskFunction sync) {
    std::string text;
    std::error_code error;
    // A file that exists but cannot be read is not overwritten: what it holds
    // beyond our keys would be lost.
    bool written = ReadWholeFile(path, text, error);
    if (written) {
        IniFile ini = IniFile::Parse(text);
        text.clear();
        text.shrink_to_fit();
        ini.WriteBool(kGeneral, "SaveSettings", options.SaveSettings);
        if (options.SaveSettings) WriteAllSettings(ini, instance, options, channels);
        written = ReplaceFileContent(path, ini.Text(), error, sync);
    }
    if (written) return true;
    messages.Beep(MessageKind::Error);
    messages.Show(MessageKind::Error, kErrorCaption, path + ": " + error.message(), dialogOrigin);
    return false;
}

}  // namespace kestrum
