#pragma once
// The printer (the current printer's orientation, its device values, the
// print and page set-up dialogs, and printing the protocol).
//
// This program keeps its own printer object: changing its orientation never
// changes the system's default for the printer. Printing into a PDF file
// counts as a printer, so printing works on a machine without one.

#include <string>

namespace kestrum {

// Orientations as the settings key PrinterOrientation stores them.
constexpr int kPortrait = 0;
constexpr int kLandscape = 1;

// The printer's device values (GetDeviceCaps) for the current orientation,
// in device pixels.
struct PrinterDeviceCaps {
    int PhysicalWidth = 0;    // PHYSICALWIDTH: the paper
    int PhysicalHeight = 0;   // PHYSICALHEIGHT
    int HorzRes = 0;          // HORZRES: the printable area
    int VertRes = 0;          // VERTRES
    int PhysicalOffsetX = 0;  // PHYSICALOFFSETX: the unprintable left strip
    int PhysicalOffsetY = 0;  // PHYSICALOFFSETY: the unprintable top strip
    int LogPixelsX = 0;       // LOGPIXELSX: device pixels per inch
    int LogPixelsY = 0;       // LOGPIXELSY
    bool operator==(const PrinterDeviceCaps&) const = default;
};

// The area each page is laid out into, in device pixels from the top left
// corner of the printable area.
struct PageRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const PageRect&) const = default;
};

// What the page set-up dialog shows and returns: the margins in
// millimetres (fractions as the user typed them) and the orientation.
struct PageSetup {
    double MarginLeft = 0;
    double MarginTop = 0;
    double MarginRight = 0;
    double MarginBottom = 0;
    int Orientation = kPortrait;
};

enum class PrintResult {
    Printed = 0,
    NotStarted = 1,  // the printer (or the PDF file) could not be opened
    Failed = 2,      // the printer failed while printing
};

class Printer {
public:
    virtual ~Printer() = default;

    // The printer's orientation (kPortrait or kLandscape). Throws
    // std::runtime_error when no printer answers.
    virtual int Orientation() = 0;
    virtual void SetOrientation(int orientation) = 0;
    // The device values for the current orientation.
    virtual PrinterDeviceCaps DeviceCaps() = 0;
    // The printer's name, or the file it prints into; for messages.
    virtual std::string Name() = 0;

    // The print dialog for the document `title` (it names the PDF file the
    // dialog proposes): the user chooses the printer and the number of
    // copies; there is no page range or selection. False: cancelled.
    virtual bool PrintDialog(const std::string& title) = 0;
    // The page set-up dialog, preset with `setup` (the printer takes its
    // orientation). On OK true, with the margins and orientation as the
    // dialog left them in `setup`; on cancel false and `setup` unchanged
    // (the printer's orientation may have changed).
    virtual bool PageSetupDialog(PageSetup& setup) = 0;
    // Prints the whole protocol document with its fonts and colours, every
    // page laid out within `rect`; the print job is named `title`.
    virtual PrintResult PrintProtocol(const PageRect& rect, const std::string& title) = 0;
};

}  // namespace kestrum
