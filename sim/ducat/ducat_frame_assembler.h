// Cuts the host's byte stream on the acceptor link into request frames.
// Requests are short ccTalk frames (data length at byte 1), except the long
// requests of the command table (the coin description write), whose data
// length has its high byte at byte 5.
#pragma once

#include "commands/protocol/extension_commands.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace sim {

class DucatFrameAssembler {
public:
    using FrameSink = std::function<void(const std::vector<uint8_t>& frame)>;

    // Takes bytes in any split; hands each complete frame to `sink`.
    void Feed(const uint8_t* data, size_t n, const FrameSink& sink);

    // A silent line ends whatever partial frame there is.
    void LineIdle();

    // Longest request the acceptor takes; a longer announcement is noise
    // and everything up to the next silence is dropped.
    static constexpr size_t kMaxFrame = acceptor::LongestRequest();

private:
    // 0 while the head does not yet tell the length.
    size_t ExpectedLength() const;

    std::vector<uint8_t> partial_;
    bool discarding_ = false;
};

} // namespace sim
