#pragma once
// Printing the protocol: the printer presence test, the orientation the
// printer had when the window was created (given back at the end of the
// run), and File > Print.

#include <functional>
#include <string>

#include "base/command_table.h"
#include "capture/recording_state.h"
#include "platform/printer.h"
#include "platform/protocol_field.h"
#include "settings/options.h"

namespace kestrum {

struct PrintState {
    // The printer's own orientation when the main window was created.
    int InitialPrinterOrientation = kPortrait;
};

// The presence test: a printer is present when it tells its orientation;
// any error of that request means none. Nothing is shown.
bool TestPrinterPresence(Printer& printer);

// Window creation: remembers the printer's orientation when a printer is
// present. End of the run: gives it back. Neither touches an absent printer.
void RememberPrinterOrientation(PrintState& state, Printer& printer, bool printerPresent);
void RestorePrinterOrientation(const PrintState& state, Printer& printer, bool printerPresent);

// File > Print is allowed when the protocol has a line, nothing is running
// and a printer is present.
bool FilePrintAllowed(int protocolLines, bool running, bool printerPresent);

// Prints the whole protocol on `printer` as the saved options say: the page
// rectangle from PrinterOrientation and the four margins, the job named
// `title`. Throws std::runtime_error with the text (in `language`) when the
// margins leave no room on the page, or the printer cannot start or fails.
void PrintProtocolWithMargins(Printer& printer, const Options& options, const std::string& title, int language);

struct PrintContext {
    Printer& printer;
    const Options& options;
    RecordingState& recording;
    ProtocolField& field;
    const bool& printerPresent;
    // The current mode's protocol file name with its extension: the title of
    // the print job.
    std::function<std::string()> protocolFileTitle;
};

// MainMenuFilePrintOnClick: ActivityMarker 3 while it runs (0 afterwards,
// also after an error); the print dialog (cancel: stop); then the protocol
// printed with the saved margins and orientation. Errors are thrown as by
// PrintProtocolWithMargins.
void MainMenuFilePrintOnClick(PrintContext& context);

// Adds MainMenuFilePrint with its rule.
void AddPrintCommand(CommandTable& table, PrintContext& context);

}  // namespace kestrum
