#pragma once
// A printer for unit tests: device values per orientation, scripted dialog
// answers and print results, and a record of what was asked of it.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace kestrum::fakes {

class FakePrinter : public Printer {
public:
    bool Answers = true;  // false: Orientation() throws, as without a printer
    int CurrentOrientation = kPortrait;
    PrinterDeviceCaps Portrait;   // DeviceCaps() in portrait
    PrinterDeviceCaps Landscape;  // and in landscape
    std::string PrinterName = "Fake printer";

    bool PrintDialogAnswer = true;
    // PageSetupDialog: OK with these values (orientation applied to the
    // printer), or cancel; the dialog may turn the printer as it likes.
    bool PageSetupAnswer = true;
    PageSetup PageSetupResult;
    int OrientationLeftByCancelledDialog = kLandscape;
    PrintResult Result = PrintResult::Printed;
    std::function<void()> WhilePrinting;  // called from PrintProtocol

    std::vector<int> OrientationsSet;
    PageSetup PageSetupShown;  // what the dialog was preset with
    int PrintDialogs = 0;
    std::vector<std::string> DialogTitles;
    int PageSetupDialogs = 0;
    std::vector<PageRect> Printed;  // the rectangle of each print
    std::vector<std::string> Titles;
    int OrientationWhenPrinted = -1;

    int Orientation() override;
    void SetOrientation(int orientation) override;
    PrinterDeviceCaps DeviceCaps() override;
    std::string Name() override { return PrinterName; }
    bool PrintDialog(const std::string& title) override;
    bool PageSetupDialog(PageSetup& setup) override;
    PrintResult PrintProtocol(const PageRect& rect, const std::string& title) override;
};

}  // namespace kestrum::fakes
