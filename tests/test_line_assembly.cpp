#include <gtest/gtest.h>

#include "capture/channel_line_writer.h"
#include "capture/line_assembly.h"
#include "fakes/capture_rig.h"

namespace kestrum {
namespace {

using fakes::CaptureRig;

std::string AsciiLine(CaptureRig& rig, int entry, const std::string& bytes) {
    rig.state.Recording.Running = true;
    BeginAsciiLine(rig.ctx, entry);
    for (unsigned char b : bytes) AddAsciiByte(rig.ctx, entry, b);
    std::string text;
    ComposeChannelLine(rig.ctx, entry, text);
    return text;
}

std::string HexLine(CaptureRig& rig, int entry, const std::string& bytes) {
    rig.state.Recording.Running = true;
    BeginHexLine(rig.ctx, entry);
    for (unsigned char b : bytes) AddHexByte(rig.ctx, entry, b);
    std::string text;
    ComposeChannelLine(rig.ctx, entry, text);
    return text;
}

TEST(LineAssembly, AsciiPrefixHasTimeTagThenChannelId) {
    CaptureRig rig;
    rig.options.ShowTimeTags = true;
    rig.state.Lines[1].ByteTime = 2.5;
    EXPECT_EQ(AsciiLine(rig, 1, "text"), "2.500000  COM1: text");
    rig.options.ShowChannelId = false;
    EXPECT_EQ(AsciiLine(rig, 1, "text"), "2.500000  text");
    rig.options.ShowTimeTags = false;
    EXPECT_EQ(AsciiLine(rig, 1, "text"), "text");
}

TEST(LineAssembly, UserEntryUsesTheUserName) {
    CaptureRig rig;
    EXPECT_EQ(ChannelIdPrefix(rig.channels, 0), "User: ");
    EXPECT_EQ(AsciiLine(rig, 0, "hi"), "User: hi");
}

TEST(LineAssembly, AsciiCrAndLfMarkers) {
    CaptureRig rig;
    rig.options.ShowCrChar = true;
    rig.options.ShowLfChar = true;
    EXPECT_EQ(AsciiLine(rig, 1, "AB\r\n"), "COM1: AB<CR><LF>");
    rig.options.ShowCrChar = false;
    rig.options.ShowLfChar = false;
    EXPECT_EQ(AsciiLine(rig, 1, "AB\r\n"), "COM1: AB");
}

TEST(LineAssembly, AsciiNulShownAsByteOneOtherControlBytesUnchanged) {
    CaptureRig rig;
    EXPECT_EQ(AsciiLine(rig, 1, std::string("A\0B\x07", 4)), "COM1: A\x01" "B\x07");
}

TEST(LineAssembly, AsciiBytesAreDroppedWhenNotRunningButMarkersStay) {
    CaptureRig rig;
    BeginAsciiLine(rig.ctx, 1);
    rig.state.Recording.Running = false;
    for (unsigned char b : std::string("xy\r")) AddAsciiByte(rig.ctx, 1, b);
    EXPECT_EQ(rig.state.Lines[1].LineText.view(), "COM1: <CR>");
}

TEST(LineAssembly, AsciiLineIsCutAt255Characters) {
    CaptureRig rig;
    rig.options.ShowCrChar = true;
    const std::string text = AsciiLine(rig, 1, std::string(247, 'x') + "\r");
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(text.size() - 3), "x<C");
}

TEST(LineAssembly, HexLineOfFourBytes) {
    CaptureRig rig;
    const std::string column = "41 42 0D 0A " + std::string(52 - 12, ' ');
    EXPECT_EQ(HexLine(rig, 1, "AB\r\n"), "COM1: " + column + "AB\x01\x01");
}

TEST(LineAssembly, HexNulIsDigitsZeroAndByteOne) {
    CaptureRig rig;
    rig.options.ShowChannelId = false;
    EXPECT_EQ(HexLine(rig, 1, std::string(1, '\0')), "00" + std::string(50, ' ') + "\x01");
}

TEST(LineAssembly, HexGroupSeparatorOnlyOnceTheSecondGroupHasBegun) {
    CaptureRig rig;
    rig.options.ShowChannelId = false;
    const std::string eight = HexLine(rig, 1, "01234567");
    EXPECT_EQ(eight.substr(0, 26), "30 31 32 33 34 35 36 37   ");
    const std::string nine = HexLine(rig, 1, "012345678");
    EXPECT_EQ(nine.substr(0, 29), "30 31 32 33 34 35 36 37 - 38 ");
    EXPECT_EQ(nine.substr(52), "012345678");
}

TEST(LineAssembly, HexWidthsForOtherByteCounts) {
    struct Case {
        int Count;
        std::string Bytes;
        std::string Expected;
    };
    const Case cases[] = {
        {8, "ABCDEFGH", "41 42 43 44 45 46 47 48   ABCDEFGH"},
        {1, "A", "41   A"},
    };
    for (const Case& c : cases) {
        CaptureRig rig;
        rig.options.ShowChannelId = false;
        rig.options.HexLineByteCount = c.Count;
        SetHexLineWidth(rig.state.Layout, rig.options);
        EXPECT_EQ(HexLine(rig, 1, c.Bytes), c.Expected) << c.Count;
    }
}

TEST(LineAssembly, HexLineOf200BytesKeepsEveryDigit) {
    CaptureRig rig;
    rig.options.ShowChannelId = false;
    rig.options.HexLineByteCount = 200;
    SetHexLineWidth(rig.state.Layout, rig.options);
    std::string bytes;
    for (int i = 0; i < 200; ++i) bytes += static_cast<char>(0x20 + i % 90);
    const std::string line = HexLine(rig, 1, bytes);
    ASSERT_EQ(line.size(), 650u + 200u);
    for (int k = 1; k <= 200; ++k) {
        const std::size_t p = static_cast<std::size_t>(3 * (k - 1) + 2 * ((k - 1) / 8));
        const unsigned b = static_cast<unsigned char>(bytes[static_cast<std::size_t>(k - 1)]);
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", b);
        ASSERT_EQ(line.substr(p, 2), digits) << "byte " << k;
    }
    EXPECT_EQ(line.substr(650), bytes);
    EXPECT_EQ(line[26 * 24 - 2], '-');  // separator before byte 193
}

TEST(LineAssembly, HexCountRaisedWhileTheLineIsOpenWidensTheColumn) {
    CaptureRig rig;
    rig.options.ShowChannelId = false;
    rig.options.HexLineByteCount = 2;
    SetHexLineWidth(rig.state.Layout, rig.options);
    rig.state.Recording.Running = true;
    BeginHexLine(rig.ctx, 1);
    for (unsigned char b : std::string("ABCD")) AddHexByte(rig.ctx, 1, b);
    std::string text;
    ComposeChannelLine(rig.ctx, 1, text);
    EXPECT_EQ(text, "41 42 43 44   ABCD");
}

}  // namespace
}  // namespace kestrum
