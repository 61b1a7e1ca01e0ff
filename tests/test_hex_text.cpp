#include <gtest/gtest.h>

#include <random>

#include "fakes/recording_message_boxes.h"
#include "settings/hex_text_messages.h"

using namespace kestrum;

namespace {

constexpr ScreenPoint kOrigin{123, 45};

struct ParseCase {
    const char* Text;
    std::string Bytes;
};

}  // namespace

TEST(HexTextToBytes, AcceptedFormsConvert) {
    const ParseCase cases[] = {
        {"41 42 43", "ABC"},
        {"41-42-43", "ABC"},
        {"$41 $42 $43", "ABC"},
        {"0x41 0x42 0x43", "ABC"},
        {"0X41 0X42 0X43", "ABC"},
        {"41h 42h 43h", "ABC"},
        {"41H 42H 43H", "ABC"},
        {"  \t41\t42   43 \r\n", "ABC"},
        {"41 - 42 -- 43", "ABC"},
        {"1 2 3", "\x01\x02\x03"},
        {"a", "\x0A"},
        {"ff 00 7f", std::string("\xFF\x00\x7F", 3)},
        {"0000041", "A"},
        {"30 31 32 33 34 35 36 37 - 38 39", "0123456789"},
        {"", ""},
        {"   ", ""},
        {"$$$", ""},
        {"hHh", ""},
        {"- - -", ""},
        {"0x", ""},
    };
    for (const auto& c : cases) {
        RecordingMessageBoxes boxes;
        std::string bytes = "stale";
        EXPECT_TRUE(HexTextToBytes(c.Text, bytes, {&boxes, kOrigin})) << c.Text;
        EXPECT_EQ(bytes, c.Bytes) << c.Text;
        EXPECT_TRUE(boxes.Calls.empty()) << c.Text;
    }
}

TEST(HexTextToBytes, InvalidDigitFailsWithCleanedTextAtOrigin) {
    const struct {
        const char* Text;
        const char* Cleaned;
    } cases[] = {
        {"0x1f, 20", "1F, 20"},
        {" 41 4g ", "41 4G"},
        {"41\t-\t42 Z", "41 42 Z"},
        {"41\r42", "41\r42"},
        {"00XX", "0X"},  // one pass removes "0X" once only
    };
    for (const auto& c : cases) {
        RecordingMessageBoxes boxes;
        std::string bytes = "stale";
        EXPECT_FALSE(HexTextToBytes(c.Text, bytes, {&boxes, kOrigin})) << c.Text;
        EXPECT_TRUE(bytes.empty());
        ASSERT_EQ(boxes.Calls, (std::vector<std::string>{"beep", "box"})) << c.Text;
        EXPECT_EQ(boxes.Beeps[0], MessageKind::Error);
        EXPECT_EQ(boxes.Boxes[0].Kind, MessageKind::Error);
        EXPECT_EQ(boxes.Boxes[0].Buttons, MessageButtons::Ok);
        EXPECT_EQ(boxes.Boxes[0].Origin, kOrigin);
        EXPECT_EQ(boxes.Boxes[0].Text,
                  std::string("The input contains an invalid hex cipher:\r\r") + c.Cleaned);
    }
}

TEST(HexTextToBytes, TokenAboveFfFailsAndDropsEarlierBytes) {
    for (const char* text : {"100", "41 42 ABCD", "41 FFFFFFFFFFFFFFFF", "80000000", "1FF 41"}) {
        RecordingMessageBoxes boxes;
        std::string bytes;
        EXPECT_FALSE(HexTextToBytes(text, bytes, {&boxes, kOrigin})) << text;
        EXPECT_TRUE(bytes.empty()) << text;
        ASSERT_EQ(boxes.Calls, (std::vector<std::string>{"beep", "box"})) << text;
        EXPECT_EQ(boxes.Boxes[0].Text, "The input contains a hex number > FF.");
        EXPECT_EQ(boxes.Boxes[0].Origin, kOrigin);
    }
}

TEST(HexTextToBytes, GermanMessages) {
    RecordingMessageBoxes boxes;
    std::string bytes;
    HexTextMessages german{&boxes, kOrigin, 2};
    EXPECT_FALSE(HexTextToBytes("4x", bytes, german));
    EXPECT_FALSE(HexTextToBytes("100", bytes, german));
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Die Eingabe enth\xE4lt eine unzul\xE4ssige Hex-Ziffer:\r\r4X");
    EXPECT_EQ(boxes.Boxes[1].Text, "Die Eingabe enth\xE4lt eine Hex-Zahl > FF.");
}

TEST(HexTextToBytes, MessagesOffShowNothing) {
    std::string bytes = "stale";
    EXPECT_FALSE(HexTextToBytes("0x1f, 20", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(HexTextToBytes("100", bytes, HexTextMessages{}));
    EXPECT_TRUE(bytes.empty());
}

TEST(BytesToHexText, LayoutTrimAndPad) {
    EXPECT_EQ(BytesToHexText("0123456789", 16, false), "30 31 32 33 34 35 36 37 - 38 39");
    EXPECT_EQ(BytesToHexText("01234567", 16, false), "30 31 32 33 34 35 36 37");
    EXPECT_EQ(BytesToHexText(std::string("\x00\xFF\x0a", 3), 16, false), "00 FF 0A");
    EXPECT_EQ(BytesToHexText("", 16, false), "");
    EXPECT_EQ(BytesToHexText(std::string(17, 'A'), 17, false),
              "41 41 41 41 41 41 41 41 - 41 41 41 41 41 41 41 41 - 41");

    // Padded width is that of the maximum plus two blanks, whatever the count.
    EXPECT_EQ(PaddedHexTextWidth(16), 52);
    EXPECT_EQ(PaddedHexTextWidth(8), 26);
    EXPECT_EQ(PaddedHexTextWidth(1), 5);
    EXPECT_EQ(PaddedHexTextWidth(0), 2);
    for (std::size_t n : {0u, 1u, 8u, 9u, 16u}) {
        const std::string text = BytesToHexText(std::string(n, 'A'), 16, true);
        EXPECT_EQ(text.size(), 52u) << n;
        EXPECT_EQ(text.substr(0, BytesToHexText(std::string(n, 'A'), 16, false).size()),
                  BytesToHexText(std::string(n, 'A'), 16, false));
    }
    EXPECT_EQ(BytesToHexText("AB", 2, true), "41 42   ");
}

TEST(BytesToHexText, TooManyBytesGiveTheErrorText) {
    EXPECT_EQ(BytesToHexText(std::string(17, 'x'), 16, false),
              "Error: The ASCII string contains more than 16 characters.");
    EXPECT_EQ(BytesToHexText(std::string(17, 'x'), 16, true),
              "Error: The ASCII string contains more than 16 characters.");
    EXPECT_EQ(BytesToHexText("x", 0, false, 2),
              "Fehler: Der Ascii-String enth\xE4lt mehr als 0 Zeichen.");
    EXPECT_EQ(BytesToHexText(std::string(16, 'x'), 16, false).substr(0, 2), "78");
}

TEST(HexText, RandomRoundTrips) {
    std::mt19937 rng(20240611u);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 500; ++round) {
        std::string bytes(static_cast<std::size_t>(length(rng)), '\0');
        for (char& b : bytes) b = static_cast<char>(byte(rng));
        const bool pad = round % 2 == 0;
        const std::string text = BytesToHexText(bytes, 40, pad);
        std::string back;
        ASSERT_TRUE(HexTextToBytes(text, back)) << text;
        ASSERT_EQ(back, bytes) << text;
    }
}
