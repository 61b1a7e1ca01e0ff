// The page rectangle: margins in millimetres to device pixels (halves to
// even), raised to the paper's unprintable strips, measured from the
// printable area, for the orientation asked for.
#include <gtest/gtest.h>

#include <limits>

#include "document/page_rect.h"
#include "fakes/fake_printer.h"

namespace kestrum {
namespace {

TEST(PageRect, MillimetresToDevicePixels) {
    const struct {
        const char* Name;
        int Millimetres, Dpi, Pixels;
    } cases[] = {
        {"20 mm at 600 dpi: 472.44 rounds down", 20, 600, 472},
        {"15 mm at 600 dpi: 354.33", 15, 600, 354},
        {"10 mm at 1200 dpi: 472.44", 10, 1200, 472},
        {"1 mm at 300 dpi: 11.81 rounds up", 1, 300, 12},
        {"an inch is exact", 254, 100, 1000},
        {"zero", 0, 600, 0},
        {"a negative margin rounds the same way", -20, 600, -472},
        {"-1 mm at 300 dpi: -11.81", -1, 300, -12},
        {"huge margins stay within int", std::numeric_limits<int>::max(), 1200, std::numeric_limits<int>::max()},
        {"huge negative margins too", std::numeric_limits<int>::min(), 1200, std::numeric_limits<int>::min()},
    };
    for (const auto& c : cases) EXPECT_EQ(MillimetresToDevicePixels(c.Millimetres, c.Dpi), c.Pixels) << c.Name;
}

// A4 at 600 dpi: 4960 x 7016 pixels, printable area with strips of 100 left,
// 50 top, 60 right, 80 bottom.
PrinterDeviceCaps A4Portrait() {
    PrinterDeviceCaps caps;
    caps.PhysicalWidth = 4960;
    caps.PhysicalHeight = 7016;
    caps.PhysicalOffsetX = 100;
    caps.PhysicalOffsetY = 50;
    caps.HorzRes = 4960 - 100 - 60;
    caps.VertRes = 7016 - 50 - 80;
    caps.LogPixelsX = 600;
    caps.LogPixelsY = 600;
    return caps;
}

TEST(PageRect, FromDeviceCaps) {
    const PrinterDeviceCaps caps = A4Portrait();
    const struct {
        const char* Name;
        int Left, Right, Top, Bottom;
        PageRect Expected;
    } cases[] = {
        // L 472 - 100; R 236 (10 mm) - 60 off 4800; T 236 - 50; B 236 - 80 off 6886.
        {"margins wider than the strips", 20, 10, 10, 10, {372, 186, 4800 - 176, 6886 - 156}},
        {"zero margins are raised to the strips", 0, 0, 0, 0, {0, 0, 4800, 6886}},
        {"a top margin of 0 with a 50 pixel strip gives top 0", 20, 10, 0, 10, {372, 0, 4624, 6730}},
        {"a margin just under the strip: 4 mm = 94 > 60 right, 2 mm = 47 < 50 top",
         15,
         4,
         2,
         3,
         {254, 0, 4800 - 34, 6886 - 0}},
        {"negative margins count as the strips", -5, -5, -5, -5, {0, 0, 4800, 6886}},
        {"margins beyond the paper leave no room", 200, 200, 10, 10, {4624, 186, 4800 - 4664, 6730}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageRectFromDeviceCaps(caps, c.Left, c.Right, c.Top, c.Bottom), c.Expected) << c.Name;
}

TEST(PageRect, ComputePageRectTurnsThePrinterFirst) {
    fakes::FakePrinter printer;
    printer.Portrait = A4Portrait();
    printer.Landscape = A4Portrait();
    std::swap(printer.Landscape.PhysicalWidth, printer.Landscape.PhysicalHeight);
    std::swap(printer.Landscape.HorzRes, printer.Landscape.VertRes);
    const PageRect landscape = ComputePageRect(printer, kLandscape, 15, 10, 10, 10);
    EXPECT_EQ(printer.OrientationsSet, std::vector<int>{kLandscape});
    EXPECT_EQ(landscape, PageRectFromDeviceCaps(printer.Landscape, 15, 10, 10, 10));
    EXPECT_GT(landscape.Right - landscape.Left, landscape.Bottom - landscape.Top);
    const PageRect portrait = ComputePageRect(printer, kPortrait, 15, 10, 10, 10);
    EXPECT_EQ(portrait, PageRectFromDeviceCaps(printer.Portrait, 15, 10, 10, 10));
}

}  // namespace
}  // namespace kestrum
