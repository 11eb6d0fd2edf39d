// The `ducat` command line:
//   ducat [--port NAME] [--speed BITS] [--address N] [--timeout SECONDS]
//         [--trace FILE] [--report DIR] [--sim [SIM OPTIONS]] COMMAND [ARGUMENTS]
#pragma once

#include "sim/ducat/ducat_sim_options.h"

#include <cstdint>
#include <string>
#include <vector>

struct ConsoleOptions {
    std::string port;        // empty = from the configuration and the port scan
    uint32_t speed = 0;      // 0 = from the configuration
    int address = -1;        // -1 = from the configuration
    uint32_t timeoutSeconds = 0; // 0 = no limit: a run lasts until it ends or Ctrl+C
    std::string traceFile; // the wire trace ("-" = standard error); empty = none
    std::string reportDir; // monitor: the calibration report's folder
    bool sim = false;
    sim::DucatSimOptions simOptions;
    std::string command;
    std::vector<std::string> arguments;
};

// False with `error` set when the line cannot be read.
bool ParseConsoleOptions(const std::vector<std::string>& args, ConsoleOptions& options, std::string& error);

// The commands and how many arguments each takes.
bool CommandKnown(const std::string& command, size_t& argumentCount);

const char* ConsoleUsage();
