#include <gtest/gtest.h>

#include "channels/channel_button_look.h"
#include "channels/channel_ids.h"
#include "channels/channel_table_build.h"
#include "channels/font_entries.h"
#include "channels/hint_suffix.h"
#include "channels/trigger_fields.h"

using namespace kestrum;

TEST(ChannelModelIds, DefaultPaddingsAreOneBlank) {
    ChannelTable table;
    BuildChannelTable(table);
    for (int k = kUserEntry; k <= kLastChannel; ++k) EXPECT_EQ(table.IdPadding[k], " ") << k;
}

TEST(ChannelModelIds, LongIdWidensEveryOtherPadding) {
    ChannelTable table;
    BuildChannelTable(table);
    ChangeChannelId(table, 2, "Gateway1");
    EXPECT_EQ(table.Channels[2].ChannelID, "Gateway1");
    EXPECT_EQ(table.IdPadding[2], " ");
    for (int k : {0, 1, 3, 4, 5, 6, 7, 8}) EXPECT_EQ(table.IdPadding[k], "     ") << k;

    // Shrinking it again brings every padding back to one blank.
    ChangeChannelId(table, 2, "AB");
    EXPECT_EQ(table.IdPadding[2], "   ");
    EXPECT_EQ(table.IdPadding[0], " ");
}

TEST(ChannelModelIds, BlankIdBecomesPortNameOtherwiseStoredAsTyped) {
    ChannelTable table;
    BuildChannelTable(table);
    ChangeChannelId(table, 3, "   ");
    EXPECT_EQ(table.Channels[3].ChannelID, "COM3");
    ChangeChannelId(table, 3, "");
    EXPECT_EQ(table.Channels[3].ChannelID, "COM3");
    ChangeChannelId(table, 3, " Pump ");
    EXPECT_EQ(table.Channels[3].ChannelID, " Pump ");
    EXPECT_EQ(table.IdPadding[3], " ");
    EXPECT_EQ(table.IdPadding[1], "   ");
    ChangeChannelId(table, 0, "ignored");
    ChangeChannelId(table, 9, "ignored");
    EXPECT_EQ(table.UserName, "User");
    EXPECT_EQ(table.EntryId(kMasterEntry), "MasterFont");
}

TEST(ChannelModelIds, UserNameCountsForTheLongestId) {
    ChannelTable table;
    table.UserName = "Operator";
    table.Channels[5].ChannelID = "  ";  // as if loaded from an edited file
    BuildChannelTable(table);
    EXPECT_EQ(table.Channels[5].ChannelID, "COM5");
    EXPECT_EQ(table.IdPadding[0], " ");
    EXPECT_EQ(table.IdPadding[5], "     ");
}

TEST(ChannelModelFonts, StylesFromFlagsMasterOnlyBoldItalic) {
    ChannelTable table;
    table.Fonts[0].FontBold = true;
    table.Fonts[1].FontItalic = true;
    table.Fonts[1].FontStrikeOut = true;
    table.Fonts[8].FontBold = table.Fonts[8].FontItalic = table.Fonts[8].FontUnderline =
        table.Fonts[8].FontStrikeOut = true;
    table.Fonts[9].FontItalic = true;
    table.Fonts[9].FontUnderline = true;  // not a flag of the master entry
    table.Fonts[9].FontStrikeOut = true;
    BuildChannelTable(table);
    EXPECT_EQ(table.Fonts[0].FontStyle, 1);
    EXPECT_EQ(table.Fonts[1].FontStyle, 2 | 8);
    EXPECT_EQ(table.Fonts[2].FontStyle, 0);
    EXPECT_EQ(table.Fonts[8].FontStyle, 15);
    EXPECT_EQ(table.Fonts[9].FontStyle, 2);

    SetEntryFontStyle(table, 4, kStyleUnderline | kStyleBold);
    EXPECT_TRUE(table.Fonts[4].FontBold && table.Fonts[4].FontUnderline);
    EXPECT_FALSE(table.Fonts[4].FontItalic || table.Fonts[4].FontStrikeOut);
    EXPECT_EQ(table.Fonts[4].FontStyle, 5);
    SetEntryFontStyle(table, 9, 15);
    EXPECT_EQ(table.Fonts[9].FontStyle, 3);
    SetEntryFontStyle(table, 10, 15);  // out of range: no effect, no crash
}

TEST(ChannelModelFonts, MasterFontChoiceKeepsColours) {
    ChannelTable table;
    table.Fonts[3].FontUnderline = true;
    table.Fonts[3].FontStrikeOut = true;
    table.Fonts[0].FontColor = 0x123456;
    BuildChannelTable(table);
    FontEntry& master = table.Fonts[kMasterEntry];
    master.FontName = "Courier New";
    master.FontSize = 14;
    master.FontColor = 0x00FF00;
    SetEntryFontStyle(table, kMasterEntry, kStyleBold | kStyleItalic);
    ApplyMasterFont(table);
    const ChannelTable defaults;
    for (int k = kUserEntry; k <= kLastChannel; ++k) {
        const FontEntry& f = table.Fonts[k];
        EXPECT_EQ(f.FontName, "Courier New") << k;
        EXPECT_EQ(f.FontSize, 14) << k;
        EXPECT_TRUE(f.FontBold && f.FontItalic) << k;
        EXPECT_FALSE(f.FontUnderline || f.FontStrikeOut) << k;
        EXPECT_EQ(f.FontStyle, 3) << k;
        if (k > 0) {
            EXPECT_EQ(f.FontColor, defaults.Fonts[k].FontColor) << k;
        }
    }
    EXPECT_EQ(table.Fonts[0].FontColor, 0x123456);
    const TextAttributes user = FontEntryAttributes(table.Fonts[0]);
    EXPECT_EQ(user, (TextAttributes{"Courier New", 14, 0x123456, 3}));
}

TEST(ChannelModelTrigger, LoadedWordsAreCanonicalCutOrEmpty) {
    const struct {
        const char* Saved;
        bool SavedEnabled;
        std::string Bytes;
        const char* Word;
        bool Enabled;
    } cases[] = {
        {"", true, "", "", false},
        {"0x41,42", true, "", "", false},             // does not convert
        {"100", true, "", "", false},                 // above FF
        {"41-42 43", true, "ABC", "41 42 43", true},
        {"$0d $0a", false, "\r\n", "0D 0A", false},
        {"30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F 40 41 42 43", true,
         "0123456789:;<=>?", "30 31 32 33 34 35 36 37 - 38 39 3A 3B 3C 3D 3E 3F", true},
    };
    for (const auto& c : cases) {
        ChannelTable table;
        table.Channels[4].TriggerWord = c.Saved;
        table.Channels[4].TriggerEnabled = c.SavedEnabled;
        BuildChannelTable(table);
        const ChannelRecord& r = table.Channels[4];
        EXPECT_EQ(r.TriggerBytes, c.Bytes) << c.Saved;
        EXPECT_EQ(r.TriggerLength, static_cast<int>(c.Bytes.size())) << c.Saved;
        EXPECT_EQ(r.TriggerWord, c.Word) << c.Saved;
        EXPECT_EQ(r.TriggerEnabled, c.Enabled) << c.Saved;
    }
}

TEST(ChannelModelTrigger, DisplayAndHexColumnTexts) {
    ChannelRecord r;
    SetTriggerBytes(r, "\r\n");
    EXPECT_EQ(r.TriggerDisplayText, "\xB6\xA4");
    EXPECT_EQ(r.TriggerHexColumnText, "\x01\x01");
    EXPECT_EQ(r.TriggerWord, "0D 0A");

    // Only the trailing run of CR and LF is replaced.
    EXPECT_EQ(TriggerDisplayTextOf("\rA\n\r\n"), "\rA\xA4\xB6\xA4");
    EXPECT_EQ(TriggerDisplayTextOf("AB"), "AB");
    EXPECT_EQ(TriggerDisplayTextOf(""), "");
    EXPECT_EQ(TriggerHexColumnTextOf(std::string("\x00\x1F \x7F\xB6", 5)),
              std::string("\x01\x01 \x7F\xB6", 5));

    SetTriggerBytes(r, std::string(20, 'Z'));
    EXPECT_EQ(r.TriggerLength, 16);
    EXPECT_EQ(r.TriggerBytes, std::string(16, 'Z'));
    // A saved word one byte over the limit keeps its first 16 bytes.
    r.TriggerWord = "41 42 43 44 45 46 47 48 - 49 4A 4B 4C 4D 4E 4F 50 - 51";
    LoadTriggerWord(r);
    EXPECT_EQ(r.TriggerBytes, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(r.TriggerLength, 16);
    EXPECT_EQ(r.TriggerWord, "41 42 43 44 45 46 47 48 - 49 4A 4B 4C 4D 4E 4F 50");
    r.TriggerWord = "41 42 43 44 45 46 47 48 - 49 4A 4B 4C 4D 4E 4F 50";
    LoadTriggerWord(r);
    EXPECT_EQ(r.TriggerLength, 16);
}

TEST(ChannelModelTrigger, EnabledNeedsAWordAndUnderlineNeedsActive) {
    ChannelRecord r;
    EXPECT_FALSE(SetTriggerEnabled(r, true));
    EXPECT_FALSE(r.TriggerEnabled);
    SetTriggerBytes(r, "A");
    EXPECT_TRUE(SetTriggerEnabled(r, true));
    EXPECT_FALSE(TriggerUnderline(r));
    r.Active = true;
    EXPECT_TRUE(TriggerUnderline(r));
    SetTriggerBytes(r, "");  // an empty word switches the trigger off
    EXPECT_FALSE(r.TriggerEnabled);
    EXPECT_FALSE(TriggerUnderline(r));
}

TEST(ChannelModelButtonLook, SilverCaptionShownBlackFontStaysSilver) {
    ChannelTable table;
    table.Fonts[6].FontColor = kSilver;
    table.Channels[6].TriggerWord = "41";
    table.Channels[6].TriggerEnabled = true;
    BuildChannelTable(table);
    EXPECT_EQ(ChannelButtonLookOf(table, 6), (ChannelButtonLook{"COM6", 0x000000, false}));
    EXPECT_EQ(table.Fonts[6].FontColor, kSilver);
    EXPECT_EQ(FontEntryAttributes(table.Fonts[6]).Color, kSilver);
    table.Channels[6].Active = true;
    EXPECT_TRUE(ChannelButtonLookOf(table, 6).Underline);
    EXPECT_EQ(ChannelButtonLookOf(table, 1), (ChannelButtonLook{"COM1", 0x0000FF, false}));
    EXPECT_EQ(ButtonCaptionColour(0xC0C0C1), 0xC0C0C1);
}

TEST(ChannelModelHintSuffix, LineSettingsOnlyWhileInstalled) {
    ChannelRecord r;
    RebuildHintSuffix(r);
    EXPECT_EQ(r.HintSuffix, "");
    r.Installed = true;
    RebuildHintSuffix(r);
    EXPECT_EQ(r.HintSuffix, "\r(9600,8,N,1)");
    r.BaudRate = 4000000000u;
    r.ByteSize = 7;
    r.Parity = Parity::Even;
    r.StopBits = StopBits::OneAndHalf;
    EXPECT_EQ(HintSuffixOf(r), "\r(4000000000,7,E,1.5)");
    r.Parity = static_cast<Parity>(9);
    r.StopBits = StopBits::Two;
    EXPECT_EQ(HintSuffixOf(r), "\r(4000000000,7,N,2)");
}
