#pragma once
// Windows-1252, the program's single-byte character set, and Unicode.

#include <cstdint>

namespace kestrum {

// The Unicode code point of a byte: ASCII and 0xA0..0xFF as their Latin-1
// code, 0x80..0x9F as their Windows-1252 characters; the five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their C1 code.
char16_t Windows1252ToUnicode(unsigned char byte);

// The byte of a code point (the reverse of Windows1252ToUnicode), or '?'
// when the code page has no such character.
unsigned char UnicodeToWindows1252(char32_t code);

}  // namespace kestrum
