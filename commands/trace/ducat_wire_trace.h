// Ducat Console's wire trace: the port tap turned into one line per frame
// (host, device), decoded, and a mark for every failed exchange with the
// codec's result (wrong head, short remainder, wrong checksum, failed
// write). Frames are cut from the reads as the codec reads them: the head,
// then the remainder its length announces.
#pragma once

#include "commands/trace/ducat_frame_decoder.h"
#include "link/traced_port.h"
#include "platform/trace_line.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

class DucatWireTrace final : public PortTap {
public:
    using LineSink = std::function<void(const platform::TraceLine&)>;
    // Every frame after its line, with the function code of the request it
    // belongs to (-1 when not of the extension header).
    using FrameSink =
        std::function<void(platform::TraceDirection direction, const std::vector<uint8_t>& frame, int function)>;

    DucatWireTrace(LineSink lines, FrameSink frames);

    void OnWrite(const uint8_t* bytes, size_t asked, size_t written, bool ok, uint32_t error) override;
    void OnRead(const uint8_t* bytes, size_t asked, size_t got, bool ok) override;
    void OnClose() override;
    // A note of the port's own ("opened COM1").
    void NotePort(const std::string& text);

private:
    void Emit(const std::string& time, platform::TraceDirection direction, const std::vector<uint8_t>& bytes,
              const std::string& meaning);
    void FinishReply();

    std::mutex lock_; // runs follow each other on threads of their own
    LineSink lines_;
    FrameSink frames_;
    DucatFrameDecoder decoder_;
    std::vector<uint8_t> reply_;
    std::string replyTime_;
    bool replyOpen_ = false;
};

// The failure mark of a reply that the codec would refuse, or "" when it
// takes it: decoded against what `decoder` expects for the last request.
std::string ReplyFailure(const DucatFrameDecoder& decoder, const std::vector<uint8_t>& reply);
