#include <gtest/gtest.h>

#include "settings/line_settings_text.h"

using namespace kestrum;

TEST(LineSettingsText, ParityRoundTripsAndUnknownLettersMeanNone) {
    for (Parity p : {Parity::None, Parity::Odd, Parity::Even, Parity::Mark, Parity::Space})
        EXPECT_EQ(TextToParity(ParityToText(p)), p);
    EXPECT_EQ(ParityToText(static_cast<Parity>(7)), "N");
    EXPECT_EQ(TextToParity("even"), Parity::Even);
    EXPECT_EQ(TextToParity("e"), Parity::Even);
    EXPECT_EQ(TextToParity("space"), Parity::Space);
    EXPECT_EQ(TextToParity("Xodd"), Parity::None);
    EXPECT_EQ(TextToParity(""), Parity::None);
    EXPECT_EQ(TextToParity(" O"), Parity::None);
}

TEST(LineSettingsText, StopBitsOnlyExactFormsCount) {
    for (StopBits s : {StopBits::One, StopBits::OneAndHalf, StopBits::Two})
        EXPECT_EQ(TextToStopBits(StopBitsToText(s)), s);
    EXPECT_EQ(TextToStopBits("1,5"), StopBits::One);
    EXPECT_EQ(TextToStopBits(" 2"), StopBits::One);
    EXPECT_EQ(TextToStopBits("2.0"), StopBits::One);
    EXPECT_EQ(StopBitsToText(static_cast<StopBits>(9)), "1");
}
