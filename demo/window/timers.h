// Pollbench's window timers.
#pragma once

#include <cstdint>

constexpr unsigned ID_TIMER_FLASH = 2;  // ends the outlet flash
constexpr unsigned ID_TIMER_TEACH = 3;  // the Coin Teaching dialog's status reads
constexpr unsigned ID_TIMER_POLL = 15;  // the connection tick

constexpr uint32_t kOutletFlashMs = 400;
