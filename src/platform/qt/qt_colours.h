#pragma once
// The program's colours (0x00BBGGRR, system colours with the high byte 0xFF)
// as Qt colours.

#include <QColor>
#include <QPalette>

#include "base/colour.h"

namespace kestrum {

// A plain colour gives its red, green and blue; a system colour (high byte
// 0xFF, low byte the Windows COLOR_ index) is taken from `palette`: 5 the
// window (text field) colour, 8 the window text, 15 the button face, ...
QColor ToQColor(Colour colour, const QPalette& palette);

// A plain Qt colour as 0x00BBGGRR.
Colour FromQColor(const QColor& colour);

}  // namespace kestrum
