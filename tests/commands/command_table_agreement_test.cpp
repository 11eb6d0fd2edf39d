// The host's framing, the virtual acceptor and the trace read the same
// command table: every command's request, built and sealed from its
// descriptor, is answered with a reply of the descriptor's length and
// form, and the frame cutter and decoder read both as whole, holding frames.
#include "commands/protocol/extension_commands.h"
#include "commands/protocol/frame_sealing.h"
#include "commands/protocol/request_payload.h"
#include "commands/trace/ducat_frame_cutter.h"
#include "commands/trace/ducat_frame_decoder.h"
#include "link/checksums.h"
#include "sim/ducat/ducat_acceptor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using acceptor::CommandDescriptor;

constexpr uint32_t kSerial = 987654321;

// A request as the host sends it to address 1, every shown field set.
std::vector<uint8_t> RequestOf(const CommandDescriptor& command) {
    acceptor::RequestPayload payload(command);
    for (size_t i = 0; i < command.fields.Count(); ++i) {
        const acceptor::PayloadField& field = command.fields.At(i);
        if (field.text != acceptor::FieldText::Hidden) payload.Put(field, 1);
    }
    std::vector<uint8_t> frame(kFrameBufferSize, 0);
    frame[0] = 1;
    frame[kLengthAt] = static_cast<uint8_t>(acceptor::RequestDataLength(command) & 0xFF);
    frame[2] = kHostAddress;
    frame[kHeaderAt] = kExtensionHeader;
    acceptor::PlaceRequestBody(frame.data(), payload);
    acceptor::SealRequestFrame(frame.data(), command, kSerial);
    frame.resize(acceptor::RequestFrameLength(command));
    frame.back() = SimpleChecksum(frame.data(), frame.size() - 1);
    return frame;
}

TEST(CommandTableAgreement, AcceptorAndTraceReadEveryCommandAsTheTableSays) {
    sim::DucatAcceptor device;
    device.identity.serial = kSerial;
    DucatFrameCutter cutter;
    std::vector<platform::TraceLine> lines;
    std::vector<uint8_t> stream;
    // The identification comes first in the table: the trace takes its key from it.
    ASSERT_EQ(&acceptor::kIdentifyCommand, acceptor::kExtensionCommands[0]);
    for (const CommandDescriptor* c : acceptor::kExtensionCommands) {
        const std::vector<uint8_t> request = RequestOf(*c);
        std::vector<uint8_t> reply;
        device.OnBytes(request.data(), request.size(), reply);
        ASSERT_EQ(acceptor::ReplyFrameLength(*c), reply.size()) << c->name;
        EXPECT_EQ(1, device.Requests(c->function)) << c->name;
        // The head the host's codec expects after this request.
        EXPECT_EQ(ExpectedHeadFor(c->function), acceptor::ReplyHeadValue(*c)) << c->name;
        EXPECT_EQ(LongReplyTo(c->function), c->replyForm == ReplyForm::Long) << c->name;
        EXPECT_EQ(acceptor::ReplyHeadValue(*c), ReplyHeadOf(reply.size(), c->replyForm == ReplyForm::Long)) << c->name;
        std::vector<uint8_t> data(reply.begin() + kDataAt, reply.end() - 1);
        EXPECT_TRUE(acceptor::OpenReplyData(data.data(), *c, kSerial)) << c->name;
        for (const std::vector<uint8_t>* frame : {&request, static_cast<const std::vector<uint8_t>*>(&reply)}) {
            const size_t offset = stream.size();
            stream.insert(stream.end(), frame->begin(), frame->end());
            for (auto& line : cutter.Feed(frame->data(), frame->size(), offset)) lines.push_back(line);
        }
    }
    for (auto& line : cutter.Finish()) lines.push_back(line);

    ASSERT_EQ(2 * std::size(acceptor::kExtensionCommands), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const CommandDescriptor& c = *acceptor::kExtensionCommands[i / 2];
        const platform::TraceLine& line = lines[i];
        const bool isRequest = i % 2 == 0;
        EXPECT_EQ(isRequest ? platform::TraceDirection::Host : platform::TraceDirection::Device, line.direction)
            << c.name << ": " << line.meaning;
        EXPECT_EQ(std::string::npos, line.meaning.find("WRONG")) << line.meaning;
        if (isRequest) {
            EXPECT_EQ(0u, line.meaning.find(std::string("255.") + c.name + " to 1")) << line.meaning;
        } else {
            EXPECT_NE(std::string::npos, line.meaning.find("checksum holds")) << line.meaning;
            EXPECT_EQ(std::string::npos, line.meaning.find("reply of")) << line.meaning;
        }
        if (c.sealed && isRequest) {
            EXPECT_NE(std::string::npos, line.meaning.find("(deciphered, key 987654321); CRC-16 holds")) << line.meaning;
        }
    }
}

} // namespace
