#include <gtest/gtest.h>

#include <clocale>

#include "capture/time_tag.h"

namespace kestrum {
namespace {

LocaleInfo English() {
    return LocaleInfo{};
}

LocaleInfo German() {
    LocaleInfo locale;
    locale.LanguageId = 0x0407;
    locale.DecimalSeparator = ',';
    locale.ThousandSeparator = '.';
    return locale;
}

struct TagCase {
    const char* Name;
    double Seconds;
    bool Counter;
    bool GermanLocale;
    const char* Expected;
};

class TimeTagTable : public ::testing::TestWithParam<TagCase> {};

TEST_P(TimeTagTable, Formats) {
    const TagCase& c = GetParam();
    EXPECT_EQ(FormatTimeTag(c.Seconds, c.Counter, c.GermanLocale ? German() : English()), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeTagTable,
    ::testing::Values(
        TagCase{"CounterEnglish", 1.25, true, false, "1.250000"},
        TagCase{"NoCounterEnglish", 1.25, false, false, "1.250"},
        TagCase{"GroupedEnglish", 4321.5, true, false, "4,321.500000"},
        TagCase{"CounterGerman", 1.25, true, true, "1,250000"},
        TagCase{"GroupedGerman", 4321.5, true, true, "4.321,500000"},
        TagCase{"NoCounterGerman", 4321.5, false, true, "4.321,500"},
        TagCase{"Zero", 0.0, true, false, "0.000000"},
        TagCase{"ZeroNoCounter", 0.0, false, false, "0.000"},
        TagCase{"TwoAndAHalf", 2.5, true, false, "2.500000"},
        TagCase{"RoundsAtLastDecimal", 0.0000006, true, false, "0.000001"},
        TagCase{"RoundsUpIntoNextInteger", 9.9999996, true, false, "10.000000"},
        // Ten significant digits: the sixth decimal is no longer significant.
        TagCase{"BeyondSignificantShownAsZero", 12345.6789012, true, false, "12,345.678900"},
        TagCase{"SevenDigitsNoCounter", 12345.6789, false, false, "12,345.680"},
        TagCase{"MillionsGrouped", 1234567.891234, true, false, "1,234,567.891000"},
        TagCase{"ExponentWhenTooManyIntegerDigits", 12345678901.0, true, false, "1.23456789E10"},
        TagCase{"ExponentGerman", 2.5e12, true, true, "2,5E12"},
        TagCase{"Negative", -1.5, true, false, "-1.500000"}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST(FormatGroupedNumber, WithoutThousandSeparatorDigitsAreNotGrouped) {
    LocaleInfo locale;
    locale.ThousandSeparator = '\0';
    EXPECT_EQ(FormatGroupedNumber(1234567.5, 10, 3, locale), "1234567.500");
}

TEST(FormatGroupedNumber, IgnoresTheCLibraryLocale) {
    // Whatever LC_NUMERIC says, the separators come from LocaleInfo only.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(FormatGroupedNumber(1.25, 10, 6, English()), "1.250000");
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace kestrum
