#pragma once
// The printable page rectangle (Printerface): where on the paper the
// protocol is laid out, from the page margins in millimetres.

#include "platform/printer.h"

namespace kestrum {

// `millimetres` at `pixelsPerInch` in device pixels: mm × dpi / 25.4, rounded
// to the nearest integer, halves to the even neighbour. Computed exactly in
// integers; results beyond the range of int are held at its limits.
int MillimetresToDevicePixels(int millimetres, int pixelsPerInch);

// The page rectangle for margins (millimetres) on paper with the device
// values `caps`: each margin in device pixels, at least the unprintable
// strip of its side; the rectangle is measured from the top left corner of
// the printable area. A rectangle without room (Right <= Left or Bottom <=
// Top) is returned as it is; the caller decides.
PageRect PageRectFromDeviceCaps(const PrinterDeviceCaps& caps, int left, int right, int top, int bottom);

// ComputePageRect: sets the printer to `orientation` so that its device
// values describe the page as it will be printed, and computes the page
// rectangle from them.
PageRect ComputePageRect(Printer& printer, int orientation, int left, int right, int top, int bottom);

}  // namespace kestrum
