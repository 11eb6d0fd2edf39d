// How the line settings of serial_port.h map onto the fields of a Windows
// device control block. A template over the block, so that the mapping is
// checked on every OS with a block of the same field names.
#pragma once

#include "platform/serial_port.h"

namespace platform {

// Writes the named fields into `dcb`; every other field keeps its value.
template <class Block>
void ApplyLineSettingsToDcb(const LineSettings& s, Block& dcb) {
    dcb.BaudRate = s.baudRate;
    dcb.ByteSize = s.byteSize;
    dcb.Parity = s.parity;
    dcb.StopBits = s.stopBits;
    dcb.fParity = s.parityCheck ? 1 : 0;
    dcb.fOutxCtsFlow = s.ctsOutputFlow ? 1 : 0;
    dcb.fOutxDsrFlow = s.dsrOutputFlow ? 1 : 0;
    dcb.fDtrControl = s.dtrControl;
    dcb.fRtsControl = s.rtsControl;
    dcb.fErrorChar = s.errorCharReplace ? 1 : 0;
}

template <class Block>
void ReadLineSettingsFromDcb(const Block& dcb, LineSettings& s) {
    s.baudRate = dcb.BaudRate;
    s.byteSize = dcb.ByteSize;
    s.parity = dcb.Parity;
    s.stopBits = dcb.StopBits;
    s.parityCheck = dcb.fParity != 0;
    s.ctsOutputFlow = dcb.fOutxCtsFlow != 0;
    s.dsrOutputFlow = dcb.fOutxDsrFlow != 0;
    s.dtrControl = static_cast<uint8_t>(dcb.fDtrControl);
    s.rtsControl = static_cast<uint8_t>(dcb.fRtsControl);
    s.errorCharReplace = dcb.fErrorChar != 0;
}

} // namespace platform
