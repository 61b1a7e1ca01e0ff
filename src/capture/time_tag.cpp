#include "capture/time_tag.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kestrum {

namespace {

// Inserts the thousands separator into a run of integer digits.
std::string GroupDigits(const std::string& digits, char separator) {
    if (separator == '\0' || digits.size() <= 3) return digits;
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

std::string ExponentForm(std::string digits, int exponent, char decimalSeparator) {
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out(1, digits[0]);
    if (digits.size() > 1) {
        out += decimalSeparator;
        out.append(digits, 1, std::string::npos);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
}

}  // namespace

std::string FormatGroupedNumber(double value, int precision, int decimals,
                                const LocaleInfo& locale) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);

    // The significant digits and the decimal exponent, rounded to `precision`.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                std::chars_format::scientific, precision - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (c != '.') digits += c;
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    const int integerDigits = exponent + 1;

    std::string integerPart;
    std::string fraction;
    if (integerDigits > precision) {
        std::string out = ExponentForm(digits, exponent, locale.DecimalSeparator);
        return negative ? "-" + out : out;
    }
    if (integerDigits + decimals <= precision) {
        // Every shown digit is significant: round at the last decimal.
        result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                               std::chars_format::fixed, decimals);
        const std::string fixed(buffer, result.ptr);
        const std::size_t point = fixed.find('.');
        integerPart = fixed.substr(0, point);
        if (point != std::string::npos) fraction = fixed.substr(point + 1);
    } else if (integerDigits > 0) {
        integerPart = digits.substr(0, static_cast<std::size_t>(integerDigits));
        fraction = digits.substr(static_cast<std::size_t>(integerDigits));
    } else {
        integerPart = "0";
        fraction = std::string(static_cast<std::size_t>(-integerDigits), '0') + digits;
    }
    fraction.resize(static_cast<std::size_t>(decimals), '0');

    std::string out = GroupDigits(integerPart, locale.ThousandSeparator);
    if (decimals > 0) {
        out += locale.DecimalSeparator;
        out += fraction;
    }
    const bool nonZero = std::any_of(out.begin(), out.end(),
                                     [](char c) { return c >= '1' && c <= '9'; });
    return negative && nonZero ? "-" + out : out;
}

std::string FormatTimeTag(double seconds, bool counterAvailable, const LocaleInfo& locale) {
    return counterAvailable ? FormatGroupedNumber(seconds, 10, 6, locale)
                            : FormatGroupedNumber(seconds, 7, 3, locale);
}

}  // namespace kestrum
