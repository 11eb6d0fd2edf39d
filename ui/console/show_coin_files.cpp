// `ducat show` for a coin's statistics archive, its weights and a coin
// description file.
#include "coindata/files/enciphered_file.h"
#include "coindata/records/coin_description.h"
#include "coindata/records/coin_stat_record.h"
#include "coindata/records/coin_weights.h"
#include "coindata/records/current_coin.h"
#include "ui/console/file_show_parts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t kComponents = 3;

// "T%d.%d C%d" of measurement point k = 3t + c.
std::string PointLabel(size_t k) {
    const size_t t = k / kComponents;
    char label[16];
    std::snprintf(label, sizeof label, "T%d.%d C%d", static_cast<int>(t / 2), static_cast<int>(t % 2),
                  static_cast<int>(k % kComponents));
    return label;
}

// Thousandths of a unit as a decimal number.
std::string Thousandths(int32_t v) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%d.%03d", v < 0 ? "-" : "", std::abs(v / 1000), std::abs(v % 1000));
    return text;
}

} // namespace

bool ShowArchiveFile(const uint8_t* content, size_t n, FieldPrinter& p) {
    const auto show = [&p](size_t i, const CoinStatRecordBytes& bytes) {
        const CoinStatRecord r = DecodeCoinStatRecord(bytes);
        p.Heading("coin " + std::to_string(i));
        p.Text("D1 D2 Time1 Time2", Thousandths(r.iD1) + " " + Thousandths(r.iD2) + " " + Thousandths(r.iTime1) + " " +
                                        Thousandths(r.iTime2));
        for (size_t k = 0; k < kMeasurementPoints; ++k) {
            const PointSample& s = r.aPoints[k];
            p.Text(PointLabel(k).c_str(), "Max " + std::to_string(s.iMax) + "  End " + std::to_string(s.iEnd) +
                                              "  Pos " + std::to_string(s.iPos) + "  C " + std::to_string(s.iC));
        }
    };
    return ShowCountedRecords<CoinStatRecordBytes>(content, n, kArchiveCapacity, p, show);
}

bool ShowWeightsFile(const uint8_t* content, size_t n, FieldPrinter& p) {
    const bool sized = n == kCoinWeightsBytes;
    p.Check("size", sized);
    if (!sized) return false;
    CoinWeightsBytes bytes;
    std::copy_n(content, bytes.size(), bytes.begin());
    const CoinWeights w = DecodeCoinWeights(bytes);
    for (size_t k = 0; k < kMeasurementPoints; ++k) {
        p.Text(PointLabel(k).c_str(), "Max " + std::to_string(w.aiWords[3 * k]) + "  End " +
                                          std::to_string(w.aiWords[3 * k + 1]) + "  Pos " +
                                          std::to_string(w.aiWords[3 * k + 2]));
    }
    p.Number("D1 weight", w.aiWords[kD1Weight]);
    p.Number("D2 weight", w.aiWords[kD2Weight]);
    p.Number("Time1 weight", w.aiWords[kTime1Weight]);
    p.Number("Time2 weight", w.aiWords[kTime2Weight]);
    p.Number("coins counted", w.iCount);
    return true;
}

bool ShowCoinDescriptionFile(uint8_t* content, size_t n, FieldPrinter& p) {
    if (n != kCoinDescriptionContentBytes) return false;
    CoinDescriptionContent plain;
    std::copy_n(content, plain.size(), plain.begin());
    DecipherFileContent(plain.data(), plain.size());
    const bool crc = CoinDescriptionCrcMatches(plain);
    p.Check("CRC-16", crc);
    const CoinDescription d = DecodeCoinDescription(plain);
    p.Text("coin", d.szCoinId);
    p.Number("coin index in the acceptor", d.bCoinIndex);
    p.Number("service company index", d.bFirm);
    p.Text("created or modified", LocalDateTime(d.tWritten));
    p.Text("denomination", d.szDenomination);
    p.Text("year", d.szYear);
    p.Text("dimensions", d.szDimensions);
    p.Text("country", d.szCountry);
    p.Text("short", d.szShort);
    p.Text("full", d.szFull);
    return crc;
}
