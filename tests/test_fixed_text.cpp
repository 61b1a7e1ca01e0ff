#include <gtest/gtest.h>

#include "capture/fixed_text.h"

namespace kestrum {
namespace {

TEST(FixedText, EverythingPastTheCapacityIsCutOff) {
    FixedText<8> text;
    text.append("abcdef");
    text.append("ghij");
    EXPECT_EQ(text.view(), "abcdefgh");
    text.push_back('x');
    EXPECT_EQ(text.size(), 8u);

    text.assign("wxyz");
    text.prepend("12345");  // 9 characters: the tail goes
    EXPECT_EQ(text.view(), "12345wxy");
    text.prepend("0123456789");  // longer than the capacity on its own
    EXPECT_EQ(text.view(), "01234567");

    text.assign("ab");
    text.resize(5, '.');
    EXPECT_EQ(text.view(), "ab...");
    text.resize(100);
    EXPECT_EQ(text.size(), 8u);
    text.resize(1);
    EXPECT_EQ(text.view(), "a");
}

TEST(FixedText, OverwriteGrowsWithinTheCapacity) {
    FixedText<8> text;
    text.assign("      ");
    text.overwrite(0, "12");
    EXPECT_EQ(text.view(), "12    ");
    text.overwrite(4, "3456");
    EXPECT_EQ(text.view(), "12  3456");
    text.overwrite(6, "789");
    EXPECT_EQ(text.view(), "12  3478");
    text.overwrite(9, "x");  // past the capacity: nothing
    EXPECT_EQ(text.view(), "12  3478");
}

}  // namespace
}  // namespace kestrum
