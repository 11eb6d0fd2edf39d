// The command table: one descriptor per sub-command and function code, every
// request field inside its payload, and sealing that opens again only with
// the same key.
#include "commands/protocol/extension_commands.h"
#include "commands/protocol/frame_sealing.h"
#include "commands/protocol/request_payload.h"
#include "link/checksums.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using acceptor::CommandDescriptor;
using acceptor::kExtensionCommands;

constexpr uint32_t kKey = 0x075BCD15;

// The request frame of `payload`, sealed with `key` (no head, no checksum:
// what the sealing covers is the body).
std::vector<uint8_t> SealedFrame(const acceptor::RequestPayload& payload, uint32_t key) {
    std::vector<uint8_t> frame(kFrameBufferSize, 0);
    acceptor::PlaceRequestBody(frame.data(), payload);
    acceptor::SealRequestFrame(frame.data(), payload.Command(), key);
    frame.resize(acceptor::RequestFrameLength(payload.Command()));
    return frame;
}

TEST(CommandTable, NamesEverySubCommandAndFunctionOnce) {
    std::set<int> subCommands, functions;
    for (const CommandDescriptor* c : kExtensionCommands) {
        EXPECT_TRUE(subCommands.insert(c->subCommand).second) << c->name;
        EXPECT_TRUE(functions.insert(c->function).second) << c->name;
        EXPECT_EQ(c, acceptor::CommandOfFunction(c->function));
        EXPECT_EQ(c, acceptor::CommandOfSubCommand(c->subCommand));
    }
    EXPECT_EQ(nullptr, acceptor::CommandOfFunction(0x7F));
    EXPECT_EQ(nullptr, acceptor::CommandOfSubCommand(4));
    EXPECT_EQ(nullptr, acceptor::CommandOfFunction(-1));
}

TEST(CommandTable, FieldsLieInTheirPayloadWithoutOverlap) {
    for (const CommandDescriptor* c : kExtensionCommands) {
        std::vector<int> owner(c->payloadLength, -1);
        for (size_t i = 0; i < c->fields.Count(); ++i) {
            const acceptor::PayloadField& field = c->fields.At(i);
            ASSERT_LE(field.at + field.size, c->payloadLength) << c->name << " " << field.name;
            for (size_t b = field.at; b < field.at + field.size; ++b) {
                EXPECT_EQ(-1, owner[b]) << c->name << " " << field.name << " at payload byte " << b;
                owner[b] = static_cast<int>(i);
            }
        }
        if (c->sealed) {
            EXPECT_LT(c->cipherAt, c->payloadLength) << c->name;
        }
        EXPECT_LE(acceptor::RequestFrameLength(*c), kFrameBufferSize) << c->name;
    }
}

TEST(CommandTable, RepliesOpenInsideTheirData) {
    for (const CommandDescriptor* c : kExtensionCommands) {
        const acceptor::ReplyOpening& o = c->opening;
        EXPECT_LE(acceptor::ReplyFrameLength(*c), kFrameBufferSize) << c->name;
        EXPECT_LE(o.decipherFrom + o.decipherLength, c->replyData) << c->name;
        if (!o.crc) continue;
        EXPECT_LT(o.crcFrom, o.crcAt) << c->name;
        EXPECT_LE(o.crcAt + acceptor::kCrcBytes, c->replyData) << c->name;
        // A CRC that is enciphered is enciphered whole.
        if (o.decipherLength > 0) {
            EXPECT_EQ(o.crcAt + acceptor::kCrcBytes, o.decipherFrom + o.decipherLength) << c->name;
        }
    }
    // Only the log page is long; its first data byte is the high length byte.
    EXPECT_EQ(ReplyForm::Long, acceptor::kReadLogCommand.replyForm);
    EXPECT_EQ(266, acceptor::ReplyHeadValue(acceptor::kReadLogCommand));
    EXPECT_EQ(104, acceptor::ReplyHeadValue(acceptor::kIdentifyCommand));
}

TEST(RequestPayload, PutsNumbersLowByteFirstAtTheirPlaceOnly) {
    namespace p = acceptor::log_page;
    acceptor::RequestPayload payload(acceptor::kReadLogCommand);
    ASSERT_EQ(7u, payload.Size());
    EXPECT_TRUE(payload.Put(p::kPage, 0x1234));
    const std::vector<uint8_t> bytes(payload.Bytes(), payload.Bytes() + payload.Size());
    EXPECT_EQ((std::vector<uint8_t>{0, 0x34, 0x12, 0, 0, 0, 0}), bytes);
    // The image of a description fragment does not fit a log page request.
    EXPECT_FALSE(payload.PutBytes(acceptor::write_fragment::kImage, std::vector<uint8_t>(256, 0xAA).data()));
    EXPECT_EQ(bytes, std::vector<uint8_t>(payload.Bytes(), payload.Bytes() + payload.Size()));
}

TEST(RequestPayload, BodyGoesBehindTheFunctionOrTheHighLengthByte) {
    acceptor::RequestPayload shortRequest(acceptor::kReadTableCommand);
    shortRequest.Put(acceptor::read_table::kTime, 0x01020304);
    std::vector<uint8_t> frame(kFrameBufferSize, 0);
    acceptor::PlaceRequestBody(frame.data(), shortRequest);
    EXPECT_EQ((std::vector<uint8_t>{0x0F, 0, 4, 3, 2, 1}), std::vector<uint8_t>(frame.begin() + 4, frame.begin() + 10));

    acceptor::RequestPayload longRequest(acceptor::kWriteCoinCommand);
    longRequest.Put(acceptor::write_fragment::kFragment, 7);
    longRequest.Put(acceptor::write_fragment::kCoinIndex, 3);
    acceptor::PlaceRequestBody(frame.data(), longRequest);
    EXPECT_EQ((std::vector<uint8_t>{0x01, 1, 7, 3}), std::vector<uint8_t>(frame.begin() + 4, frame.begin() + 8));
}

TEST(FrameSealing, SealedRequestsOpenOnlyWithTheirKey) {
    for (const CommandDescriptor* c : kExtensionCommands) {
        acceptor::RequestPayload payload(*c);
        for (size_t i = 0; i < c->fields.Count(); ++i) payload.Put(c->fields.At(i), 0x5A);
        const std::vector<uint8_t> sealed = SealedFrame(payload, kKey);
        std::vector<uint8_t> opened = sealed;
        EXPECT_TRUE(acceptor::OpenRequestFrame(opened.data(), *c, kKey)) << c->name;
        const size_t at = acceptor::PayloadAt(*c);
        EXPECT_EQ(std::vector<uint8_t>(payload.Bytes(), payload.Bytes() + payload.Size()),
                  std::vector<uint8_t>(opened.begin() + static_cast<long>(at),
                                       opened.begin() + static_cast<long>(at + payload.Size())))
            << c->name;
        if (!c->sealed) {
            EXPECT_EQ(sealed, opened) << c->name;
            continue;
        }
        // The CRC-16 covers every byte before it, the function code too.
        EXPECT_EQ(Crc16(opened.data(), acceptor::RequestCrcAt(*c)), LoadLe16(opened.data() + acceptor::RequestCrcAt(*c)));
        EXPECT_NE(sealed, opened) << c->name << " went out in the clear";
        std::vector<uint8_t> wrongKey = sealed;
        EXPECT_FALSE(acceptor::OpenRequestFrame(wrongKey.data(), *c, kKey + 1)) << c->name;
    }
}

TEST(FrameSealing, ReplyDataOpensAsTheAcceptorSealedIt) {
    for (const CommandDescriptor* c : kExtensionCommands) {
        std::vector<uint8_t> data(c->replyData);
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
        const std::vector<uint8_t> plain = data;
        acceptor::StoreReplyCrc(data.data(), *c);
        const std::vector<uint8_t> withCrc = data;
        acceptor::EncipherReplyData(data.data(), *c, kKey);
        EXPECT_TRUE(acceptor::OpenReplyData(data.data(), *c, kKey)) << c->name;
        EXPECT_EQ(withCrc, data) << c->name;
        if (!c->opening.crc) continue;
        // One bit off in the covered range and the CRC-16 no longer holds.
        std::vector<uint8_t> spoiled = withCrc;
        spoiled[c->opening.crcFrom] ^= 1;
        acceptor::EncipherReplyData(spoiled.data(), *c, kKey);
        EXPECT_FALSE(acceptor::OpenReplyData(spoiled.data(), *c, kKey)) << c->name;
    }
}

} // namespace
