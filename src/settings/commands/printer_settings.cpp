#include "settings/commands/printer_settings.h"

#include <cmath>

namespace kestrum {

int MarginFromDialog(double millimetres, int previous) {
    // Half the dialog's last decimal: what a unit conversion and back may
    // move a margin that was not touched.
    constexpr double kUnchanged = 0.05;
    constexpr double kLargest = 100000;
    if (std::isnan(millimetres)) return previous;
    if (std::fabs(millimetres - previous) < kUnchanged) return previous;
    if (millimetres <= 0) return 0;
    if (millimetres >= kLargest) return static_cast<int>(kLargest);
    return static_cast<int>(millimetres);
}

void MainMenuSettingsPrinterOnClick(Options& options, Printer& printer) {
    PageSetup setup;
    setup.MarginLeft = options.MarginLeft;
    setup.MarginTop = options.MarginTop;
    setup.MarginRight = options.MarginRight;
    setup.MarginBottom = options.MarginBottom;
    setup.Orientation = options.PrinterOrientation;
    printer.SetOrientation(options.PrinterOrientation);
    if (!printer.PageSetupDialog(setup)) {
        printer.SetOrientation(options.PrinterOrientation);
        return;
    }
    options.MarginLeft = MarginFromDialog(setup.MarginLeft, options.MarginLeft);
    options.MarginTop = MarginFromDialog(setup.MarginTop, options.MarginTop);
    options.MarginRight = MarginFromDialog(setup.MarginRight, options.MarginRight);
    options.MarginBottom = MarginFromDialog(setup.MarginBottom, options.MarginBottom);
    options.PrinterOrientation = setup.Orientation == kLandscape ? kLandscape : kPortrait;
}

}  // namespace kestrum
