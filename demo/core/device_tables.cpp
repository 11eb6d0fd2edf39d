// Read-backs of the device's configuration into the fields.
#include "demo/core/demo_core.h"

#include "demo/core/settings.h"
#include "demo/texts/coin_value.h"

void CDemoCore::ReadMasterInhibit() {
    CctReply reply;
    // Without a reply the tick keeps its state.
    if (SetUpRequest(kHdrRequestMasterInhibit, {}, reply) >= 1) masterInhibit = (reply.data[0] & 0x01) == 0;
}

void CDemoCore::ReadCoinIds() {
    CctReply reply;
    for (int p = 1; p <= kCoinPositions; ++p) {
        if (SetUpRequest(kHdrRequestCoinId, {static_cast<uint8_t>(p)}, reply) <= 0) continue;
        const size_t i = static_cast<size_t>(p - 1);
        coinId[i] = reply.Text();
        coinValue[i] = ParseCoinValue(coinId[i]);
    }
}

void CDemoCore::ReadSorterPaths(int position) {
    CctReply reply;
    const int n = SetUpRequest(kHdrRequestSorterPaths, {static_cast<uint8_t>(position)}, reply);
    SorterPaths& paths = sorterPaths[static_cast<size_t>(position - 1)];
    if (n == 1) {
        paths = {reply.data[0], 0, 0, 0};
        g_Flags &= ~FLAG_LONG_SORTER;
    } else if (n == kPathsPerCoin) {
        paths = {reply.data[0], reply.data[1], reply.data[2], reply.data[3]};
        g_Flags |= FLAG_LONG_SORTER;
    }
}

void CDemoCore::ReadInhibits() {
    CctReply reply;
    if (SetUpRequest(kHdrRequestInhibits, {}, reply) < 2) return;
    for (int i = 0; i < 8; ++i) {
        inhibit[static_cast<size_t>(i)] = (reply.data[0] & (1 << i)) == 0;
        inhibit[static_cast<size_t>(i + 8)] = (reply.data[1] & (1 << i)) == 0;
    }
}

void CDemoCore::ReadSorterOverride() {
    CctReply reply;
    if (SetUpRequest(kHdrRequestSorterOverride, {}, reply) < 1) return;
    for (int k = 0; k < kShownOutlets; ++k) outletFull[static_cast<size_t>(k)] = (reply.data[0] & (1 << k)) == 0;
}

void CDemoCore::ReadDefaultPath() {
    CctReply reply;
    if (SetUpRequest(kHdrRequestDefaultPath, {}, reply) >= 1) defaultPath = reply.data[0];
}

void CDemoCore::ReadResidual() {
    CctReply reply;
    // The residual is bytes 1 to 3 of a 4-byte reply, low byte first.
    if (driver.Request(kHdrAcceptLimit, {}, reply) == 4) {
        residual = reply.data[1] | (reply.data[2] << 8) | (static_cast<unsigned>(reply.data[3]) << 16);
    } else {
        residual = 0;
    }
}
