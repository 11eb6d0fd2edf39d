#include "ui/result_fields.h"

#include <cstdio>

namespace {

std::string CoinField(const char* coinId) {
    char text[16];
    std::snprintf(text, sizeof text, " %.6s", coinId);
    return text;
}

std::string ErrorsField(int32_t stat, int32_t neural) {
    char text[64];
    std::snprintf(text, sizeof text, "Stat (%d) + Neural (%d) = %d", static_cast<int>(stat), static_cast<int>(neural),
                  static_cast<int>(stat + neural));
    return text;
}

} // namespace

ResultFields FormatResultFields(const CoinResultRecord& r, uint32_t eventCounter) {
    ResultFields f;
    f.largeBestCoin = r.bAccepted != 0;
    f.bestCoin = CoinField(r.szBestCoin);
    f.nextCoin = CoinField(r.szNextCoin);
    f.bestErrors = ErrorsField(r.aiStatErrors[0], r.aiNeuralErrors[0]);
    f.nextErrors = ErrorsField(r.aiStatErrors[1], r.aiNeuralErrors[1]);
    char text[128];
    const uint8_t* a = r.abResultA;
    const uint8_t* b = r.abResultB;
    std::snprintf(text, sizeof text, "Buffer (A.B): %d.%d    %d.%d    %d.%d    %d.%d    %d.%d    Cnt = %d", a[0], b[0],
                  a[1], b[1], a[2], b[2], a[3], b[3], a[4], b[4], static_cast<int>(eventCounter));
    f.buffer = text;
    return f;
}
