// `pollbench sniff`: listens to a live bus without taking part. The port is
// opened, set to the speed (8N1) and only read: not one byte is written,
// nor is the port purged. Every frame the host and the devices exchange is
// shown as it comes, in the trace's form (also into --trace FILE); --raw
// FILE keeps the bytes with their times for `decode`; --report DIR is the
// session report of the host being watched. Ends on Ctrl+C or --timeout
// with a count of frames, requests paired and noise bytes.
#pragma once

#include "demo/console/console_args.h"
#include "platform/serial_port.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Takes the sniff's own argument at w[i] ("--speed N", "--raw FILE",
// "--report DIR", "--timeout S"); false when the word is not one. `error`
// says what is wrong with a value.
bool TakeSniffArgument(const std::vector<std::string>& w, size_t& i, PollbenchArgs& args, std::string& error);

// Opens a port by device name; null with the system's error number.
using SniffPortOpener = std::function<std::unique_ptr<platform::SerialPort>(const std::string& device, uint32_t& error)>;

// The sniff on the port `open` gives, its lines to `out`, until `stop`
// returns true or the timeout passes. Returns the exit status.
int Sniff(const PollbenchArgs& args, const SniffPortOpener& open, std::FILE* out, const std::function<bool()>& stop);

// The sniff of the command line: the system's port, until Ctrl+C.
int RunSniff(const PollbenchArgs& args, std::FILE* out);
