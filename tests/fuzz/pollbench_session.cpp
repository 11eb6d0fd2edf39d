#include "tests/fuzz/pollbench_session.h"

#include "demo/core/demo_core.h"
#include "demo/core/settings.h"
#include "demo/core/teach.h"

namespace {

constexpr unsigned kPrice = 150;      // hundredths, when the plan sets an accept limit
constexpr char kTeachChannel[] = "3"; // the Channel box of Coin Teaching
constexpr int kTeachTicks = 2;
constexpr char kPortName[] = "fuzz-line";

void RunCommand(CDemoCore& core, uint8_t command, int tick) {
    switch (command) {
    case kWriteInhibits: core.WriteInhibits(); break;
    case kWriteSorterPaths: core.WriteSorterPaths(1 + tick % kCoinPositions); break;
    case kWriteDefaultPath: core.WriteDefaultPath(); break;
    case kWriteSorterOverride: core.WriteSorterOverride(); break;
    case kWriteMasterInhibit: core.WriteMasterInhibit(); break;
    case kEscrowReturn: core.EscrowReturn(); break;
    case kEscrowAccept: core.EscrowAccept(); break;
    case kMotorReturn: core.MotorReturn(); break;
    case kTrashCycle: core.TrashCycle(); break;
    case kSetAcceptLimit: core.SetAcceptLimit(); break;
    case kTeach: {
        CTeachCore teach(core.driver);
        teach.StartOrAbort(kTeachChannel, tick % 2 != 0);
        for (int i = 0; i < kTeachTicks; ++i) teach.Tick();
        teach.Close();
        break;
    }
    default: break;
    }
}

} // namespace

void RunPollbenchSession(uint8_t plan, const PortOpener& open, const std::function<bool(int tick)>& more) {
    g_ComPort = 1;
    g_DeviceAddress = 2;
    g_Flags = (plan & pollbench_plan::kLongSorter) ? FLAG_LONG_SORTER : 0;
    s_LastEventCounter = 0;

    CDemoCore core;
    core.driver.openPort = open;
    // A name of its own: the COM number would be looked up among the
    // system's serial devices at every opening.
    core.driver.portName = kPortName;
    const bool reinitialize = (plan & pollbench_plan::kReinitialize) != 0;
    core.driver.askReinitialize = [reinitialize] { return reinitialize; };
    if (plan & pollbench_plan::kAcceptLimit) core.acceptLimit = kPrice;
    const uint8_t command = static_cast<uint8_t>(plan >> pollbench_plan::kCommandShift);

    core.StartPolling();
    for (int tick = 0; more(tick); ++tick) {
        core.ConnectionTick();
        if (core.prevState == kConnected) RunCommand(core, command, tick);
    }
    core.StopPolling();
}
