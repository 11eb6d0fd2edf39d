// `ducat decode` of raw captures with damage in them: frames are found
// again right after the damaged bytes, which make one noise line, and a
// reply whose checksum is wrong tells nothing. The captures are sessions
// with the virtual acceptor, run in process: identification, the coin
// table, monitoring, description fragments (271-byte requests) and log
// pages (271-byte replies).
#include "cipher/block_cipher.h"
#include "commands/trace/ducat_capture_decode.h"
#include "commands/trace/ducat_frame_cutter.h"
#include "commands/trace/ducat_frame_decoder.h"
#include "commands/protocol/acceptor_layouts.h"
#include "link/checksums.h"
#include "platform/frame_finder.h"
#include "sim/ducat/ducat_acceptor.h"
#include "tests/support/capture_lines.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace integration {
namespace {

namespace w = acceptor;
using platform::TraceDirection;
using platform::TraceLine;
using testing_support::ExpectFramesFound;
using testing_support::ExpectOneNoiseLine;
using testing_support::WireFrame;

// Every request and its reply, as they crossed the link.
class Session : public testing_support::WireCapture {
public:
    Session() {
        device.SetLogPages(4);
        for (uint8_t row = 0; row < 3; ++row) device.QueueCoin(sim::DucatCoin{row, row != 1, {1, 9}, {0, 7}});
    }

    void Identify() { Exchange(Request(w::kIdentify, {1, 0, 0x5E, 0x0B, 0xE1})); }
    void ReadTable() { Exchange(Request(w::kReadTable, {0, 0, 0x5E, 0x0B, 0xE1})); }
    void ReadResult() { Exchange(Request(w::kReadResult, {0})); }
    void WriteFragment(uint8_t fragment) {
        namespace f = w::write_fragment;
        std::vector<uint8_t> payload(f::kFrameLength - 1 - kPayloadAt, 0);
        payload[f::kDataLengthHighAt - kPayloadAt] = f::kDataLengthHigh;
        payload[f::kFragmentAt - kPayloadAt] = fragment;
        payload[f::kCoinIndexAt - kPayloadAt] = 5;
        for (size_t i = 0; i < f::kFragmentBytes; ++i) payload[f::kImageAt - kPayloadAt + i] = static_cast<uint8_t>(i * 7);
        std::vector<uint8_t> request = Request(w::kWriteFragment, payload);
        request[kLengthAt] = f::kDataLengthLow;
        Exchange(Sealed(request, f::kCrcAt, f::kCipherAt, f::kCipherLength));
    }
    void ReadLogPage(uint16_t page) {
        namespace l = w::log_page;
        std::vector<uint8_t> payload(l::kRequestLength - 1 - kPayloadAt, 0);
        StoreLe16(payload.data() + l::kPageAt - kPayloadAt, page);
        Exchange(Sealed(Request(w::kReadLogPage, payload), l::kRequestCrcAt, l::kRequestCipherAt, l::kRequestCipherLength));
    }

    // Identification, table, monitoring with a description write and a log
    // read between the results.
    void Monitor() {
        Identify();
        ReadTable();
        for (int i = 0; i < 3; ++i) ReadResult();
        for (uint8_t fragment = 0; fragment < 2; ++fragment) WriteFragment(fragment);
        ReadResult();
        for (uint16_t page = 0; page < 2; ++page) ReadLogPage(page);
        for (int i = 0; i < 3; ++i) ReadResult();
    }

    sim::DucatAcceptor device;

private:
    std::vector<uint8_t> Request(uint8_t function, const std::vector<uint8_t>& payload) const {
        std::vector<uint8_t> r = {device.identity.address, static_cast<uint8_t>(payload.size() + 1), kHostAddress,
                                  kExtensionHeader, function};
        r.insert(r.end(), payload.begin(), payload.end());
        r.push_back(SimpleChecksum(r.data(), r.size()));
        return r;
    }
    // The CRC-16 over the bytes before it, the cipher keyed by the serial
    // number, and the checksum made anew.
    std::vector<uint8_t> Sealed(std::vector<uint8_t> r, size_t crcAt, size_t cipherAt, size_t cipherLength) const {
        StoreLe16(r.data() + crcAt, Crc16(r.data(), crcAt));
        EncipherBuffer(r.data() + cipherAt, static_cast<uint32_t>(cipherLength), device.identity.serial);
        r.back() = SimpleChecksum(r.data(), r.size() - 1);
        return r;
    }
    void Exchange(const std::vector<uint8_t>& request) {
        std::vector<uint8_t> reply;
        device.OnBytes(request.data(), request.size(), reply);
        Add(TraceDirection::Host, request);
        if (!reply.empty()) Add(TraceDirection::Device, reply);
    }
};

std::vector<TraceLine> Cut(const std::vector<uint8_t>& bytes) {
    DucatFrameCutter cutter;
    return platform::CutWhole(cutter, bytes);
}

TEST(DucatCaptureResync, ACleanSessionDecodesFrameForFrame) {
    Session s;
    s.Monitor();
    ASSERT_EQ(26u, s.frames.size()); // every request answered
    const std::vector<TraceLine> lines = Cut(s.bytes);
    DucatFrameDecoder decoder;
    testing_support::ExpectLinesAreTheFrames(s.frames, lines, [&decoder](TraceDirection d, const std::vector<uint8_t>& b) {
        return decoder.Describe(d, b);
    });
    ASSERT_EQ(s.frames.size(), lines.size());
    EXPECT_EQ(0u, lines[1].meaning.find("identity: address 1, serial 20240117 "));
    EXPECT_EQ(w::write_fragment::kFrameLength, lines[10].bytes.size());
    EXPECT_EQ("255.write coin description fragment to 1, fragment 0, coin index 5 (deciphered, key 20240117); "
              "CRC-16 holds, checksum holds",
              lines[10].meaning);
    EXPECT_EQ("log page 1 (deciphered, key 20240117); CRC-16 holds, checksum holds", lines[19].meaning);
}

// The reply after a damaged request is found only where the request before
// that one asked for a reply of the same form and head.
bool ReplyKeptWithoutItsRequest(const Session& s, size_t request) {
    int before = -1;
    for (size_t k = 0; k < request; ++k) {
        if (s.frames[k].direction == TraceDirection::Host) before = s.frames[k].bytes[kFunctionAt];
    }
    const int function = s.frames[request].bytes[kFunctionAt];
    return ExpectedHeadFor(before) == ExpectedHeadFor(function) && LongReplyTo(before) == LongReplyTo(function);
}

TEST(DucatCaptureResync, ACorruptedLengthByteSpoilsOnlyItsOwnFrame) {
    Session s;
    s.Monitor();
    for (size_t i = 0; i < s.frames.size(); ++i) {
        for (const int change : {1, 7, 40, 0xCB}) {
            std::vector<uint8_t> bytes = s.bytes;
            uint8_t& length = bytes[s.frames[i].offset + kLengthAt];
            length = static_cast<uint8_t>(length + change);
            const std::string what = "frame " + std::to_string(i) + ", length byte " + std::to_string(length);
            std::vector<WireFrame> expected = s.frames;
            size_t spoilt = s.frames[i].bytes.size();
            const bool request = s.frames[i].direction == TraceDirection::Host;
            if (request && !ReplyKeptWithoutItsRequest(s, i)) {
                spoilt += s.frames[i + 1].bytes.size();
                expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(i + 1));
            }
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(i));
            const std::vector<TraceLine> lines = Cut(bytes);
            ExpectFramesFound(expected, lines, what);
            ExpectOneNoiseLine(lines, s.frames[i].offset, spoilt, expected.size(), what);
        }
    }
}

TEST(DucatCaptureResync, AStrayByteIsOneNoiseLine) {
    Session s;
    s.Monitor();
    testing_support::ExpectEachStrayByteIsOneNoiseLine(s, {0x00, 0x01, 0x0A, 0xFF}, Cut);
    // The decode reports the noise line.
    std::vector<uint8_t> bytes = s.bytes;
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(s.frames[4].offset), 0x13);
    const std::string path = testing_support::WriteCapture(bytes, "ducat_stray.bin");
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(1, DecodeDucatCapture(path, out, stderr));
    std::fclose(out);
    std::remove(path.c_str());
}

TEST(DucatCaptureResync, AResultWhoseChecksumIsWrongShowsNothing) {
    Session s;
    s.Identify();
    s.device.faults.Add({sim::DucatFault::WrongChecksum, w::kReadResult});
    s.ReadResult();
    s.ReadResult();
    ASSERT_EQ(6u, s.frames.size());
    DucatFrameDecoder decoder;
    std::vector<std::string> meanings;
    for (const WireFrame& f : s.frames) meanings.push_back(decoder.Describe(f.direction, f.bytes));
    EXPECT_EQ("reply to read coin result; checksum WRONG", meanings[3]);
    EXPECT_EQ(0u, meanings[5].find("best \"")) << meanings[5];

    const std::vector<TraceLine> lines = Cut(s.bytes);
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(TraceDirection::Noise, lines[3].direction);
    EXPECT_EQ(meanings[5], lines[5].meaning);
}

} // namespace
} // namespace integration
