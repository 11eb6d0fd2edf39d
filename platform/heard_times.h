// The times of bytes heard on a line, kept while a cutter has not yet said
// which frame they belong to: each line a cutter gives gets the time its
// first byte was heard. A cutter's lines cover every byte it was fed once,
// in order (frames and noise), so a running count of their bytes tells
// where each line starts.
#pragma once

#include "platform/trace_line.h"

#include <cstddef>
#include <deque>
#include <string>

namespace platform {

class HeardTimes {
public:
    // `n` more bytes heard at `time`.
    void Add(size_t n, const std::string& time);
    // Gives `line` the time of its first byte and moves past its bytes.
    void Stamp(TraceLine& line);

private:
    struct Chunk {
        size_t offset; // of its first byte
        std::string time;
    };
    std::deque<Chunk> chunks_;
    size_t heard_ = 0; // bytes added
    size_t next_ = 0;  // the first byte of the next line
};

} // namespace platform
