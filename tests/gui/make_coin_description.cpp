// Writes a coin description file for the window tests: a coin "XX999Z" for
// coin index 4, with every text filled so the dialog's fields can be checked.
//
//   gui_coin_description PATH
#include "coindata/files/coin_description_file.h"
#include "coindata/records/coin_image.h"
#include "tests/support/coin_description_files.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr char kCoinId[] = "XX999Z";
constexpr uint8_t kCoinIndex = 4;
constexpr uint8_t kFirm = 7;
constexpr uint32_t kWritten = 1700000000; // 2023-11-14 22:13:20 UTC
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gui_coin_description PATH\n");
        return 2;
    }
    CoinDescription d;
    PutText(d.szDenomination, "999 units");
    PutText(d.szYear, "2023");
    PutText(d.szDimensions, "25.5 mm, 7.8 g");
    PutText(d.szCountry, "Testland");
    PutText(d.szShort, "A coin made for the window tests");
    PutText(d.szFull, "Every text of this description is filled, so the dialog shows each field.");
    PutText(d.szCoinId, kCoinId);
    d.bFirm = kFirm;
    d.tWritten = kWritten;
    d.bCoinIndex = kCoinIndex;
    CoinImage image{};
    CoinImageFields fields;
    PutText(fields.szCoinId, kCoinId);
    fields.bFirm = kFirm;
    fields.tWritten = kWritten;
    fields.bCoinIndex = kCoinIndex;
    WriteCoinImageFields(image, fields);
    const std::vector<uint8_t> file = EncodeCoinDescriptionFile(d, image);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) return 1;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
