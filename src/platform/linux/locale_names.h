#pragma once
// Mapping of POSIX locale data to the Windows-style values of LocaleInfo.
// Pure functions, kept apart from the locale queries so they can be tested
// without installed locales.

#include <string>
#include <string_view>

namespace kestrum {

// Windows language identifier for a POSIX locale name such as
// "de_AT.UTF-8@euro": German by territory (DE 0x0407, CH 0x0807, AT 0x0C07,
// LU 0x1007, LI 0x1407; any other or none 0x0407), English by territory
// (US 0x0409, GB 0x0809, ...), other languages their primary language with
// the default sublanguage; "C", "POSIX", empty and unknown names 0x0409.
unsigned LanguageIdFromLocaleName(std::string_view localeName);

// The name of the locale that decides the user's language, from the
// environment values of LC_ALL, LC_MESSAGES and LANG (first non-empty wins).
std::string MessagesLocaleName(const char* lcAll, const char* lcMessages, const char* lang);

// A strftime time format (e.g. "%H:%M:%S", "%I:%M:%S %p") as a Windows time
// picture ("HH:mm:ss", "hh:mm:ss tt"); literal letters are put in single
// quotes. `ampmFormat` is what "%r" stands for. Falls back to "HH:mm:ss"
// when the format shows no hour.
std::string TimePictureFromStrftime(std::string_view format, std::string_view ampmFormat);

// A separator given as UTF-8 text as one Windows-1252 byte: ASCII as is,
// U+00A0..U+00FF and U+2019 (right single quote) mapped to their code page
// byte, thin and narrow no-break spaces to 0xA0; '\0' for an empty text;
// `fallback` for anything else.
char SeparatorByte(std::string_view utf8, char fallback);

}  // namespace kestrum
