#include <gtest/gtest.h>

#include "capture/line_layout.h"
#include "fakes/fake_protocol_field.h"

namespace kestrum {
namespace {

TEST(HexLineWidth, FollowsTheByteCount) {
    struct Case {
        int Bytes;
        int Width;
    };
    for (const Case c : {Case{16, 52}, Case{8, 26}, Case{1, 5}, Case{9, 31}, Case{78, 254},
                         Case{200, 650}, Case{255, 829}}) {
        EXPECT_EQ(HexLineWidthFor(c.Bytes), c.Width) << c.Bytes << " bytes";
        Options options;
        options.HexLineByteCount = c.Bytes;
        LineLayout layout;
        SetHexLineWidth(layout, options);
        EXPECT_EQ(layout.HexLineWidth, c.Width);
        EXPECT_EQ(layout.HexBlankLine, std::string(static_cast<std::size_t>(c.Width), ' '));
    }
}

TEST(HexLineWidth, OutOfRangeCountsAreBroughtIntoRange) {
    EXPECT_EQ(HexLineWidthFor(0), 5);
    EXPECT_EQ(HexLineWidthFor(-7), 5);
    EXPECT_EQ(HexLineWidthFor(1000), 829);
}

TEST(MaxLineLength, FollowsTheFieldWidthWithLineWrap) {
    EXPECT_EQ(MaxLineLengthFor(true, 621, 20), 50);
    EXPECT_EQ(MaxLineLengthFor(false, 621, 20), 255);
    EXPECT_EQ(MaxLineLengthFor(true, 5000, 10), 255);  // capped
    EXPECT_EQ(MaxLineLengthFor(true, 621, 0), 255);    // no usable font height
    EXPECT_EQ(MaxLineLengthFor(true, 21, 20), 0);
}

TEST(MaxLineLength, UsesTheUserFontOnTheField) {
    Options options;
    ChannelTable channels;
    fakes::FakeProtocolField field;
    field.Width = 621;
    field.Ppi = 96;
    channels.Fonts[kUserEntry].FontSize = 15;  // 15 pt at 96 ppi: 20 pixels
    LineLayout layout;
    options.LineWrap = true;
    UpdateMaxLineLength(layout, options, channels, field);
    EXPECT_EQ(layout.MaxLineLength, 50);
    options.LineWrap = false;
    UpdateMaxLineLength(layout, options, channels, field);
    EXPECT_EQ(layout.MaxLineLength, 255);
}

TEST(FontPixelHeight, RoundsToTheNearestPixel) {
    EXPECT_EQ(FontPixelHeight(15, 96), 20);
    EXPECT_EQ(FontPixelHeight(11, 96), 15);  // 14.67
    EXPECT_EQ(FontPixelHeight(10, 96), 13);  // 13.33
    EXPECT_EQ(FontPixelHeight(9, 120), 15);
}

}  // namespace
}  // namespace kestrum
