// Coin values: read from a coin id, shown as money.
#pragma once

#include <cstdint>
#include <string>

// The value of a six-character coin id ("EU200A") in hundredths: the three
// value characters hold digits and one letter giving the decimal exponent.
unsigned ParseCoinValue(const std::string& coinId);

// A sum of hundredths as "units.hundredths" ("2.00").
std::string MoneyText(uint32_t hundredths);
