#include "coindata/records/coin_set.h"

#include "coindata/records/field_codec.h"

#include <cstring>

CoinSet stCoinSet = InitialCoinSet();

namespace {
constexpr size_t kNamedSlots = 16;
constexpr uint32_t kNamedSlotReserved1 = 32;
constexpr int32_t kNamedSlotDivider = 2;
constexpr char kEmptySlotId[] = "......";
constexpr char kEmptySlotComment[] = "*";
constexpr auto kSlotFields = [](auto& entry, auto& c) { VisitCoinSetSlot(entry, c); };
} // namespace

CoinSet InitialCoinSet() {
    CoinSet set{};
    for (size_t i = 0; i < kNamedSlots; ++i) {
        CoinSetEntry& slot = set[i];
        slot.dwReserved1 = kNamedSlotReserved1;
        std::memcpy(slot.szCoinId, kEmptySlotId, sizeof kEmptySlotId);
        std::memcpy(slot.szComment, kEmptySlotComment, sizeof kEmptySlotComment);
        slot.iErrorDivider = kNamedSlotDivider;
    }
    return set;
}

void InitCoinSet() { stCoinSet = InitialCoinSet(); }

CoinSetSlotBytes EncodeCoinSetSlot(const CoinSetEntry& entry) {
    return EncodeFields<kCoinSetSlotBytes>(entry, kSlotFields);
}

CoinSetEntry DecodeCoinSetSlot(const CoinSetSlotBytes& bytes) {
    CoinSetEntry entry = DecodeFields<CoinSetEntry>(bytes, kSlotFields);
    entry.bPresent = 0;
    return entry;
}
