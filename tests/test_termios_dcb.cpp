// Translation between DCB line settings and the kernel termios of a tty.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/linux/termios_dcb.h"

namespace kestrum::linux_tty {
namespace {

termios2 CookedTty() {
    termios2 tty{};
    tty.c_iflag = ICRNL | IXON | IXOFF | INPCK | ISTRIP;
    tty.c_oflag = OPOST | ONLCR;
    tty.c_cflag = B38400 | CS7 | PARENB | CRTSCTS | HUPCL;
    tty.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    tty.c_cc[VMIN] = 1;
    tty.c_cc[VTIME] = 5;
    tty.c_ospeed = tty.c_ispeed = 38400;
    return tty;
}

TEST(TermiosDcb, LineSettingsBecomeControlFlags) {
    struct Case {
        std::uint8_t byteSize, parity, stopBits;
        tcflag_t cflag;  // CSIZE | PARENB | PARODD | CMSPAR | CSTOPB
    };
    const Case cases[] = {
        {8, 0, 0, CS8},
        {7, 2, 0, CS7 | PARENB},
        {8, 1, 2, CS8 | PARENB | PARODD | CSTOPB},
        {5, 3, 1, CS5 | PARENB | PARODD | CMSPAR | CSTOPB},
        {6, 4, 0, CS6 | PARENB | CMSPAR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.byteSize) << "/" << int(c.parity) << "/"
                                        << int(c.stopBits));
        termios2 tty = CookedTty();
        Dcb dcb;
        dcb.ByteSize = c.byteSize;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stopBits;
        ASSERT_TRUE(DcbToTermios(dcb, tty));
        EXPECT_EQ(c.cflag, tty.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB));
        EXPECT_EQ(0u, tty.c_cflag & CRTSCTS);
        EXPECT_EQ(static_cast<tcflag_t>(CLOCAL | CREAD), tty.c_cflag & (CLOCAL | CREAD));
        EXPECT_EQ(0u, tty.c_iflag & (ICRNL | IXON | IXOFF | INPCK | ISTRIP));
        EXPECT_EQ(0u, tty.c_oflag & OPOST);
        EXPECT_EQ(0u, tty.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
        EXPECT_EQ(0, tty.c_cc[VMIN]);
        EXPECT_EQ(0, tty.c_cc[VTIME]);
        EXPECT_EQ(static_cast<tcflag_t>(HUPCL), tty.c_cflag & HUPCL) << "unlisted bits stay";

        Dcb back;
        TermiosToDcb(tty, back);
        EXPECT_EQ(c.byteSize, back.ByteSize);
        EXPECT_EQ(c.parity, back.Parity);
        EXPECT_EQ(c.stopBits == 0 ? 0 : 2, back.StopBits);
        EXPECT_TRUE(back.fBinary);
    }
}

TEST(TermiosDcb, StandardRatesUseTheirCodeOthersTheFreeSpeed) {
    struct Case {
        std::uint32_t baud;
        tcflag_t code;
    };
    const Case cases[] = {{9600, B9600}, {50, B50}, {4000000, B4000000}, {250000, BOTHER},
                          {9601, BOTHER}, {1, BOTHER}, {0xFFFFFFFFu, BOTHER}};
    for (const Case& c : cases) {
        termios2 tty = CookedTty();
        Dcb dcb;
        dcb.BaudRate = c.baud;
        ASSERT_TRUE(DcbToTermios(dcb, tty)) << c.baud;
        EXPECT_EQ(c.code, tty.c_cflag & CBAUD) << c.baud;
        EXPECT_EQ(0u, tty.c_cflag & (CBAUD << IBSHIFT)) << "input speed follows output";
        EXPECT_EQ(c.baud, tty.c_ospeed);
        EXPECT_EQ(c.baud, tty.c_ispeed);
        Dcb back;
        TermiosToDcb(tty, back);
        EXPECT_EQ(c.baud, back.BaudRate);
    }
}

TEST(TermiosDcb, ValuesALineCannotHaveLeaveTheTtyAlone) {
    const Dcb bad[] = {{.BaudRate = 0}, {.ByteSize = 4}, {.ByteSize = 9}, {.ByteSize = 255},
                       {.Parity = 5},   {.StopBits = 3}};
    for (const Dcb& dcb : bad) {
        termios2 tty = CookedTty();
        EXPECT_FALSE(DcbToTermios(dcb, tty));
        const termios2 untouched = CookedTty();
        EXPECT_EQ(0, std::memcmp(&tty, &untouched, sizeof tty));
    }
}

TEST(TermiosDcb, ACookedTtyReadsAsNotBinaryWithItsFlowControl) {
    Dcb dcb;
    TermiosToDcb(CookedTty(), dcb);
    EXPECT_FALSE(dcb.fBinary);
    EXPECT_TRUE(dcb.fOutX);
    EXPECT_TRUE(dcb.fInX);
    EXPECT_TRUE(dcb.fOutxCtsFlow);
    EXPECT_TRUE(dcb.fParity);
    EXPECT_EQ(38400u, dcb.BaudRate);
    EXPECT_EQ(7, dcb.ByteSize);
    EXPECT_EQ(2, dcb.Parity);

    termios2 noSpeed = CookedTty();
    noSpeed.c_ospeed = 0;  // decoded from the code when the speed field is empty
    TermiosToDcb(noSpeed, dcb);
    EXPECT_EQ(38400u, dcb.BaudRate);
}

}  // namespace
}  // namespace kestrum::linux_tty
