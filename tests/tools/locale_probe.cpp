// Prints what QueryUserLocale finds in this process's environment, one
// value per line: language id (hex), decimal and thousands separator byte
// values, long time format, metric (1/0). Then prints 1.5 through
// std::to_string to show the C number format is untouched.
#include <cstdio>
#include <string>

#include "platform/locale_info.h"

int main() {
    const kestrum::LocaleInfo info = kestrum::QueryUserLocale();
    std::printf("%04X\n%d\n%d\n%s\n%d\n%s\n", info.LanguageId,
                static_cast<unsigned char>(info.DecimalSeparator),
                static_cast<unsigned char>(info.ThousandSeparator), info.LongTimeFormat.c_str(),
                info.Metric ? 1 : 0, std::to_string(1.5).c_str());
    return 0;
}
