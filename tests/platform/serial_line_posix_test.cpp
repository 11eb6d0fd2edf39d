// The termios side of the line settings: what a port changes, keeps and
// refuses, without a device.
#include "platform/serial_line_posix.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using platform::LineSettings;

// A terminal as Linux hands out a fresh one, with XON/XOFF set up.
termios FreshTerminal() {
    termios t;
    std::memset(&t, 0, sizeof t);
    t.c_iflag = ICRNL | IXON | IXOFF | IXANY | IGNBRK | BRKINT | IGNPAR | INLCR | IGNCR | ISTRIP | PARMRK;
    t.c_oflag = OPOST | ONLCR;
    t.c_cflag = CS7 | CREAD | HUPCL | PARENB;
    t.c_lflag = ICANON | ECHO | ECHOE | ECHOK | ISIG | IEXTEN;
    t.c_cc[VSTART] = 0x21;
    t.c_cc[VSTOP] = 0x23;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 5;
    return t;
}

LineSettings EightNoneOne() {
    LineSettings s;
    s.byteSize = 8;
    s.parity = 0;
    s.stopBits = 0;
    return s;
}

TEST(TermiosLine, BinaryModePassesBytesUnchangedAndKeepsFlowControl) {
    termios t = FreshTerminal();
    platform::MakeBinary(t);
    EXPECT_EQ(0u, t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | PARMRK));
    EXPECT_EQ(0u, t.c_oflag & OPOST);
    EXPECT_EQ(0u, t.c_lflag & (ICANON | ECHO | ECHOE | ECHOK | ISIG | IEXTEN));
    EXPECT_EQ(static_cast<tcflag_t>(CREAD | CLOCAL), t.c_cflag & (CREAD | CLOCAL));
    EXPECT_EQ(0, t.c_cc[VMIN]);
    EXPECT_EQ(0, t.c_cc[VTIME]);
    // Kept: XON/XOFF flow and its characters, break handling, hang-up on close.
    EXPECT_EQ(static_cast<tcflag_t>(IXON | IXOFF | IXANY | IGNBRK | BRKINT | IGNPAR),
              t.c_iflag & (IXON | IXOFF | IXANY | IGNBRK | BRKINT | IGNPAR));
    EXPECT_NE(0u, t.c_cflag & HUPCL);
    EXPECT_EQ(0x21, t.c_cc[VSTART]);
    EXPECT_EQ(0x23, t.c_cc[VSTOP]);
    // The frame format is not binary mode's business.
    EXPECT_EQ(static_cast<tcflag_t>(CS7), t.c_cflag & CSIZE);
}

TEST(TermiosLine, SettingsChangeOnlyTheirOwnFlags) {
    termios t = FreshTerminal();
    platform::MakeBinary(t);
    const termios before = t;
    LineSettings s = EightNoneOne();
    ASSERT_TRUE(platform::ApplyLineSettings(s, t));
    EXPECT_EQ(static_cast<tcflag_t>(CS8), t.c_cflag & CSIZE);
    EXPECT_EQ(0u, t.c_cflag & (PARENB | PARODD | CSTOPB | CRTSCTS));
    EXPECT_EQ(before.c_iflag & ~static_cast<tcflag_t>(INPCK), t.c_iflag);
    EXPECT_EQ(before.c_oflag, t.c_oflag);
    EXPECT_EQ(before.c_lflag, t.c_lflag);
    EXPECT_EQ(0, std::memcmp(before.c_cc, t.c_cc, sizeof t.c_cc));
    EXPECT_EQ(before.c_cflag & ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS),
              t.c_cflag & ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS));

    s.parityCheck = true;
    s.stopBits = 2;
    s.ctsOutputFlow = true;
    ASSERT_TRUE(platform::ApplyLineSettings(s, t));
    EXPECT_NE(0u, t.c_iflag & INPCK);
    EXPECT_NE(0u, t.c_cflag & CSTOPB);
    EXPECT_NE(0u, t.c_cflag & CRTSCTS);
    s.parityCheck = false;
    s.ctsOutputFlow = false;
    s.rtsControl = 2; // the RTS handshake is the same flag
    ASSERT_TRUE(platform::ApplyLineSettings(s, t));
    EXPECT_EQ(0u, t.c_iflag & INPCK);
    EXPECT_NE(0u, t.c_cflag & CRTSCTS);
}

TEST(TermiosLine, EveryParityReadsBackAsSet) {
    const uint8_t parities[] = {0, 1, 2
#if defined(CMSPAR)
                                ,
                                3, 4
#endif
    };
    for (uint8_t parity : parities) {
        for (uint8_t size : {5, 6, 7, 8}) {
            termios t = FreshTerminal();
            LineSettings s = EightNoneOne();
            s.parity = parity;
            s.byteSize = size;
            s.stopBits = 2;
            ASSERT_TRUE(platform::ApplyLineSettings(s, t)) << int(parity);
            LineSettings back;
            platform::ReadLineSettings(t, back);
            EXPECT_EQ(parity, back.parity);
            EXPECT_EQ(size, back.byteSize);
            EXPECT_EQ(2, back.stopBits);
        }
    }
}

TEST(TermiosLine, WhatTermiosCannotCarryIsRefusedAndChangesNothing) {
    LineSettings bad[7];
    for (auto& s : bad) s = EightNoneOne();
    bad[0].byteSize = 9;
    bad[1].byteSize = 4;
    bad[2].parity = 5;
    bad[3].stopBits = 1; // one and a half
    bad[4].stopBits = 3;
    bad[5].dsrOutputFlow = true;
    bad[6].errorCharReplace = true;
    for (const auto& s : bad) {
        termios t = FreshTerminal();
        const termios before = t;
        EXPECT_FALSE(platform::ApplyLineSettings(s, t));
        EXPECT_EQ(0, std::memcmp(&before, &t, sizeof t));
    }
}

TEST(TermiosLine, ErrorCountersThatMovedAreReportedAsTheirBits) {
    const platform::LineErrorCounts before{3, 4, 5, 6};
    EXPECT_EQ(0u, platform::LineErrorsBetween(before, before));
    EXPECT_EQ(uint32_t{platform::kLineErrorFrame}, platform::LineErrorsBetween(before, {4, 4, 5, 6}));
    EXPECT_EQ(uint32_t{platform::kLineErrorOverrun}, platform::LineErrorsBetween(before, {3, 9, 5, 6}));
    EXPECT_EQ(uint32_t{platform::kLineErrorParity}, platform::LineErrorsBetween(before, {3, 4, 6, 6}));
    EXPECT_EQ(uint32_t{platform::kLineErrorBreak}, platform::LineErrorsBetween(before, {3, 4, 5, 7}));
    EXPECT_EQ(uint32_t{platform::kLineErrorFrame | platform::kLineErrorOverrun | platform::kLineErrorParity |
                       platform::kLineErrorBreak},
              platform::LineErrorsBetween(before, {0, 0, 0, 0}));
}

} // namespace
