// The coin set: 32 slots carried by the configuration file. The window
// thread writes it only while no run exists.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kCoinSetSlots = 32;
constexpr size_t kCoinSetSlotBytes = 262; // as stored in the configuration file

struct CoinSetEntry {
    int32_t bSelected = 0;
    int32_t bPresent = 0; // 0 after every start: the configuration reader clears it
    uint32_t dwReserved1 = 0;
    char szComment[200] = {};
    char szCoinId[10] = {}; // an empty slot holds "......"
    int32_t iErrorDivider = 0; // Error_Divider, 0-255
    int32_t iParam2 = 0;
    int32_t bEnabled = 0;
    uint32_t dwReserved2 = 0;
    uint32_t dwReserved3 = 0;
    uint8_t abReserved[20] = {};
};

using CoinSet = std::array<CoinSetEntry, kCoinSetSlots>;

extern CoinSet stCoinSet;

// The start-up values: slots 0-15 named "......" with comment "*",
// divider 2 and dwReserved1 32; slots 16-31 all zero.
CoinSet InitialCoinSet();
void InitCoinSet(); // stCoinSet = InitialCoinSet()

// A slot as the configuration file holds it: the identifier comes before
// the comment there. Decoding reads the slot as not present.
template <typename Entry, typename Codec>
void VisitCoinSetSlot(Entry& e, Codec& c) {
    c.Field(e.bSelected);
    c.Field(e.bPresent);
    c.Field(e.dwReserved1);
    c.Field(e.szCoinId);
    c.Field(e.szComment);
    c.Field(e.iErrorDivider);
    c.Field(e.iParam2);
    c.Field(e.bEnabled);
    c.Field(e.dwReserved2);
    c.Field(e.dwReserved3);
    c.Field(e.abReserved);
}

using CoinSetSlotBytes = std::array<uint8_t, kCoinSetSlotBytes>;
CoinSetSlotBytes EncodeCoinSetSlot(const CoinSetEntry& entry);
CoinSetEntry DecodeCoinSetSlot(const CoinSetSlotBytes& bytes);
