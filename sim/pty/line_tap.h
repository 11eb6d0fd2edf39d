// A listener wired to the bus: every byte the wire carries, host's and
// device's, in the order it is on the wire, handed over in the adapter's
// bursts. Bytes are told to it with the moment they are through; the model
// tells it nothing earlier than what it has already handed over.
#pragma once

#include "sim/pty/line_schedule.h"

#include <cstdint>
#include <map>
#include <vector>

namespace sim {

class LineTap {
public:
    // burstMs 0 = each byte as it is through, otherwise at the next multiple.
    explicit LineTap(uint32_t burstMs);

    void Hear(LineTime through, uint8_t byte);
    void Hear(const std::vector<LineTime>& through, const std::vector<uint8_t>& bytes);

    // Appends the bytes due by `now` to `out`, in wire order, and forgets them.
    void TakeDue(LineTime now, std::vector<uint8_t>& out);
    // When the next byte is due; LineTime::max() when nothing waits.
    LineTime NextDue() const;

private:
    LineTime burst_;
    // Equal times keep the order they were heard in.
    std::multimap<LineTime, uint8_t> heard_;
};

} // namespace sim
