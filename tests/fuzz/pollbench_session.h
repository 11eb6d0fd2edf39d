// A Pollbench session as its fuzz target and the seed maker play it: the
// main window's core over a port of the caller's making, polling started,
// then poll timer ticks one after the other, with one of the operator's
// device commands after every tick that finds the device connected.
#pragma once

#include "demo/driver/port_setup.h"

#include <cstdint>
#include <functional>

// The plan byte.
namespace pollbench_plan {
constexpr uint8_t kAcceptLimit = 0x01;  // a price is set: every poll reads the residual
constexpr uint8_t kReinitialize = 0x02; // the operator answers Yes to the reset question
constexpr uint8_t kLongSorter = 0x04;   // the stored flags start with four sorter paths per coin
constexpr int kCommandShift = 3;        // bits 3-7: the command, 0 = none
} // namespace pollbench_plan

// The commands by number (1 and up; numbers past the last one are none).
enum PollbenchCommand : uint8_t {
    kNoCommand,
    kWriteInhibits,
    kWriteSorterPaths,
    kWriteDefaultPath,
    kWriteSorterOverride,
    kWriteMasterInhibit,
    kEscrowReturn,
    kEscrowAccept,
    kMotorReturn,
    kTrashCycle,
    kSetAcceptLimit,
    kTeach,
    kPollbenchCommands,
};

inline uint8_t PollbenchPlan(PollbenchCommand command, uint8_t flags = 0) {
    return static_cast<uint8_t>((command << pollbench_plan::kCommandShift) | flags);
}

// Runs ticks while `more(tick)` says so (tick counts from 0).
void RunPollbenchSession(uint8_t plan, const PortOpener& open, const std::function<bool(int tick)>& more);
