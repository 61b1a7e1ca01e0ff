#include <gtest/gtest.h>

#include "capture/channel_line_writer.h"
#include "capture/line_assembly.h"
#include "capture/program_lines.h"
#include "capture/protocol_full.h"
#include "channels/font_entries.h"
#include "fakes/capture_rig.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

using fakes::CaptureRig;

void Fill(CaptureRig& rig, int entry, const std::string& bytes) {
    rig.state.Recording.Running = true;
    BeginAsciiLine(rig.ctx, entry);
    for (unsigned char b : bytes) AddAsciiByte(rig.ctx, entry, b);
    rig.state.Lines[static_cast<std::size_t>(entry)].Written = false;
}

TEST(WriteChannelLine, AppendsInTheEntryFontThenAppliesTheUserFont) {
    CaptureRig rig;
    rig.channels.Fonts[2].FontColor = 0x123456;
    rig.channels.Fonts[0].FontName = "UserFont";
    Fill(rig, 2, "abc");
    rig.clock.Advance(1.0);
    WriteChannelLine(rig.ctx, 2);
    ASSERT_EQ(rig.field.Lines.size(), 1u);
    EXPECT_EQ(rig.field.Lines[0].Text, "COM2: abc");
    EXPECT_EQ(rig.field.Lines[0].Attributes.Color, 0x123456);
    EXPECT_EQ(rig.field.Current, FontEntryAttributes(rig.channels.Fonts[0]));
    const LineRecord& line = rig.state.Lines[2];
    EXPECT_TRUE(line.Written);
    EXPECT_EQ(rig.state.Recording.LastChannel, 2);
    EXPECT_DOUBLE_EQ(line.LineDeadline, rig.clock.DateTimeNow + kLineTimeOutDays);
    EXPECT_EQ(rig.pump.Calls, 3);
}

TEST(WriteChannelLine, AnOpenLineIsReplacedInPlace) {
    CaptureRig rig;
    rig.field.AppendLine("earlier");
    Fill(rig, 1, "HEL");
    WriteChannelLine(rig.ctx, 1);
    rig.state.Lines[1].LineClosed = false;
    for (unsigned char b : std::string("LO")) AddAsciiByte(rig.ctx, 1, b);
    rig.state.Lines[1].Written = false;
    WriteChannelLine(rig.ctx, 1);
    EXPECT_EQ(rig.field.Texts(), (std::vector<std::string>{"earlier", "COM1: HELLO"}));
    EXPECT_EQ(rig.field.Deletes, 1);
}

TEST(WriteChannelLine, HexLinesAreWrittenInTheFormTheyWereBuiltIn) {
    CaptureRig rig;
    rig.options.ShowChannelId = false;
    rig.state.Recording.Running = true;
    BeginHexLine(rig.ctx, 1);
    AddHexByte(rig.ctx, 1, 'A');
    rig.options.LogMode = LogMode::Ascii;  // display switched meanwhile
    WriteChannelLine(rig.ctx, 1);
    EXPECT_EQ(rig.field.Lines.at(0).Text, "41" + std::string(50, ' ') + "A");
}

TEST(WriteChannelLine, RefusedLineReportsOnceAndStillCompletesTheBookkeeping) {
    CaptureRig rig;
    rig.state.Recording.Running = true;
    rig.state.StartButton.Down = true;
    rig.field.Capacity = 12;
    Fill(rig, 1, "0123456789");
    WriteChannelLine(rig.ctx, 1);
    EXPECT_TRUE(rig.state.Recording.ProtocolFull);
    EXPECT_FALSE(rig.state.Recording.Running);
    EXPECT_FALSE(rig.state.StartButton.Enabled);
    EXPECT_FALSE(rig.state.StartButton.Down);
    EXPECT_EQ(rig.state.StartButton.HintRow, kTextRecordingDisabled);
    EXPECT_TRUE(rig.state.Lines[1].Written);
    EXPECT_EQ(rig.state.Recording.LastChannel, 1);
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Calls, (std::vector<std::string>{"beep", "box"}));
    EXPECT_EQ(rig.messages.Beeps[0], MessageKind::Error);
    EXPECT_EQ(rig.messages.Boxes[0].Text,
              "The capacity of the protocol field is exhausted.\r"
              "(Save the protocol if you want to keep it, then clear it to go on recording.)");
    EXPECT_EQ(rig.messages.Boxes[0].Origin, rig.dialogOrigin);
    // A second refusal while the protocol is still full shows nothing more.
    Fill(rig, 2, "more");
    WriteChannelLine(rig.ctx, 2);
    AppendProtocolLine(rig.ctx, "program line");
    EXPECT_EQ(rig.messages.Boxes.size(), 1u);
}

TEST(WriteChannelLine, RefusalMessageInGerman) {
    CaptureRig rig;
    rig.options.Language = 2;
    rig.field.RefuseAtLine = 0;
    Fill(rig, 1, "x");
    WriteChannelLine(rig.ctx, 1);
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Boxes[0].Text.rfind("Die Kapazit", 0), 0u);
}

TEST(WriteChannelLine, RefusalMessageNamesTheFieldsLimitsInTheLocalesGrouping) {
    LocaleInfo german;
    german.ThousandSeparator = '.';
    const ProtocolField::Limits limits{4'000'000, 536'870'912};
    EXPECT_EQ(ProtocolFullText(limits, 1, LocaleInfo{}),
              "The capacity of the protocol field is exhausted.\r(It holds at most 4,000,000 lines or "
              "536,870,912 characters. Save the protocol if you want to keep it, then clear it to go on recording.)");
    const std::string text = ProtocolFullText(limits, 2, german);
    EXPECT_NE(text.find("4.000.000 Zeilen oder 536.870.912 Zeichen"), std::string::npos) << text;
    EXPECT_EQ(text.find("Windows"), std::string::npos) << text;
}

TEST(ProgramLines, StartAndStopLinesInTheMasterFont) {
    CaptureRig rig;
    rig.channels.Fonts[kMasterEntry].FontName = "Master";
    rig.clock.SetTimeOfDay(9 * 3600.0 + 8 * 60.0 + 7.0);
    WriteStartLine(rig.ctx);
    WriteStopLine(rig.ctx);
    ASSERT_EQ(rig.field.Lines.size(), 2u);
    EXPECT_EQ(rig.field.Lines[0].Text, "Start: 09:08:07");
    EXPECT_EQ(rig.field.Lines[1].Text, "Stop:  09:08:07");
    EXPECT_EQ(rig.field.Lines[0].Attributes.FontName, "Master");
    EXPECT_EQ(rig.field.Lines[1].Attributes.FontName, "Master");
    EXPECT_EQ(rig.field.Current, FontEntryAttributes(rig.channels.Fonts[kUserEntry]));
}

TEST(ProgramLines, StartLineTakesTheLocalesLongTimeFormat) {
    CaptureRig rig;
    rig.locale.LongTimeFormat = "HH.mm.ss";
    rig.clock.SetTimeOfDay(12 * 3600.0);
    WriteStartLine(rig.ctx);
    ASSERT_EQ(rig.field.Lines.size(), 1u);
    EXPECT_EQ(rig.field.Lines[0].Text, "Start: 12.00.00");
}

}  // namespace
}  // namespace kestrum
