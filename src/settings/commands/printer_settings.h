#pragma once
// Settings > Printer settings: the page margins and orientation through the
// printer's page set-up dialog.

#include "platform/printer.h"
#include "settings/options.h"

namespace kestrum {

// The whole millimetres a margin keeps after the page set-up dialog showed
// `previous` and returned `millimetres`: the value truncated, except that a
// margin the user left as it was stays `previous` (a dialog working in
// inches hands a 15 mm margin back as 14.986 mm). Negative or absurd values
// are held within 0..100000.
int MarginFromDialog(double millimetres, int previous);

// MainMenuSettingsPrinterOnClick: presets the dialog with the saved margins
// in millimetres and the printer with PrinterOrientation; on OK the margins
// (MarginFromDialog) and the orientation the dialog left are stored; on
// cancel the printer's orientation goes back to PrinterOrientation and the
// margins stay. The margins are kept in millimetres whatever unit the
// dialog shows.
void MainMenuSettingsPrinterOnClick(Options& options, Printer& printer);

}  // namespace kestrum
