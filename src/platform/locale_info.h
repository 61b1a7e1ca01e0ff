#pragma once
// What the program takes from the user's locale.

#include <string>

namespace kestrum {

struct LocaleInfo {
    unsigned LanguageId = 0x0409;   // Windows language identifier (LOCALE_ILANGUAGE)
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';   // '\0' when the locale has none
    std::string LongTimeFormat = "HH:mm:ss";  // h/hh, H/HH, m/mm, s/ss, t/tt
    bool Metric = true;
};

// The user's locale (Windows: GetLocaleInfoA; Linux: setlocale/nl_langinfo).
LocaleInfo QueryUserLocale();

}  // namespace kestrum
