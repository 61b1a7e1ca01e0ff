#include "app/gui/print_to_pdf.h"

#include <QApplication>
#include <QTextDocument>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "app/startup.h"
#include "app/window_creation.h"
#include "base/atomic_file.h"
#include "base/instance_info.h"
#include "channels/channel_table_build.h"
#include "channels/font_entries.h"
#include "document/gui/protocol_text_document.h"
#include "document/plain_text_codec.h"
#include "document/print_commands.h"
#include "document/rtf_error_text.h"
#include "document/rtf_file_name.h"
#include "document/rtf_reader.h"
#include "platform/app_data.h"
#include "platform/locale_info.h"
#include "platform/program_file.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_text.h"
#include "settings/language_texts.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"

namespace kestrum {
namespace {

// Texts of the program (Windows-1252) for the terminal.
std::string Utf8(const std::string& text) { return Cp1252ToQString(text).toStdString(); }

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

}  // namespace

void LoadSavedSettings(Options& options, ChannelTable& channels) {
    const ProgramFiles files = LocateSettingsFile(RunningProgramPath(), ApplicationDataFolder());
    const int localeLanguage = LocaleLanguage(QueryUserLocale().LanguageId);
    options.Language = localeLanguage;
    ReadSettingsFile(files.SettingsFilePath, InstanceInfo{}, localeLanguage, options, channels);
    // The corrections the main window's creation makes (orientation above 1 is landscape).
    NormaliseOptionsAtCreation(options, std::filesystem::current_path().string());
    BuildChannelTable(channels);
}

void PrintProtocolFileToPdf(const std::string& output, const std::string& input, const Options& options,
                            const ChannelTable& channels) {
    std::error_code error;
    std::string bytes;
    if (!std::filesystem::is_regular_file(input, error))
        throw std::runtime_error("cannot read " + input + ": no such file");
    if (!ReadWholeFile(input, bytes, error)) throw std::runtime_error("cannot read " + input + ": " + error.message());

    const TextAttributes defaults = FontEntryAttributes(channels.Font(kUserEntry));
    ProtocolDocument protocol;
    if (IsRtfFileName(input)) {
        const RtfReadResult read = ReadRtf(bytes, protocol);
        if (!read.Ok()) throw std::runtime_error(input + ": " + Utf8(RtfErrorText(read, kLanguageEnglish)));
    } else {
        ReadPlainText(bytes, defaults, protocol);
    }
    if (protocol.LineCount() == 0) throw std::runtime_error(input + " holds no protocol lines: nothing to print");

    const std::unique_ptr<QTextDocument> document = ProtocolTextDocument(protocol, defaults);
    QtPrinter printer(nullptr, [&document] { return document.get(); });
    printer.UsePdfFile(QString::fromStdString(output));
    try {
        PrintProtocolWithMargins(printer, options, std::filesystem::path(input).filename().string(), kLanguageEnglish);
    } catch (const std::exception& failure) {
        throw std::runtime_error(Utf8(failure.what()));
    }
}

int RunPrintToPdf(int& argc, char** argv, const std::string& output, const std::string& input) {
    // Printing needs fonts, not a screen: without a display, none is asked for.
    if (!HasDisplay() && std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const std::string program = argc > 0 ? ProgramBaseName(argv[0]) : std::string("kestrum");
    try {
        Options options;
        ChannelTable channels;
        LoadSavedSettings(options, channels);
        PrintProtocolFileToPdf(output, input, options, channels);
    } catch (const std::exception& failure) {
        std::cerr << program << ": " << failure.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace kestrum
