#include "sim/standard/standard_event_buffer.h"

#include <algorithm>

namespace sim {

void StandardEventBuffer::Push(uint8_t resultA, uint8_t resultB) {
    counter_ = counter_ == 255 ? 1 : static_cast<uint8_t>(counter_ + 1);
    std::copy_backward(events_.begin(), events_.end() - 2, events_.end());
    events_[0] = resultA;
    events_[1] = resultB;
    ++tally_.events;
    if (resultA != 0) {
        ++tally_.credits[resultA];
    } else {
        ++tally_.errors;
    }
}

void StandardEventBuffer::Reset() {
    counter_ = 0;
    events_.fill(0);
}

std::vector<uint8_t> StandardEventBuffer::Reply() const {
    std::vector<uint8_t> data(1 + events_.size());
    data[0] = counter_;
    std::copy(events_.begin(), events_.end(), data.begin() + 1);
    return data;
}

} // namespace sim
