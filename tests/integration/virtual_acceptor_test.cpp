// The virtual acceptor on its own: literal request bytes in, reply bytes
// checked at their places on the wire.
#include "cipher/block_cipher.h"
#include "link/checksums.h"
#include "sim/ducat/ducat_acceptor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using sim::DucatAcceptor;
using sim::DucatFault;
using Bytes = std::vector<uint8_t>;

Bytes Sealed(Bytes frame) {
    frame.push_back(SimpleChecksum(frame.data(), frame.size()));
    return frame;
}

Bytes Send(DucatAcceptor& d, const Bytes& request) {
    Bytes out;
    d.OnBytes(request.data(), request.size(), out);
    return out;
}

bool Intact(const Bytes& reply) {
    return !reply.empty() && SimpleChecksum(reply.data(), reply.size() - 1) == reply.back();
}

std::string TextAt(const Bytes& reply, size_t at, size_t width) {
    const std::string field(reply.begin() + static_cast<long>(at), reply.begin() + static_cast<long>(at + width));
    return field.substr(0, field.find('\0'));
}

// A 271-byte fragment write, sealed as the host seals it.
Bytes FragmentRequest(uint32_t serial, int fragment, int coinIndex, uint8_t fill) {
    Bytes f(271, 0);
    f[0] = 1;
    f[1] = 10;
    f[2] = 1;
    f[3] = 255;
    f[4] = 0x01;
    f[5] = 1;
    f[6] = static_cast<uint8_t>(fragment);
    f[7] = static_cast<uint8_t>(coinIndex);
    for (size_t i = 8; i < 264; ++i) f[i] = fill;
    StoreLe16(f.data() + 268, Crc16(f.data(), 268));
    EncipherBuffer(f.data() + 6, 264, serial);
    f[270] = SimpleChecksum(f.data(), 270);
    return f;
}

Bytes LogPageRequest(uint32_t serial, uint16_t page) {
    Bytes f = {1, 10, 1, 255, 0x13, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    StoreLe16(f.data() + 6, page);
    StoreLe16(f.data() + 12, Crc16(f.data(), 12));
    EncipherBuffer(f.data() + 6, 8, serial);
    return Sealed(f);
}

TEST(VirtualAcceptor, AnswersTheIdentificationAtItsPlaces) {
    DucatAcceptor d;
    d.identity.address = 1;
    d.identity.serial = 0x01020304;
    d.identity.serialText = std::string(40, 'S'); // longer than its 32-byte field
    const Bytes request = Sealed({1, 6, 1, 255, 0, 0, 0x00, 0xE1, 0x0B, 0x5E});
    Bytes reply;
    // Any split of the request: the frame is assembled first.
    d.OnBytes(request.data(), 3, reply);
    EXPECT_TRUE(reply.empty());
    d.OnBytes(request.data() + 3, request.size() - 3, reply);
    ASSERT_EQ(106u, reply.size());
    EXPECT_TRUE(Intact(reply));
    EXPECT_EQ((Bytes{1, 101, 1, 0}), Bytes(reply.begin(), reply.begin() + 4));
    EXPECT_EQ(1, reply[4 + 4]);
    EXPECT_EQ(0x01020304u, LoadLe32(reply.data() + 4 + 8));
    EXPECT_EQ(std::string(32, 'S'), std::string(reply.begin() + 16, reply.begin() + 48));
    EXPECT_EQ("VIRTUAL", TextAt(reply, 4 + 48, 8));
    EXPECT_EQ("Coin Acceptor", TextAt(reply, 4 + 56, 13));
    EXPECT_EQ("2.04", TextAt(reply, 4 + 85, 5));
    EXPECT_EQ(1577836800u, d.LastHostTime());
}

TEST(VirtualAcceptor, IgnoresDamagedForeignAndBrokenFrames) {
    DucatAcceptor d;
    Bytes bad = Sealed({1, 2, 1, 255, 0x10, 0});
    ++bad.back();
    EXPECT_TRUE(Send(d, bad).empty());
    EXPECT_EQ(1u, d.BadFrames());
    EXPECT_TRUE(Send(d, Sealed({7, 2, 1, 255, 0x10, 0})).empty()); // another address
    // A partial frame is dropped when the line falls silent.
    const Bytes poll = Sealed({1, 2, 1, 255, 0x10, 0});
    Bytes out;
    d.OnBytes(poll.data(), 4, out);
    d.OnLineIdle();
    EXPECT_TRUE(Send(d, poll).size() == 40u);
    // A length no request has is noise up to the next silence.
    d.OnBytes(Bytes{1, 10, 1, 255, 0x01, 9}.data(), 6, out);
    EXPECT_TRUE(Send(d, poll).empty());
    d.OnLineIdle();
    EXPECT_EQ(40u, Send(d, poll).size());
}

TEST(VirtualAcceptor, CoinTableCarriesRowsParametersAndCrc) {
    DucatAcceptor d;
    d.table[1].coinId = "AB123C";
    d.table[1].divider = 33;
    d.table[1].allowed = 1;
    d.table[1].firm = 4;
    d.table[1].written = 0x11223344;
    d.params.nnetDivider = 41;
    d.params.numbStandDev = 3;
    d.params.maxError = 0x0107;
    const Bytes reply = Send(d, Sealed({1, 6, 1, 255, 0x0F, 0, 1, 2, 3, 4}));
    ASSERT_EQ(241u, reply.size());
    EXPECT_EQ(236, reply[1]);
    const uint8_t* data = reply.data() + 4;
    EXPECT_EQ("AB123C", std::string(data + 17, data + 23));
    EXPECT_EQ(33, data[23]);
    EXPECT_EQ(1, data[24]);
    EXPECT_EQ(4, data[25]);
    EXPECT_EQ(0x11223344u, LoadLe32(data + 26));
    EXPECT_EQ(41, data[212]);
    EXPECT_EQ(3, data[213]);
    EXPECT_EQ(0x0107, LoadLe16(data + 214));
    EXPECT_EQ(Crc16(data, 234), LoadLe16(data + 234));
}

TEST(VirtualAcceptor, ResultsComeOnePerPollThenRepeat) {
    DucatAcceptor d;
    d.QueueCoin({2, true, {3, 4}, {5, 6}});
    const Bytes poll = Sealed({1, 2, 1, 255, 0x10, 0});
    const Bytes first = Send(d, poll);
    ASSERT_EQ(40u, first.size());
    const uint8_t* data = first.data() + 4;
    EXPECT_EQ((Bytes{3, 4, 5, 6}), Bytes(data, data + 4));
    EXPECT_EQ("RU005B", std::string(data + 4, data + 10));
    EXPECT_EQ("RU010B", std::string(data + 10, data + 16));
    EXPECT_EQ(3, data[16]); // A0: credit code of row 2
    EXPECT_EQ(1, data[17]); // B0
    EXPECT_EQ(2, data[26]);
    EXPECT_EQ(1001u, LoadLe32(data + 27));
    EXPECT_EQ(1, data[31]);
    EXPECT_EQ(1, data[32]);
    EXPECT_EQ(Crc16(data, 33), LoadLe16(data + 33));
    EXPECT_EQ(first, Send(d, poll));
}

TEST(VirtualAcceptor, TakesFragmentsInOrderAndAnswersTheNextOne) {
    DucatAcceptor d;
    const uint32_t serial = d.identity.serial;
    EXPECT_EQ(Sealed({1, 1, 1, 0, 1}), Send(d, FragmentRequest(serial, 0, 5, 0xA0)));
    // A gap: the acceptor asks again for the one it wants.
    EXPECT_EQ(1, Send(d, FragmentRequest(serial, 2, 5, 0xA2))[4]);
    // Sealed with another key: the CRC fails, nothing is taken.
    EXPECT_EQ(1, Send(d, FragmentRequest(serial + 1, 1, 5, 0xA1))[4]);
    for (int f = 1; f < 15; ++f) EXPECT_EQ(f + 1, Send(d, FragmentRequest(serial, f, 5, static_cast<uint8_t>(f)))[4]);
    EXPECT_TRUE(d.Image(5).empty());
    EXPECT_EQ(16, Send(d, FragmentRequest(serial, 15, 5, 15))[4]);
    ASSERT_EQ(4096u, d.Image(5).size());
    EXPECT_EQ(0xA0, d.Image(5)[0]);
    EXPECT_EQ(14, d.Image(5)[14 * 256 + 255]);
    EXPECT_EQ(21, Send(d, FragmentRequest(serial, 0, 16, 0))[4]); // no such coin index
}

TEST(VirtualAcceptor, LogPagesComeEncipheredInTheLongForm) {
    DucatAcceptor d;
    d.SetLogPages(5, 3);
    EXPECT_EQ(3, LoadLe16(d.Log().data() + 226));
    const Bytes reply = Send(d, LogPageRequest(d.identity.serial, 4));
    ASSERT_EQ(271u, reply.size());
    EXPECT_TRUE(Intact(reply));
    EXPECT_EQ(10, reply[1]);
    EXPECT_EQ(1, reply[4]);
    Bytes plain = reply;
    DecipherBuffer(plain.data() + 6, 264, d.identity.serial);
    EXPECT_EQ(4, LoadLe16(plain.data() + 6));
    EXPECT_TRUE(std::equal(plain.begin() + 8, plain.begin() + 264, d.Log().begin() + 4 * 256));
    EXPECT_EQ(Crc16(plain.data() + 6, 262), LoadLe16(plain.data() + 268));
}

TEST(VirtualAcceptor, FaultRulesApplyInOrderAfterTheirGrace) {
    DucatAcceptor d;
    d.faults.Add({DucatFault::Silence, 0x10, 1, 0, 1});
    d.faults.Add({DucatFault::ShortReply, 0x10, 1, 5});
    d.faults.Add({DucatFault::WrongLength, 0x0F, sim::kForever});
    const Bytes poll = Sealed({1, 2, 1, 255, 0x10, 0});
    EXPECT_EQ(35u, Send(d, poll).size()); // the short reply comes first: no grace
    EXPECT_TRUE(Send(d, poll).empty());   // then the silence
    EXPECT_EQ(40u, Send(d, poll).size());
    const Bytes table = Send(d, Sealed({1, 6, 1, 255, 0x0F, 0, 0, 0, 0, 0}));
    EXPECT_EQ(237, table[1]);
    EXPECT_TRUE(Intact(table));
}

TEST(VirtualAcceptor, WritesOfDividerAndParametersTakeEffect) {
    DucatAcceptor d;
    auto setting = [&](uint8_t function, Bytes values, uint32_t key) {
        Bytes f = {1, 20, 1, 255, function, 0, 0, 0, 1, 2, 3, 4};
        f.insert(f.end(), values.begin(), values.end());
        f.resize(22, 0);
        f.resize(24);
        StoreLe16(f.data() + 22, Crc16(f.data(), 22));
        EncipherBuffer(f.data() + 8, 16, key);
        return Send(d, Sealed(f));
    };
    EXPECT_EQ(0, setting(0x11, {2, 0, 99}, d.identity.serial)[4]);
    EXPECT_EQ(99, d.table[2].divider);
    EXPECT_EQ(0, d.table[2].allowed);
    EXPECT_NE(0, setting(0x11, {16, 0, 99}, d.identity.serial)[4]);
    EXPECT_NE(0, setting(0x12, {7, 8, 9}, d.identity.serial ^ 1)[4]);
    EXPECT_EQ(0, setting(0x12, {7, 8, 9}, d.identity.serial)[4]);
    EXPECT_EQ(7, d.params.maxError);
    EXPECT_EQ(8, d.params.nnetDivider);
    EXPECT_EQ(9, d.params.numbStandDev);
    d.faults.Add({DucatFault::Refuse, 0x12, 1, 6});
    EXPECT_EQ(6, setting(0x12, {1, 1, 1}, d.identity.serial)[4]);
}

} // namespace
