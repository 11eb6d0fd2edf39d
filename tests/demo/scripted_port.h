// A serial port in memory for driver tests: what the host writes is kept,
// echoed like a one-wire bus if asked, and answered with scripted replies;
// a read returns what is there, as a read that ran into its timeout would.
#pragma once

#include "demo/driver/port_setup.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

struct PortScript {
    bool echo = true;
    std::deque<std::vector<uint8_t>> replies; // one per write, then silence
    std::vector<uint8_t> input;               // bytes waiting to be read
    std::vector<std::vector<uint8_t>> writes;
    std::vector<size_t> readSizes; // bytes asked by each read call

    bool failOpen = false;
    bool failGetLine = false;
    bool failRead = false;
    bool failClose = false;
    size_t writeLimit = SIZE_MAX; // a write takes at most this many bytes

    int opens = 0;
    int closes = 0;
    std::vector<std::string> openedNames;
    platform::LineSettings line;
    platform::Timeouts timeouts;
};

// An opener that hands out ports playing `script`.
PortOpener ScriptedOpener(std::shared_ptr<PortScript> script);

// A reply frame from the device at `source` to the host.
std::vector<uint8_t> ReplyFrame(uint8_t source, const std::vector<uint8_t>& data, uint8_t header = 0);
