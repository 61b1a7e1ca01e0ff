#pragma once
// Fonts of the channel table as Qt fonts. "FixedSys", the default font of
// every entry, does not exist here: it is shown as the system's fixed-pitch
// font, while the entry keeps the name.

#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string_view>

namespace kestrum {

// The family a font name is shown in: the system's fixed-pitch family for
// "FixedSys" (any letter case) unless a font of that name is installed; the
// name itself (Windows-1252) otherwise.
QString FontFamilyOf(std::string_view name);

// The Qt font of a name, point size (none when not above 0) and style
// (1 bold, 2 italic, 4 underline, 8 strike-out). A family that is missing
// falls back to a fixed-pitch one.
QFont FontOfEntry(std::string_view name, int size, std::uint8_t style);

}  // namespace kestrum
