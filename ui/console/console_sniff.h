// `ducat sniff`: listens to the acceptor's link without taking part. The
// port (the configured one, or --port) is opened at the configured speed
// (or --speed), set to 8N1 and only read: not one byte is written; what the
// port held before the sniff began is dropped once. Every frame is shown as it comes, in the trace's form
// (also into --trace FILE), sealed payloads deciphered from the
// identification reply on; --raw FILE keeps the bytes with their times for
// `decode`. Ends on Ctrl+C or --timeout with a count of frames, requests
// paired and noise bytes.
#pragma once

#include "platform/serial_port.h"
#include "platform/trace_line.h"
#include "ui/console/console_options.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

using SniffPortOpener = std::function<std::unique_ptr<platform::SerialPort>(const std::string& device, uint32_t& error)>;

// Where each line goes besides the terminal (the trace file of --trace).
using SniffLineSink = std::function<void(const platform::TraceLine& line)>;

// The sniff on `port` at `speed` bit/s, opened by `open`, its lines to
// `out` and `alsoTo`, until `stop` returns true or the options' timeout
// passes. Returns the exit status.
int SniffLink(const ConsoleOptions& options, const std::string& port, uint32_t speed, const SniffPortOpener& open,
              std::FILE* out, const SniffLineSink& alsoTo, const std::function<bool()>& stop);

// The sniff of the command line: the configured port and speed, the
// system's port, until Ctrl+C.
int SniffCommand(const ConsoleOptions& options);
