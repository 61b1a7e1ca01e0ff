#include "document/print_commands.h"

#include <stdexcept>

#include "document/page_rect.h"
#include "settings/language_texts.h"

namespace kestrum {

bool TestPrinterPresence(Printer& printer) {
    try {
        (void)printer.Orientation();
        return true;
    } catch (...) {
        return false;
    }
}

void RememberPrinterOrientation(PrintState& state, Printer& printer, bool printerPresent) {
    if (printerPresent) state.InitialPrinterOrientation = printer.Orientation();
}

void RestorePrinterOrientation(const PrintState& state, Printer& printer, bool printerPresent) {
    if (printerPresent) printer.SetOrientation(state.InitialPrinterOrientation);
}

bool FilePrintAllowed(int protocolLines, bool running, bool printerPresent) {
    return protocolLines > 0 && !running && printerPresent;
}

void PrintProtocolWithMargins(Printer& printer, const Options& options, const std::string& title, int language) {
    const PageRect rect = ComputePageRect(printer, options.PrinterOrientation, options.MarginLeft, options.MarginRight,
                                          options.MarginTop, options.MarginBottom);
    // Margins wider than the paper would leave the layout nowhere to go.
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top)
        throw std::runtime_error(LanguageText(kTextNoRoomToPrint, language));
    switch (printer.PrintProtocol(rect, title)) {
        case PrintResult::Printed: return;
        case PrintResult::NotStarted:
            throw std::runtime_error(LanguageText(kTextPrintNotStarted, language, printer.Name()));
        case PrintResult::Failed: break;
    }
    throw std::runtime_error(LanguageText(kTextPrintFailed, language, printer.Name()));
}

void MainMenuFilePrintOnClick(PrintContext& c) {
    // Back to idle however the command ends.
    struct Marker {
        RecordingState& recording;
        explicit Marker(RecordingState& r) : recording(r) { recording.ActivityMarker = ActivityMarker::Printing; }
        ~Marker() { recording.ActivityMarker = ActivityMarker::Idle; }
    } marker(c.recording);
    const std::string title = c.protocolFileTitle ? c.protocolFileTitle() : std::string();
    if (!c.printer.PrintDialog(title)) return;
    PrintProtocolWithMargins(c.printer, c.options, title, c.options.Language);
}

void AddPrintCommand(CommandTable& table, PrintContext& c) {
    Command print;
    print.Name = "MainMenuFilePrint";
    print.Run = [&c](const CommandCall&) { MainMenuFilePrintOnClick(c); };
    // Running first: counting the lines would wait for the field.
    print.Enabled = [&c] {
        return !c.recording.Running && c.printerPresent && FilePrintAllowed(c.field.LineCount(), false, true);
    };
    table.Add(std::move(print));
}

}  // namespace kestrum
