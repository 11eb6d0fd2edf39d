// The one English line that says what is wrong with the line when the
// device cannot be reached: the port that did not open, why and what to do,
// or the address that did not answer.
#pragma once

#include "demo/console/console_args.h"
#include "demo/driver/cct_driver.h"

#include <string>

// The port as the command line named it; a COM number with the device it
// stands for here ("COM3 (/dev/ttyUSB0)").
std::string PortForMessages(const CCctDriver& driver, const PollbenchArgs& args);

// The port line after a failed open; "" when the last open did not fail.
std::string PortOpenFailureLine(const CCctDriver& driver, const PollbenchArgs& args);

// "no reply from address 2 at 9600 bit/s on ... (check cable, speed, address)".
std::string DeviceSilentLine(const CCctDriver& driver, const PollbenchArgs& args);

// What to tell while no device is connected: the port line when the port did
// not open, else the silent device's line.
std::string UnreachableLine(const CCctDriver& driver, const PollbenchArgs& args);
