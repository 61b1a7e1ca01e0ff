// The trigger word dialog: ASCII and hex entry, the 16-byte limit with its
// messages and the asking again, bad hex text, Cancel, and words that a
// one-line text box cannot hold as characters.
#include <gtest/gtest.h>

#include "channels/port_operations.h"
#include "channels/trigger_fields.h"
#include "channels/trigger_word_dialog.h"
#include "fakes/fake_channel_dialogs.h"
#include "fakes/fake_protocol_field.h"
#include "fakes/fake_serial_ports.h"
#include "fakes/recording_message_boxes.h"

namespace kestrum {
namespace {

struct TriggerWordTest : ::testing::Test {
    Options options;
    ChannelTable channels;
    MainView view;
    fakes::FakeSerialPorts ports;
    RecordingMessageBoxes messages;
    fakes::FakeProtocolField field;
    ScreenPoint origin{12, 34};
    std::string exeBaseName = "kestrum";
    bool running = false;
    ChannelMenuState menuState;
    fakes::ScriptedInputBox input;
    ChannelCommandContext context{options,     channels, view,      ports,   messages, field, origin,
                                  exeBaseName, running,  menuState, nullptr, nullptr,  &input};
    ChannelRecord& com1 = channels.Channels[1];

    TriggerWordTest() {
        ports.Port("COM1");
        com1.Device = "/dev/ttyX1";
        OpenPortsAtStartup(channels, options, ports);
        OpenPort(channels, 1, ports);  // Available
        com1.Active = true;
        com1.TriggerWord = "4F 4B";
        LoadTriggerWord(com1);
        com1.TriggerEnabled = true;
    }
    void Run(std::initializer_list<std::optional<std::string>> answers) {
        input.Answers.assign(answers.begin(), answers.end());
        TriggerWordDialog(context, 1);
    }
};

TEST_F(TriggerWordTest, AsciiWordsUpToSixteenCharacters) {
    Run({std::string("0123456789ABCDEFG"), std::string("0123456789ABCDEF")});
    ASSERT_EQ(2u, input.Asked.size());
    EXPECT_EQ(" kestrum", input.Asked[0].Caption);
    EXPECT_EQ("Trigger word  (sequence of ASCII characters)\rfor COM1:", input.Asked[0].Prompt);
    EXPECT_EQ("OK", input.Asked[0].Text);
    EXPECT_EQ("0123456789ABCDEFG", input.Asked[1].Text) << "asked again with the text as typed";
    ASSERT_EQ(1u, messages.Boxes.size());
    EXPECT_EQ("The trigger word must not be longer than 16 characters.", messages.Boxes[0].Text);
    EXPECT_EQ(origin, messages.Boxes[0].Origin);
    EXPECT_EQ((std::vector<std::string>{"beep", "box"}), messages.Calls);
    EXPECT_EQ("0123456789ABCDEF", com1.TriggerBytes);
    EXPECT_EQ(16, com1.TriggerLength);
    EXPECT_EQ("30 31 32 33 34 35 36 37 - 38 39 41 42 43 44 45 46", com1.TriggerWord);
    EXPECT_TRUE(com1.TriggerEnabled) << "a word does not switch the trigger by itself";
}

TEST_F(TriggerWordTest, TooLongThenCancelKeepsTheOldWord) {
    options.Language = 2;
    Run({std::string(17, 'x'), std::nullopt});
    EXPECT_EQ("Trigger-Wort  (Ascii-Zeichenfolge)\rf\xFCr COM1:", input.Asked[0].Prompt);
    EXPECT_EQ("Das Trigger-Wort darf maximal 16 Zeichen lang sein.", messages.Boxes.at(0).Text);
    EXPECT_EQ("OK", com1.TriggerBytes);
    EXPECT_EQ(2, com1.TriggerLength);
    EXPECT_EQ("4F 4B", com1.TriggerWord);
    EXPECT_TRUE(com1.TriggerEnabled);
}

TEST_F(TriggerWordTest, HexWords) {
    struct Case {
        const char* Name;
        std::vector<std::optional<std::string>> Answers;
        std::vector<std::string> Boxes;
        std::string Bytes;
    };
    const std::string seventeen = "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11";
    const Case cases[] = {
        {"two bytes", {"0d 0a"}, {}, "\r\n"},
        {"sixteen bytes",
         {"01 02 03 04 05 06 07 08 - 09 0A 0B 0C 0D 0E 0F 10"},
         {},
         "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10"},
        {"seventeen, then two", {seventeen, "41 42"}, {"The trigger word must not be longer than 16 bytes."}, "AB"},
        {"a G", {"41 G2"}, {"The input contains an invalid hex cipher:\r\r41 G2"}, "OK"},
        {"above FF", {"141"}, {"The input contains a hex number > FF."}, "OK"},
        {"cancelled", {std::nullopt}, {}, "OK"},
    };
    options.LogMode = LogMode::Hex;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        com1.TriggerWord = "4F 4B";
        LoadTriggerWord(com1);
        input.Asked.clear();
        messages.Boxes.clear();
        input.Answers.assign(c.Answers.begin(), c.Answers.end());
        TriggerWordDialog(context, 1);
        EXPECT_EQ("Trigger word  (sequence of hex numbers)\rfor COM1:", input.Asked.at(0).Prompt);
        EXPECT_EQ("4F 4B", input.Asked.at(0).Text);
        std::vector<std::string> boxes;
        for (const auto& box : messages.Boxes) boxes.push_back(box.Text);
        EXPECT_EQ(c.Boxes, boxes);
        EXPECT_EQ(c.Bytes, com1.TriggerBytes);
        EXPECT_EQ(static_cast<int>(c.Bytes.size()), com1.TriggerLength);
        if (c.Answers.size() > 1)
            EXPECT_EQ(*c.Answers[0], input.Asked.at(1).Text) << "asked again as typed";
        else
            EXPECT_EQ(1u, input.Asked.size());
    }
}

TEST_F(TriggerWordTest, AnEmptyWordSwitchesTheTriggerOff) {
    ASSERT_TRUE(com1.TriggerEnabled);
    view.ChannelButton(1).Underline = true;
    Run({std::string()});
    EXPECT_EQ(0, com1.TriggerLength);
    EXPECT_EQ("", com1.TriggerWord);
    EXPECT_FALSE(com1.TriggerEnabled);
    EXPECT_FALSE(view.ChannelButton(1).Underline);
}

TEST_F(TriggerWordTest, AWordWithControlBytesIsShownInHexSoThatOkKeepsIt) {
    com1.TriggerWord = "00 41 0D 0A";
    LoadTriggerWord(com1);
    options.LogMode = LogMode::Ascii;
    Run({std::string("00 41 0D 0A")});  // accepted as shown
    EXPECT_EQ("Trigger word  (sequence of hex numbers)\rfor COM1:", input.Asked.at(0).Prompt);
    EXPECT_EQ("00 41 0D 0A", input.Asked.at(0).Text);
    EXPECT_EQ(std::string("\0A\r\n", 4), com1.TriggerBytes);
    EXPECT_TRUE(NeedsHexForm(std::string("A\x1F", 2)));
    EXPECT_FALSE(NeedsHexForm("A \x7F\xB6"));
}

TEST_F(TriggerWordTest, OnlyForAnInstalledAndAvailableChannel) {
    com1.Available = false;
    Run({std::string("X")});
    EXPECT_TRUE(input.Asked.empty());
    TriggerWordDialog(context, 0);
    TriggerWordDialog(context, 9);
    EXPECT_TRUE(input.Asked.empty());
    EXPECT_EQ("OK", com1.TriggerBytes);
}

}  // namespace
}  // namespace kestrum
