#include <gtest/gtest.h>

#include "base/channel_table.h"

using namespace kestrum;

TEST(ChannelTable, DefaultsPerEntry) {
    ChannelTable table;
    EXPECT_EQ(table.EntryId(0), "User");
    EXPECT_EQ(table.EntryId(3), "COM3");
    EXPECT_EQ(table.EntryId(9), "MasterFont");
    EXPECT_EQ(table.Fonts[1].FontColor, 0x0000FF);
    EXPECT_EQ(table.Fonts[6].FontColor, 0x800000);
    EXPECT_EQ(table.Channels[8].BaudRate, 9600u);
}
