// Creation-time option corrections, mode controls and the key rules.
#include <gtest/gtest.h>

#include "app/window_creation.h"

namespace kestrum {
namespace {

TEST(WindowCreation, OptionsBroughtIntoRange) {
    Options options;
    options.Monitor.OpenDialogFilterIndex = 0;
    options.Monitor.SaveDialogFilterIndex = 9;
    options.Sender.OpenDialogFilterIndex = -3;
    options.PrinterOrientation = 5;
    options.Language = 7;
    options.MonitorMode = false;
    options.Sender.ProtocolDirectory = "/kept";
    options.Sender.ProtocolDirectoryPresent = true;
    NormaliseOptionsAtCreation(options, "/start");
    EXPECT_EQ(options.Monitor.OpenDialogFilterIndex, 1);
    EXPECT_EQ(options.Monitor.SaveDialogFilterIndex, 3);
    EXPECT_EQ(options.Sender.OpenDialogFilterIndex, 1);
    EXPECT_EQ(options.PrinterOrientation, 1);
    EXPECT_EQ(options.Language, 1);
    EXPECT_TRUE(options.SenderMode);
    EXPECT_EQ(options.Monitor.ProtocolDirectory, "/start");
    EXPECT_EQ(options.Sender.ProtocolDirectory, "/kept");
    EXPECT_EQ(DefaultProtocolFileTitle(options), "Test.RTF");  // sender mode, save filter 1
    options.Sender.SaveDialogFilterIndex = 2;
    EXPECT_EQ(DefaultProtocolFileTitle(options), "Test.TXT");
    options.MonitorMode = true;
    EXPECT_EQ(DefaultProtocolFileTitle(options), "Test");  // monitor mode, save filter 3
}

TEST(WindowCreation, ModeControls) {
    MainView view;
    Options options;
    options.LogMode = LogMode::Hex;
    options.Synchronize = true;
    SetUpModeControls(view, options, {1, true});
    EXPECT_TRUE(view.Monitor.Down);
    EXPECT_TRUE(view.Trigger.Visible);
    EXPECT_FALSE(view.Sync.Visible);
    EXPECT_FALSE(view.TxTimeInterval.Visible);
    EXPECT_TRUE(view.Hex.Down);
    EXPECT_FALSE(view.Asc.Down);
    EXPECT_FALSE(view.Sync.Down);  // the master never synchronises
    EXPECT_FALSE(view.Sync.Enabled);
    EXPECT_EQ(view.ChannelButtons[5].GroupIndex, 5);

    options.MonitorMode = false;
    SetUpModeControls(view, options, {2, false});
    EXPECT_TRUE(view.Sender.Down);
    EXPECT_FALSE(view.Trigger.Visible);
    EXPECT_TRUE(view.Sync.Visible);
    EXPECT_TRUE(view.Sync.Down);
    EXPECT_TRUE(view.Sync.Enabled);
    EXPECT_EQ(view.TxTimeInterval.Caption, "1000");
    EXPECT_EQ(view.ChannelButtons[5].GroupIndex, 1);
}

TEST(WindowCreation, CtrlDigitOpensTheSendDialogOnlyWhenAllHolds) {
    Options options;
    ChannelTable channels;
    channels.Channels[3].Active = true;
    EXPECT_EQ(ChannelSendShortcut(true, 3, options, channels, true), 3);
    EXPECT_EQ(ChannelSendShortcut(false, 3, options, channels, true), 0);  // other modifiers too
    EXPECT_EQ(ChannelSendShortcut(true, 3, options, channels, false), 0);  // not recording
    EXPECT_EQ(ChannelSendShortcut(true, 2, options, channels, true), 0);   // inactive channel
    EXPECT_EQ(ChannelSendShortcut(true, 9, options, channels, true), 0);
    EXPECT_EQ(ChannelSendShortcut(true, 0, options, channels, true), 0);
    options.MonitorMode = false;
    EXPECT_EQ(ChannelSendShortcut(true, 3, options, channels, true), 0);  // sender mode
}

}  // namespace
}  // namespace kestrum
