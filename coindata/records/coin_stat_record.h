// One measured coin passage of a statistics archive: 24 measurement points
// (index k = 3t + c for channel t 0-7 and component c 0-2) and four scalars.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kMeasurementPoints = 24;
constexpr size_t kCoinStatRecordBytes = 432; // 108 signed 32-bit words

struct PointSample {
    int32_t iMax = 0;
    int32_t iEnd = 0;
    int32_t iPos = 0;
    int32_t iC = 0;
};

struct CoinStatRecord {
    PointSample aPoints[kMeasurementPoints];
    int32_t iD1 = 0; // thousandths of the display unit, like the three below
    int32_t iD2 = 0;
    int32_t iTime1 = 0;
    int32_t iTime2 = 0;
    int32_t aiReserved[8] = {};
};

using CoinStatRecordBytes = std::array<uint8_t, kCoinStatRecordBytes>;

CoinStatRecordBytes EncodeCoinStatRecord(const CoinStatRecord& record);
CoinStatRecord DecodeCoinStatRecord(const CoinStatRecordBytes& bytes);
