#include "platform/quiet_line.h"

#include "platform/clock.h"

#include <vector>

namespace platform {

void AwaitQuietLine(SerialPort& port, const QuietLine& line,
                    const std::function<void(const uint8_t* bytes, size_t n)>& discarded) {
    Timeouts own;
    if (!port.GetTimeouts(own)) return;
    Timeouts quiet;
    quiet.readTotalConstant = line.gapMs;
    if (!port.SetTimeouts(quiet)) return;
    std::vector<uint8_t> buffer(line.readSize == 0 ? 1 : line.readSize);
    const uint64_t start = SteadyMilliseconds();
    size_t got = 1;
    while (got > 0 && SteadyMilliseconds() - start < line.boundMs) {
        if (!port.Read(buffer.data(), buffer.size(), got)) break;
        if (got > 0 && discarded) discarded(buffer.data(), got);
    }
    (void)port.SetTimeouts(own);
}

} // namespace platform
