// The operator's device commands: writes of the coin table and the extra
// functions, each followed by the read-back that shows what the device took.
#include "demo/core/demo_core.h"

#include "demo/core/settings.h"
#include "demo/texts/coin_value.h"
#include "demo/texts/sort_text.h"

namespace {
constexpr uint8_t kLowestPath = 1;
constexpr uint8_t kHighestPath = 8;
constexpr uint8_t kOverrideNone = 0xFF;       // no outlet overridden
constexpr uint8_t kMasterInhibitOn = 0;       // the device accepts nothing
constexpr uint8_t kMasterInhibitOff = 1;
constexpr uint8_t kOutputEscrowAccept = 1;    // test output line patterns
constexpr uint8_t kOutputEscrowReturn = 2;
constexpr uint8_t kOutputMotorReturn = 4;
constexpr uint8_t kMotorTrash = 1;
constexpr uint8_t kAcceptLimitSet = 1;
constexpr int kCoinsPerMaskByte = 8;

uint8_t Byte(unsigned value, int shift) { return static_cast<uint8_t>((value >> shift) & 0xFF); }
} // namespace

void CDemoCore::SendInhibits() {
    // A set bit enables its coin position.
    uint8_t masks[2] = {0, 0};
    for (int i = 0; i < kCoinPositions; ++i) {
        if (inhibit[static_cast<size_t>(i)] == 0) masks[i / kCoinsPerMaskByte] |= static_cast<uint8_t>(1 << (i % kCoinsPerMaskByte));
    }
    CctReply reply;
    driver.Request(kHdrModifyInhibits, {masks[0], masks[1]}, reply);
}

void CDemoCore::WriteInhibits() {
    if (halted_) return;
    SendInhibits();
    ReadInhibits();
}

void CDemoCore::WriteSorterPaths(int position) {
    if (halted_) return;
    const int n = PathsPerCoin((g_Flags & FLAG_LONG_SORTER) != 0);
    for (size_t i = 0; i < sortText.size(); ++i) sorterPaths[i] = PathsFromSortText(sortText[i], n, defaultPath);
    const SorterPaths& paths = sorterPaths[static_cast<size_t>(position - 1)];
    const uint8_t p = static_cast<uint8_t>(position);
    CctReply reply;
    if ((g_Flags & FLAG_LONG_SORTER) != 0) {
        driver.Request(kHdrModifySorterPaths, {p, paths[0], paths[1], paths[2], paths[3]}, reply);
    } else {
        driver.Request(kHdrModifySorterPaths, {p, paths[0]}, reply);
    }
    ReadSorterPaths(position);
    RebuildSortTexts();
}

void CDemoCore::WriteDefaultPath() {
    if (halted_) return;
    // A path the device cannot have is not sent; the read-back shows the device's own.
    const uint8_t path = defaultPath;
    if (path >= kLowestPath && path <= kHighestPath) {
        CctReply reply;
        driver.Request(kHdrModifyDefaultPath, {path}, reply);
        // A device with one path per coin takes the default as every coin's
        // further paths.
        if ((g_Flags & FLAG_LONG_SORTER) == 0) {
            for (int p = 1; p <= kCoinPositions; ++p) {
                const uint8_t first = sorterPaths[static_cast<size_t>(p - 1)][0];
                driver.Request(kHdrModifySorterPaths, {static_cast<uint8_t>(p), first, path, path, path}, reply);
            }
        }
    }
    ReadDefaultPath();
}

void CDemoCore::WriteSorterOverride() {
    if (halted_) return;
    uint8_t mask = kOverrideNone;
    for (int k = 0; k < kShownOutlets; ++k) {
        if (outletFull[static_cast<size_t>(k)] != 0) mask = static_cast<uint8_t>(mask & ~(1u << k));
    }
    CctReply reply;
    driver.Request(kHdrModifySorterOverride, {mask}, reply);
    ReadSorterOverride();
}

void CDemoCore::WriteMasterInhibit() {
    if (halted_) return;
    CctReply reply;
    driver.Request(kHdrModifyMasterInhibit, {masterInhibit != 0 ? kMasterInhibitOn : kMasterInhibitOff}, reply);
    ReadMasterInhibit();
    ReadInhibits();
}

void CDemoCore::ClearEscrow() {
    escrowSum = 0;
    escrowText = MoneyText(0);
    Refresh();
}

void CDemoCore::EscrowReturn() {
    if (halted_) return;
    CctReply reply;
    driver.Request(kHdrTestOutputLines, {kOutputEscrowReturn}, reply);
    ClearEscrow();
}

void CDemoCore::EscrowAccept() {
    if (halted_) return;
    CctReply reply;
    driver.Request(kHdrTestOutputLines, {kOutputEscrowAccept}, reply);
    ClearEscrow();
}

void CDemoCore::MotorReturn() {
    if (halted_) return;
    CctReply reply;
    driver.Request(kHdrTestOutputLines, {kOutputMotorReturn}, reply);
}

void CDemoCore::TrashCycle() {
    if (halted_) return;
    CctReply reply;
    driver.Request(kHdrOperateMotors, {kMotorTrash}, reply);
}

void CDemoCore::SetAcceptLimit() {
    if (halted_) return;
    CctReply reply;
    const unsigned limit = acceptLimit;
    driver.Request(kHdrAcceptLimit, {kAcceptLimitSet, Byte(limit, 0), Byte(limit, 8), Byte(limit, 16)}, reply);
    SendInhibits();
    ReadResidual();
}
