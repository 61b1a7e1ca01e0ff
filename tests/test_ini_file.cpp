#include <gtest/gtest.h>

#include "settings/ini_file.h"

using namespace kestrum;

TEST(IniFile, SectionsAndKeysMatchWithoutCaseAndValuesStayAsWritten) {
    const IniFile ini = IniFile::Parse(
        "[General]\n"
        "LogMode=2\n"
        "  Spaced Key  =  both sides \n"
        "[com3]\n"
        "ChannelID=x=y\n");
    EXPECT_EQ(ini.Value("GENERAL", "logmode"), "2");
    EXPECT_EQ(ini.Value("general", "Spaced Key"), "  both sides ");
    EXPECT_EQ(ini.Value("COM3", "CHANNELID"), "x=y");
    EXPECT_FALSE(ini.Value("COM3", "LogMode"));
    EXPECT_FALSE(ini.Value("COM4", "ChannelID"));
    EXPECT_TRUE(ini.HasSection("Com3"));
    EXPECT_TRUE(ini.HasKey("general", "LOGMODE"));
}

TEST(IniFile, LineEndsOfEveryKindAreRead) {
    const IniFile ini = IniFile::Parse("[A]\r\nOne=1\r\nTwo=2\rThree=3\n\nFour=4");
    EXPECT_EQ(ini.Value("A", "One"), "1");
    EXPECT_EQ(ini.Value("A", "Two"), "2");
    EXPECT_EQ(ini.Value("A", "Three"), "3");
    EXPECT_EQ(ini.Value("A", "Four"), "4");
    EXPECT_EQ(ini.Text(), "[A]\nOne=1\nTwo=2\nThree=3\n\nFour=4\n");
}

TEST(IniFile, FirstOfDuplicateKeysAndSectionsCountsForReadingAndWriting) {
    IniFile ini = IniFile::Parse("[A]\nk=first\nK=second\n[B]\nx=1\n[a]\nk=third\nnew=0\n");
    EXPECT_EQ(ini.Value("A", "k"), "first");
    EXPECT_FALSE(ini.Value("A", "new"));
    ini.WriteString("A", "k", "changed");
    ini.WriteString("A", "new", "1");
    EXPECT_EQ(ini.Text(), "[A]\nk=changed\nK=second\nnew=1\n[B]\nx=1\n[a]\nk=third\nnew=0\n");
}

TEST(IniFile, LinesWithoutKeysAndKeysBeforeAnySectionAreKeptButNotRead) {
    const std::string text =
        "Orphan=1\n; comment\n[S]\n;Hidden=1\njust text\n=no key\n[Broken\nk=v\n";
    const IniFile ini = IniFile::Parse(text);
    EXPECT_FALSE(ini.Value("", "Orphan"));
    EXPECT_FALSE(ini.Value("S", ";Hidden"));
    EXPECT_FALSE(ini.Value("S", ""));
    EXPECT_EQ(ini.Value("Broken", "k"), "v");
    EXPECT_EQ(ini.Text(), text);
}

TEST(IniFile, WritingKeepsTheRestAndPlacesNewKeysAfterTheSectionsLastKey) {
    IniFile ini = IniFile::Parse("[A]\n; about A\nk = old\n\n; trailer\n[B]\n");
    ini.WriteString("a", "K", "new");       // keeps the file's spelling of the key
    ini.WriteString("A", "Added", "1");     // after k, before the blank line
    ini.WriteString("B", "First", "2");     // empty section
    ini.WriteInteger("Created", "Int", -16777211);
    ini.WriteBool("Created", "Flag", true);
    EXPECT_EQ(ini.Text(),
              "[A]\n; about A\nk =new\nAdded=1\n\n; trailer\n[B]\nFirst=2\n"
              "[Created]\nInt=-16777211\nFlag=1\n");
}

TEST(IniFile, ValuesCannotBreakTheDocument) {
    IniFile ini;
    ini.WriteString("S", "k", "one\r\n[Evil]\nx=1");
    const IniFile again = IniFile::Parse(ini.Text());
    EXPECT_EQ(again.Value("S", "k"), "one  [Evil] x=1");
    EXPECT_FALSE(again.HasSection("Evil"));
}

TEST(IniFile, IntegersMustBeWholeDecimal32BitNumbers) {
    struct Case {
        const char* Text;
        std::optional<int> Expected;
    };
    const Case cases[] = {
        {"12", 12},           {" -5 ", -5},          {"+7", 7},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt}, {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"12abc", std::nullopt}, {"", std::nullopt}, {"  ", std::nullopt},
        {"0x10", std::nullopt},  {"1.5", std::nullopt}, {"+-1", std::nullopt},
        {"- 1", std::nullopt},  {"1 2", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseInt32(c.Text), c.Expected) << '"' << c.Text << '"';
        const IniFile ini = IniFile::Parse(std::string("[S]\nk=") + c.Text + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "k", -77), c.Expected.value_or(-77)) << c.Text;
    }
    // Bools are integers, non-zero meaning true.
    const IniFile ini = IniFile::Parse("[S]\nz=0\nt=2\nn=-1\nbad=yes\n");
    EXPECT_FALSE(ini.ReadBool("S", "z", true));
    EXPECT_TRUE(ini.ReadBool("S", "t", false));
    EXPECT_TRUE(ini.ReadBool("S", "n", false));
    EXPECT_TRUE(ini.ReadBool("S", "bad", true));
    EXPECT_FALSE(ini.ReadBool("S", "bad", false));
}
