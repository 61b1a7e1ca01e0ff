#pragma once
// The program's single-byte text (Windows-1252) as UTF-8, for file formats
// whose strings must be UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrum {

// Every byte becomes one character: ASCII as is, 0xA0..0xFF as the Latin-1
// character of that code, 0x80..0x9F as their Windows-1252 characters (the
// five bytes without one keep their C1 control code). The result is at most
// `maxBytes` long and never ends inside a character.
std::string Windows1252ToUtf8(std::string_view text, std::size_t maxBytes = std::string::npos);

}  // namespace kestrum
