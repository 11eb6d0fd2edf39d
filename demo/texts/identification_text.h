// Pieces of the identification text shown in the status box.
#pragma once

#include "demo/texts/device_data.h"

#include <cstdint>
#include <string>

// "SN: " line value: the serial number as signed decimal.
std::string SerialNumberText(uint32_t serial);

// The letters of the option flags: "T", "E", "M", "L" for bits 7 to 4.
std::string OptionLetters(uint8_t flags);

// "Master Inhibit" is offered unless the revision is exactly 52.00 or 52.01.
bool MasterInhibitOffered(const std::string& revision);

// The identification text: "<manufacturer> - <product code>", "SN: <serial>",
// "Softw.: <revision>" and the option letters, lines ended by `lineBreak`.
std::string IdentificationText(const DeviceIdentity& identity, const char* lineBreak);

// True when the product code begins with the variant prefix.
bool IsQxProduct(const std::string& productCode);
