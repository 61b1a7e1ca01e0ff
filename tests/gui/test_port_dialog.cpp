// The port configuration dialog with its real widgets, run modally the way
// the channel commands run it.
#include "channels/gui/port_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kestrum {
namespace {

struct ListedDevices : SerialDevices {
    std::vector<std::string> list{"/dev/null", "/dev/zero"};
    std::vector<std::string> ListPresentSerialDevices() override { return list; }
};

QComboBox* Box(QDialog& dialog, const char* name) { return dialog.findChild<QComboBox*>(name); }
QPushButton* Button(QDialog& dialog, QDialogButtonBox::StandardButton which) {
    return dialog.findChild<QDialogButtonBox*>()->button(which);
}

// Once the dialog is up, lets `act` work on it.
void WhenDialogShows(std::function<void(PortSettingsDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<PortSettingsDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            WhenDialogShows(act);
            return;
        }
        act(*dialog);
    });
}

CommConfig StartConfig() {
    CommConfig config;
    config.dcb.BaudRate = 19200;
    config.dcb.ByteSize = 7;
    config.dcb.Parity = 2;
    config.dcb.StopBits = 2;
    config.dcb.fParity = true;
    return config;
}

TEST(PortDialog, ShowsTheValuesAndReturnsWhatTheUserChose) {
    ListedDevices devices;
    Options options;
    QtPortDialog ports(nullptr, devices, options);
    std::string device = "/dev/null";
    CommConfig config = StartConfig();
    QString title;
    QStringList shown;
    QStringList listed;
    WhenDialogShows([&](PortSettingsDialog& dialog) {
        title = dialog.windowTitle();
        for (const char* name : {"DeviceBox", "BaudRateBox", "DataBitsBox", "ParityBox", "StopBitsBox"})
            shown << Box(dialog, name)->currentText();
        for (int i = 0; i < Box(dialog, "DeviceBox")->count(); ++i)
            listed << Box(dialog, "DeviceBox")->itemText(i);
        Box(dialog, "DeviceBox")->setCurrentIndex(1);
        Box(dialog, "BaudRateBox")->setEditText("250000");  // not in the list: typed
        Box(dialog, "DataBitsBox")->setCurrentText("5");
        Box(dialog, "ParityBox")->setCurrentText("Mark");
        Box(dialog, "StopBitsBox")->setCurrentText("1.5");
        Button(dialog, QDialogButtonBox::Ok)->click();
    });
    EXPECT_TRUE(ports.CommConfigDialog("COM3", device, config));
    EXPECT_EQ("Properties of COM3", title);
    EXPECT_EQ(QStringList({"/dev/null", "19200", "7", "Even", "2"}), shown);
    EXPECT_EQ(QStringList({"/dev/null", "/dev/zero"}), listed);
    EXPECT_EQ("/dev/zero", device);
    EXPECT_EQ(250000u, config.dcb.BaudRate);
    EXPECT_EQ(5, config.dcb.ByteSize);
    EXPECT_EQ(3, config.dcb.Parity);
    EXPECT_EQ(1, config.dcb.StopBits);
    EXPECT_TRUE(config.dcb.fParity) << "fields the dialog does not show stay";
}

TEST(PortDialog, CancelLeavesEverythingAsItWas) {
    ListedDevices devices;
    Options options;
    options.Language = 2;
    QtPortDialog ports(nullptr, devices, options);
    std::string device = "/dev/null";
    CommConfig config = StartConfig();
    QString title;
    WhenDialogShows([&](PortSettingsDialog& dialog) {
        title = dialog.windowTitle();
        Box(dialog, "DeviceBox")->setCurrentIndex(1);
        Box(dialog, "BaudRateBox")->setEditText("300");
        Box(dialog, "ParityBox")->setCurrentIndex(0);
        Button(dialog, QDialogButtonBox::Cancel)->click();
    });
    EXPECT_FALSE(ports.CommConfigDialog("COM1", device, config));
    EXPECT_EQ("Eigenschaften von COM1", title);
    EXPECT_EQ("/dev/null", device);
    EXPECT_EQ(StartConfig(), config);
}

TEST(PortDialog, OkWaitsForAUsableBaudRateAndAnExistingDevice) {
    PortSettingsDialog dialog("COM2", {"/dev/null"}, 1);
    dialog.SetValues("/dev/null", StartConfig().dcb);
    QPushButton* ok = Button(dialog, QDialogButtonBox::Ok);
    auto* state = dialog.findChild<QLabel*>("DeviceState");
    EXPECT_TRUE(ok->isEnabled());
    struct Case {
        const char* device;
        const char* baud;
        bool acceptable;
        bool deviceMissing;
    };
    const Case cases[] = {
        {"/dev/null", "0", false, false},
        {"/dev/null", "", false, false},
        {"/dev/null", "4294967296", false, false},
        {"/dev/null", "4294967295", true, false},
        {"/dev/null", "1", true, false},
        {"/dev/no-such-tty", "9600", false, true},
        {"", "9600", false, false},
        {" /dev/zero ", "9600", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.device << " " << c.baud);
        Box(dialog, "DeviceBox")->setEditText(c.device);
        Box(dialog, "BaudRateBox")->setEditText(c.baud);
        EXPECT_EQ(c.acceptable, dialog.Acceptable());
        EXPECT_EQ(c.acceptable, ok->isEnabled());
        EXPECT_EQ(c.deviceMissing, !state->text().isEmpty());
        std::string device = "unchanged";
        Dcb dcb;
        EXPECT_EQ(c.acceptable, dialog.GetValues(device, dcb));
        if (!c.acceptable) {
            EXPECT_EQ("unchanged", device);
        }
    }
    // Letters cannot be typed into the baud rate.
    Box(dialog, "BaudRateBox")->lineEdit()->clear();
    QTest::keyClicks(Box(dialog, "BaudRateBox")->lineEdit(), "96a0");
    EXPECT_EQ("960", Box(dialog, "BaudRateBox")->currentText());
}

TEST(PortDialog, AnUnusualSavedDataBitCountIsKeptWhenOnlyOkIsPressed) {
    PortSettingsDialog dialog("COM4", {}, 1);
    Dcb dcb = StartConfig().dcb;
    dcb.ByteSize = 9;
    dialog.SetValues("/dev/null", dcb);
    std::string device;
    Dcb back;
    ASSERT_TRUE(dialog.GetValues(device, back));
    EXPECT_EQ(9, back.ByteSize);
    EXPECT_EQ(dcb.BaudRate, back.BaudRate);
    EXPECT_EQ(dcb.Parity, back.Parity);
    EXPECT_EQ(dcb.StopBits, back.StopBits);
}

}  // namespace
}  // namespace kestrum
