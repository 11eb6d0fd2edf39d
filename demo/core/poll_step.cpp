// One poll of a connected device shown in the fields: counts, money sums,
// outlet flashes and the error line.
#include "demo/core/demo_core.h"

#include "demo/texts/coin_value.h"
#include "demo/texts/error_text.h"

namespace {
constexpr uint8_t kErrorCoinReturn = 254; // the coin return lever empties escrow
constexpr uint8_t kFlashPictureMask = (1u << kFlashPictures) - 1;
} // namespace

int CDemoCore::PollStep() {
    PollCounts counts;
    const int events = driver.PollEvents(counts);
    if (events < 0) return 0;
    if (hooks.eventsRead) hooks.eventsRead(counts);
    if (events == 0) return 1;

    CountCredits(counts);
    CountOutlets(counts);
    errorLine = ErrorLine(counts.errorCode);
    if (counts.errorCode == kErrorCoinReturn && (m_OptionFlags & kOptionEscrow) != 0) {
        escrowSum = 0;
        escrowText = MoneyText(0);
    }
    if (acceptLimit != 0) ReadResidual();
    Refresh();
    return 1;
}

void CDemoCore::CountCredits(const PollCounts& counts) {
    uint32_t credit = 0;
    bool credited = false;
    for (int p = 1; p <= kCoinPositions; ++p) {
        const size_t i = static_cast<size_t>(p - 1);
        const uint8_t c = counts.coins[static_cast<size_t>(p)];
        count[i] += c;
        credit += c * coinValue[i];
        credited = credited || c != 0;
    }
    if (!credited) return;
    creditSum += credit;
    creditText = MoneyText(creditSum);
    if ((m_OptionFlags & kOptionEscrow) != 0) {
        escrowSum += credit;
        escrowText = MoneyText(escrowSum);
    }
}

void CDemoCore::CountOutlets(const PollCounts& counts) {
    uint8_t flash = counts.outlets[0] != 0 ? 1 : 0;
    for (int k = 1; k <= kShownOutlets; ++k) {
        if (counts.outlets[static_cast<size_t>(k)] != 0) flash |= static_cast<uint8_t>(1u << k);
        outletTotal[static_cast<size_t>(k - 1)] += counts.outlets[static_cast<size_t>(k)];
    }
    rejectTotal += counts.outlets[0];
    FlashOutlets(flash);
}

void CDemoCore::FlashOutlets(uint8_t bits) {
    activeOutlets = bits & kFlashPictureMask;
    if (hooks.flashOutlets) hooks.flashOutlets(activeOutlets);
}

void CDemoCore::EndOutletFlash() { activeOutlets = 0; }
