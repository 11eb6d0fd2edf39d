// The Windows side of the line settings, on a block with the fields and
// widths of the Windows device control block.
#include "platform/serial_dcb_fields.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The Windows block's own field names.
// NOLINTBEGIN(readability-identifier-naming)
struct DeviceControlBlock {
    uint32_t DCBlength;
    uint32_t BaudRate;
    uint32_t fBinary : 1;
    uint32_t fParity : 1;
    uint32_t fOutxCtsFlow : 1;
    uint32_t fOutxDsrFlow : 1;
    uint32_t fDtrControl : 2;
    uint32_t fDsrSensitivity : 1;
    uint32_t fTXContinueOnXoff : 1;
    uint32_t fOutX : 1;
    uint32_t fInX : 1;
    uint32_t fErrorChar : 1;
    uint32_t fNull : 1;
    uint32_t fRtsControl : 2;
    uint32_t fAbortOnError : 1;
    uint32_t fDummy2 : 17;
    uint16_t wReserved;
    uint16_t XonLim;
    uint16_t XoffLim;
    uint8_t ByteSize;
    uint8_t Parity;
    uint8_t StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    uint16_t wReserved1;
};
// NOLINTEND(readability-identifier-naming)

// What a driver might report: everything the programs do not name is set.
DeviceControlBlock Reported() {
    DeviceControlBlock d;
    std::memset(&d, 0, sizeof d);
    d.DCBlength = sizeof d;
    d.BaudRate = 19200;
    d.fBinary = 1;
    d.fParity = 1;
    d.fOutxCtsFlow = 1;
    d.fOutxDsrFlow = 1;
    d.fDtrControl = 2;
    d.fDsrSensitivity = 1;
    d.fTXContinueOnXoff = 1;
    d.fOutX = 1;
    d.fInX = 1;
    d.fErrorChar = 1;
    d.fNull = 1;
    d.fRtsControl = 3;
    d.fAbortOnError = 1;
    d.XonLim = 2048;
    d.XoffLim = 512;
    d.ByteSize = 7;
    d.Parity = 2;
    d.StopBits = 2;
    d.XonChar = 0x11;
    d.XoffChar = 0x13;
    d.ErrorChar = '?';
    d.EofChar = 0x1A;
    d.EvtChar = 0x7E;
    return d;
}

TEST(DcbLine, NamedFieldsChangeAndTheDriversOthersStay) {
    DeviceControlBlock d = Reported();
    platform::LineSettings s;
    platform::ReadLineSettingsFromDcb(d, s);
    s.baudRate = 9600;
    s.byteSize = 8;
    s.parity = 0;
    s.stopBits = 0;
    s.parityCheck = false;
    s.ctsOutputFlow = false;
    s.dsrOutputFlow = false;
    s.dtrControl = 0;
    s.rtsControl = 1;
    s.errorCharReplace = false;
    platform::ApplyLineSettingsToDcb(s, d);
    EXPECT_EQ(9600u, d.BaudRate);
    EXPECT_EQ(8, d.ByteSize);
    EXPECT_EQ(0, d.Parity);
    EXPECT_EQ(0, d.StopBits);
    EXPECT_EQ(0u, d.fParity);
    EXPECT_EQ(0u, d.fOutxCtsFlow);
    EXPECT_EQ(0u, d.fOutxDsrFlow);
    EXPECT_EQ(0u, d.fDtrControl);
    EXPECT_EQ(1u, d.fRtsControl);
    EXPECT_EQ(0u, d.fErrorChar);

    const DeviceControlBlock r = Reported();
    EXPECT_EQ(r.DCBlength, d.DCBlength);
    EXPECT_EQ(1u, d.fBinary);
    EXPECT_EQ(1u, d.fDsrSensitivity);
    EXPECT_EQ(1u, d.fTXContinueOnXoff);
    EXPECT_EQ(1u, d.fOutX);
    EXPECT_EQ(1u, d.fInX);
    EXPECT_EQ(1u, d.fNull);
    EXPECT_EQ(1u, d.fAbortOnError);
    EXPECT_EQ(r.XonLim, d.XonLim);
    EXPECT_EQ(r.XoffLim, d.XoffLim);
    EXPECT_EQ(r.XonChar, d.XonChar);
    EXPECT_EQ(r.XoffChar, d.XoffChar);
    EXPECT_EQ(r.ErrorChar, d.ErrorChar);
    EXPECT_EQ(r.EofChar, d.EofChar);
    EXPECT_EQ(r.EvtChar, d.EvtChar);
}

TEST(DcbLine, ReportedFieldsReadBackAndRoundTripUnchanged) {
    const DeviceControlBlock r = Reported();
    platform::LineSettings s;
    platform::ReadLineSettingsFromDcb(r, s);
    EXPECT_EQ(19200u, s.baudRate);
    EXPECT_EQ(7, s.byteSize);
    EXPECT_EQ(2, s.parity);
    EXPECT_EQ(2, s.stopBits);
    EXPECT_TRUE(s.parityCheck);
    EXPECT_TRUE(s.ctsOutputFlow);
    EXPECT_TRUE(s.dsrOutputFlow);
    EXPECT_EQ(2, s.dtrControl);
    EXPECT_EQ(3, s.rtsControl);
    EXPECT_TRUE(s.errorCharReplace);
    DeviceControlBlock d = r;
    platform::ApplyLineSettingsToDcb(s, d);
    EXPECT_EQ(0, std::memcmp(&r, &d, sizeof d));
}

} // namespace
