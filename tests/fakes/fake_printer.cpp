#include "fakes/fake_printer.h"

namespace kestrum::fakes {

int FakePrinter::Orientation() {
    if (!Answers) throw std::runtime_error("no printer");
    return CurrentOrientation;
}

void FakePrinter::SetOrientation(int orientation) {
    OrientationsSet.push_back(orientation);
    CurrentOrientation = orientation;
}

PrinterDeviceCaps FakePrinter::DeviceCaps() { return CurrentOrientation == kLandscape ? Landscape : Portrait; }

bool FakePrinter::PrintDialog(const std::string& title) {
    ++PrintDialogs;
    DialogTitles.push_back(title);
    return PrintDialogAnswer;
}

bool FakePrinter::PageSetupDialog(PageSetup& setup) {
    ++PageSetupDialogs;
    PageSetupShown = setup;
    if (!PageSetupAnswer) {
        CurrentOrientation = OrientationLeftByCancelledDialog;
        return false;
    }
    setup = PageSetupResult;
    CurrentOrientation = setup.Orientation;
    return true;
}

PrintResult FakePrinter::PrintProtocol(const PageRect& rect, const std::string& title) {
    Printed.push_back(rect);
    Titles.push_back(title);
    OrientationWhenPrinted = CurrentOrientation;
    if (WhilePrinting) WhilePrinting();
    return Result;
}

}  // namespace kestrum::fakes
