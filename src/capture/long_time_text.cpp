#include "capture/long_time_text.h"

#include <cmath>
#include <cstdint>

namespace kestrum {

namespace {

void AppendNumber(std::string& out, int value, bool twoDigits) {
    if (twoDigits && value < 10) out += '0';
    out += std::to_string(value);
}

}  // namespace

std::string FormatLongTime(DateTime dateTime, std::string_view format) {
    std::int64_t ms = 0;
    if (std::isfinite(dateTime)) {
        const double fraction = dateTime - std::floor(dateTime);
        ms = static_cast<std::int64_t>(std::llround(fraction * kSecondsPerDay * 1000.0));
        if (ms >= 86'400'000 || ms < 0) ms = 0;
    }
    const int hours = static_cast<int>(ms / 3'600'000);
    const int minutes = static_cast<int>(ms / 60'000 % 60);
    const int seconds = static_cast<int>(ms / 1000 % 60);
    const char* designator = hours < 12 ? "AM" : "PM";

    std::string out;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        switch (c) {
            case 'H':
                AppendNumber(out, hours, run >= 2);
                break;
            case 'h': {
                const int h12 = hours % 12 == 0 ? 12 : hours % 12;
                AppendNumber(out, h12, run >= 2);
                break;
            }
            case 'm':
                AppendNumber(out, minutes, run >= 2);
                break;
            case 's':
                AppendNumber(out, seconds, run >= 2);
                break;
            case 't':
                out += run >= 2 ? std::string(designator) : std::string(1, designator[0]);
                break;
            case '\'': {
                // Quoted literal; '' inside stands for one quote.
                std::size_t j = i + 1;
                while (j < format.size()) {
                    if (format[j] == '\'') {
                        if (j + 1 < format.size() && format[j + 1] == '\'') {
                            out += '\'';
                            j += 2;
                            continue;
                        }
                        break;
                    }
                    out += format[j++];
                }
                i = j + 1;
                continue;
            }
            default:
                out.append(run, c);
                break;
        }
        i += run;
    }
    return out;
}

}  // namespace kestrum
