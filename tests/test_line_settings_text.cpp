#include <gtest/gtest.h>

#include "channels/line_settings_text.h"

using namespace kestrum;

TEST(LineSettingsText, ParityRoundTripsAndUnknownLettersMeanNone) {
    for (int p = 0; p <= 4; ++p) EXPECT_EQ(TextToParity(ParityToText(p)), p);
    EXPECT_EQ(ParityToText(7), "N");
    EXPECT_EQ(TextToParity("even"), 2);
    EXPECT_EQ(TextToParity("e"), 2);
    EXPECT_EQ(TextToParity("space"), 4);
    EXPECT_EQ(TextToParity("Xodd"), 0);
    EXPECT_EQ(TextToParity(""), 0);
    EXPECT_EQ(TextToParity(" O"), 0);
}

TEST(LineSettingsText, StopBitsOnlyExactFormsCount) {
    for (int s = 0; s <= 2; ++s) EXPECT_EQ(TextToStopBits(StopBitsToText(s)), s);
    EXPECT_EQ(TextToStopBits("1,5"), 0);
    EXPECT_EQ(TextToStopBits(" 2"), 0);
    EXPECT_EQ(TextToStopBits("2.0"), 0);
    EXPECT_EQ(StopBitsToText(9), "1");
}
