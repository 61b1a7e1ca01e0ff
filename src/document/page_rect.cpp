#include "document/page_rect.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kestrum {
namespace {

// Floor division of a by a positive b.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

int ToInt(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

int MillimetresToDevicePixels(int millimetres, int pixelsPerInch) {
    // mm × dpi / 25.4 = (mm × dpi × 10) / 254, rounded half to even.
    const std::int64_t numerator = static_cast<std::int64_t>(millimetres) * pixelsPerInch * 10;
    constexpr std::int64_t kDenominator = 254;
    const std::int64_t floor = FloorDiv(numerator, kDenominator);
    const std::int64_t twiceRemainder = 2 * (numerator - floor * kDenominator);
    std::int64_t rounded = floor;
    if (twiceRemainder > kDenominator || (twiceRemainder == kDenominator && floor % 2 != 0)) rounded = floor + 1;
    return ToInt(rounded);
}

PageRect PageRectFromDeviceCaps(const PrinterDeviceCaps& caps, int left, int right, int top, int bottom) {
    const std::int64_t rightStrip = static_cast<std::int64_t>(caps.PhysicalWidth) - caps.HorzRes - caps.PhysicalOffsetX;
    const std::int64_t bottomStrip =
        static_cast<std::int64_t>(caps.PhysicalHeight) - caps.VertRes - caps.PhysicalOffsetY;
    const std::int64_t l =
        std::max<std::int64_t>(MillimetresToDevicePixels(left, caps.LogPixelsX), caps.PhysicalOffsetX);
    const std::int64_t r = std::max<std::int64_t>(MillimetresToDevicePixels(right, caps.LogPixelsX), rightStrip);
    const std::int64_t t =
        std::max<std::int64_t>(MillimetresToDevicePixels(top, caps.LogPixelsY), caps.PhysicalOffsetY);
    const std::int64_t b = std::max<std::int64_t>(MillimetresToDevicePixels(bottom, caps.LogPixelsY), bottomStrip);
    PageRect rect;
    rect.Left = ToInt(l - caps.PhysicalOffsetX);
    rect.Top = ToInt(t - caps.PhysicalOffsetY);
    rect.Right = ToInt(caps.HorzRes - (r - rightStrip));
    rect.Bottom = ToInt(caps.VertRes - (b - bottomStrip));
    return rect;
}

PageRect ComputePageRect(Printer& printer, int orientation, int left, int right, int top, int bottom) {
    printer.SetOrientation(orientation);
    return PageRectFromDeviceCaps(printer.DeviceCaps(), left, right, top, bottom);
}

}  // namespace kestrum
