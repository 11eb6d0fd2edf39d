// The standard ccTalk frame and the headers Pollbench sends.
#pragma once

#include <cstddef>
#include <cstdint>

// Source address of every request.
constexpr uint8_t HOST_ADDRESS = 1;
// Data bytes a frame may carry: 100 bytes of frame less head and checksum.
constexpr uint8_t MAX_REQUEST_DATA = 95;

constexpr size_t kCctHeadLength = 5;  // destination, length, source, header, first byte
constexpr size_t kCctFrameOverhead = 5; // four head bytes and the checksum
constexpr size_t kCctFrameSize = kCctFrameOverhead + MAX_REQUEST_DATA;

// Offsets inside a frame.
constexpr size_t kCctDestination = 0;
constexpr size_t kCctLength = 1;
constexpr size_t kCctSource = 2;
constexpr size_t kCctHeader = 3;
constexpr size_t kCctData = 4;

enum CctHeader : uint8_t {
    kHdrReply = 0,
    kHdrNak = 5,
    kHdrAcceptLimit = 135,
    kHdrRequestCoinId = 184,
    kHdrRequestDefaultPath = 188,
    kHdrModifyDefaultPath = 189,
    kHdrRequestTeachStatus = 201,
    kHdrTeachModeControl = 202,
    kHdrRequestSorterPaths = 209,
    kHdrModifySorterPaths = 210,
    kHdrRequestOptionFlags = 213,
    kHdrRequestSorterOverride = 221,
    kHdrModifySorterOverride = 222,
    kHdrRequestMasterInhibit = 227,
    kHdrModifyMasterInhibit = 228,
    kHdrReadBufferedCredit = 229,
    kHdrRequestInhibits = 230,
    kHdrModifyInhibits = 231,
    kHdrTestOutputLines = 238,
    kHdrOperateMotors = 239,
    kHdrReadOptoStates = 236,
    kHdrSoftwareRevision = 241,
    kHdrSerialNumber = 242,
    kHdrProductCode = 244,
    kHdrManufacturerId = 246,
    kHdrSimplePoll = 254,
};

// The simple checksum: the byte that makes all bytes of a frame sum to 0.
uint8_t CctChecksum(const uint8_t* bytes, size_t n);
// True when `n` bytes sum to 0 modulo 256.
bool CctSumIsZero(const uint8_t* bytes, size_t n);
