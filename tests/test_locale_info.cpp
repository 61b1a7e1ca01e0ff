#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/linux/locale_names.h"
#include "platform/locale_info.h"
#include "settings/language_texts.h"
#include "support/child_process.h"

namespace kestrum {
namespace {

TEST(LocaleNames, LanguageIdsByLanguageAndTerritory) {
    struct Case {
        const char* Name;
        unsigned Id;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", 0x0407}, {"de_CH.UTF-8", 0x0807}, {"de_AT.UTF-8@euro", 0x0C07},
        {"de_LU", 0x1007},       {"de_LI.utf8", 0x1407},  {"de", 0x0407},
        {"de_BE.UTF-8", 0x0407}, {"DE_at", 0x0C07},       {"en_US.UTF-8", 0x0409},
        {"en_GB", 0x0809},       {"fr_FR.UTF-8", 0x040C}, {"fr_CH", 0x100C},
        {"C", 0x0409},           {"POSIX", 0x0409},       {"C.UTF-8", 0x0409},
        {"", 0x0409},            {"xx_YY", 0x0409},       {"_", 0x0409},
    };
    for (const Case& c : cases) EXPECT_EQ(LanguageIdFromLocaleName(c.Name), c.Id) << c.Name;
    // Austrian German starts German, French English.
    EXPECT_EQ(LocaleLanguage(LanguageIdFromLocaleName("de_AT.UTF-8")), kLanguageGerman);
    EXPECT_EQ(LocaleLanguage(LanguageIdFromLocaleName("fr_FR.UTF-8")), kLanguageEnglish);
}

TEST(LocaleNames, MessagesLocaleFollowsPosixPrecedence) {
    EXPECT_EQ(MessagesLocaleName("de_DE", "en_US", "fr_FR"), "de_DE");
    EXPECT_EQ(MessagesLocaleName("", "en_US", "fr_FR"), "en_US");
    EXPECT_EQ(MessagesLocaleName(nullptr, nullptr, "fr_FR"), "fr_FR");
    EXPECT_EQ(MessagesLocaleName(nullptr, "", nullptr), "C");
}

TEST(LocaleNames, TimePictures) {
    struct Case {
        const char* Format;
        const char* Ampm;
        const char* Picture;
    };
    const Case cases[] = {
        {"%T", "", "HH:mm:ss"},
        {"%H:%M:%S", "", "HH:mm:ss"},
        {"%r", "%I:%M:%S %p", "hh:mm:ss tt"},
        {"%r", "", "hh:mm:ss tt"},
        {"%l:%M:%S %P %Z", "", "h:mm:ss tt"},
        {"%k.%M.%S", "", "H.mm.ss"},
        {"%H Uhr %M", "", "HH 'Uhr' mm"},
        {"%OH:%EM:%-S", "", "HH:mm:ss"},
        {"%M:%S", "", "HH:mm:ss"},  // no hour: the default picture
        {"", "", "HH:mm:ss"},
        {"%", "", "HH:mm:ss"},
        {"%r", "%r", "hh:mm:ss tt"},  // a self-reference does not recurse
    };
    for (const Case& c : cases)
        EXPECT_EQ(TimePictureFromStrftime(c.Format, c.Ampm), c.Picture) << c.Format;
}

TEST(LocaleNames, SeparatorBytes) {
    EXPECT_EQ(SeparatorByte(",", '.'), ',');
    EXPECT_EQ(SeparatorByte(".", ','), '.');
    EXPECT_EQ(SeparatorByte("", ','), '\0');
    EXPECT_EQ(SeparatorByte("\xE2\x80\x99", ','), '\x92');   // U+2019
    EXPECT_EQ(SeparatorByte("\xE2\x80\xAF", ','), '\xA0');   // U+202F
    EXPECT_EQ(SeparatorByte("\xC2\xA0", ','), '\xA0');       // U+00A0
    EXPECT_EQ(SeparatorByte("\xD9\xAB", ','), ',');          // U+066B: no code page byte
    EXPECT_EQ(SeparatorByte("ab", '.'), '.');
    EXPECT_EQ(SeparatorByte("\xE2\x80", '.'), '.');          // cut off
}

struct ProbeResult {
    std::string LanguageId;
    int Decimal = -1;
    int Thousands = -1;
    std::string TimeFormat;
    int Metric = -1;
    std::string CNumber;
};

// glibc's newlocale keeps the parsed LOCPATH list for good; in a sanitizer
// build that would count as a leak of the probe, so leak checks are off there.
ProbeResult Probe(std::vector<std::string> environment) {
    environment.push_back("ASAN_OPTIONS=detect_leaks=0");
    test::ChildProcess probe({std::string(KESTRUM_TOOLS_DIR) + "/locale_probe"}, environment);
    const std::vector<std::string> lines = probe.ReadAllLines();
    probe.Wait();
    ProbeResult result;
    if (lines.size() != 6) return result;
    result.LanguageId = lines[0];
    result.Decimal = std::atoi(lines[1].c_str());
    result.Thousands = std::atoi(lines[2].c_str());
    result.TimeFormat = lines[3];
    result.Metric = std::atoi(lines[4].c_str());
    result.CNumber = lines[5];
    return result;
}

TEST(QueryUserLocale, CLocale) {
    const ProbeResult result =
        Probe({"LC_ALL=C", "LANG=C", "LC_MESSAGES=", "LC_NUMERIC=", "LC_TIME="});
    EXPECT_EQ(result.LanguageId, "0409");
    EXPECT_EQ(result.Decimal, '.');
    EXPECT_EQ(result.Thousands, 0);
    EXPECT_EQ(result.TimeFormat, "HH:mm:ss");
    EXPECT_EQ(result.Metric, 1);
}

TEST(QueryUserLocale, MissingGermanLocaleStillGivesGermanLanguage) {
    test::TempFolder empty;
    const ProbeResult result = Probe({"LOCPATH=" + empty.Path(), "LC_ALL=de_CH.UTF-8"});
    EXPECT_EQ(result.LanguageId, "0807");
    EXPECT_EQ(result.Decimal, '.');  // no locale data: the C formats
    EXPECT_EQ(result.TimeFormat, "HH:mm:ss");
}

// Austrian German, compiled into a private locale folder with localedef.
TEST(QueryUserLocale, AustrianGermanLocale) {
    test::TempFolder folder;
    const std::string command = "localedef -i de_AT -f ISO-8859-1 '" + folder.Path() +
                                "/de_AT' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "localedef cannot build de_AT (no locale sources installed)";
    const ProbeResult result = Probe({"LOCPATH=" + folder.Path(), "LC_ALL=de_AT"});
    EXPECT_EQ(result.LanguageId, "0C07");
    EXPECT_EQ(result.Decimal, ',');
    EXPECT_EQ(result.Thousands, '.');
    EXPECT_EQ(result.TimeFormat, "HH:mm:ss");
    EXPECT_EQ(result.Metric, 1);
    // The process's own number format is untouched.
    EXPECT_EQ(result.CNumber, "1.500000");
}

}  // namespace
}  // namespace kestrum
