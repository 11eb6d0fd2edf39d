// What `pollbench sniff` takes beyond the host's options.
#pragma once

#include <cstdint>
#include <string>

struct SniffArgs {
    uint32_t speed = 9600;   // bit/s of the line listened to
    std::string rawFile;     // the bytes heard with their times; empty = none
    uint32_t timeoutSeconds = 0; // 0: until Ctrl+C
};
