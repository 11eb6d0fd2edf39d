#include "platform/heard_times.h"

namespace platform {

void HeardTimes::Add(size_t n, const std::string& time) {
    if (n == 0) return;
    chunks_.push_back(Chunk{heard_, time});
    heard_ += n;
}

void HeardTimes::Stamp(TraceLine& line) {
    while (chunks_.size() > 1 && chunks_[1].offset <= next_) chunks_.pop_front();
    if (!chunks_.empty()) line.time = chunks_.front().time;
    next_ += line.bytes.size();
}

} // namespace platform
