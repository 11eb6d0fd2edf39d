// The pollbench command line:
//   pollbench [--port NAME] [--address N] [--interval MS] [--trace FILE]
//             [--sim [SIM OPTIONS]] COMMAND [COMMAND ARGUMENTS]
#pragma once

#include "demo/driver/pollbench_defaults.h"
#include "demo/console/sniff_args.h"

#include <string>
#include <vector>

#if POLLBENCH_WITH_SIM
#include "sim/pty/line_options.h"
#include "sim/standard/standard_config.h"
#endif

struct PollbenchArgs {
    std::string port;      // as given
    int portNumber = 0;    // a COM port number, or 0 when `port` is a device name
    int address = kDefaultDeviceAddress;
    int intervalMs = kDefaultPollIntervalMs;
    std::string traceFile; // the wire trace ("-" = standard error); empty = none
    std::string command;   // search, identify, poll, teach, scan-bus, decode, sniff
    std::string file;      // decode: the trace or capture
    std::string reportDir; // poll, sniff: the session report's folder
    std::string channel;   // teach: the Channel field
    bool enhanced = false; // teach: enhanced bandwidth
    bool reinitialize = false; // poll: the answer to the device-reset question
    bool thorough = false; // scan-bus: a simple poll to every address, no broadcast
    SniffArgs sniff;
    bool sim = false;
#if POLLBENCH_WITH_SIM
    sim::StandardConfig simConfig;
    sim::LineOptions simLine; // the line between it and the host
#endif
};

// Fills `args` from the command line; false with `error` set when it is not
// a valid one.
bool ParsePollbenchArgs(const std::vector<std::string>& words, PollbenchArgs& args, std::string& error);

const char* PollbenchUsage();
