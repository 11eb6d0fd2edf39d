// A coin description file of any content: ReadCoinDescription takes it
// with every text terminated and the identity from the image, or leaves
// the loaded description and image as they were.
#include "coindata/files/coin_description_file.h"
#include "coindata/files/enciphered_file.h"
#include "coindata/files/file_result.h"
#include "coindata/records/coin_description.h"
#include "link/checksums.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_files.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kPath[] = "Export/coin.tea";
// The first byte's bits: the rest is the deciphered content (cut or filled
// with zeros to its size, then enciphered), its CRC-16 is made right, the
// checksum trailer is added.
constexpr uint8_t kSealed = 0x01;
constexpr uint8_t kPlain = 0x02;
constexpr uint8_t kRightCrc = 0x04;
constexpr uint8_t kImageBefore = 0xA5;
constexpr char kTextBefore[] = "before";

template <size_t N>
bool Terminated(const char (&text)[N]) {
    return std::memchr(text, '\0', N) != nullptr;
}

bool DescriptionTerminated(const CoinDescription& d) {
    return Terminated(d.szDenomination) && Terminated(d.szYear) && Terminated(d.szDimensions) &&
           Terminated(d.szCountry) && Terminated(d.szShort) && Terminated(d.szFull) && d.szCoinId[6] == '\0';
}

std::vector<uint8_t> FileFrom(const uint8_t* data, size_t size) {
    const uint8_t form = size > 0 ? data[0] : 0;
    std::vector<uint8_t> bytes;
    if (size > 0) bytes.assign(data + 1, data + size);
    if (form & kPlain) {
        bytes.resize(kCoinDescriptionContentBytes);
        if (form & kRightCrc) StoreLe16(bytes.data() + kCoinDescriptionCrcOffset, Crc16(bytes.data(), kCoinDescriptionCrcOffset));
        EncipherFileContent(bytes.data(), bytes.size());
    }
    return (form & kSealed) ? WithEnvelope(std::move(bytes)) : bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchFolder inside;
    CurrentCoinDescription = CoinDescription{};
    std::memcpy(CurrentCoinDescription.szShort, kTextBefore, sizeof kTextBefore);
    abCoinImage.fill(kImageBefore);
    WriteScratchFile(kPath, FileFrom(data, size));

    const int result = ReadCoinDescription(kPath);
    const int boxes = TakeMessageBoxCount();
    if (result == kFileOk) {
        FUZZ_REQUIRE(boxes == 0 && DescriptionTerminated(CurrentCoinDescription));
        const CoinImageFields fields = ReadCoinImageFields(abCoinImage);
        FUZZ_REQUIRE(fields.bCoinIndex == CurrentCoinDescription.bCoinIndex);
        FUZZ_REQUIRE(std::strcmp(fields.szCoinId, CurrentCoinDescription.szCoinId) == 0);
        return 0;
    }
    FUZZ_REQUIRE(result == kFileDamaged && boxes <= 1);
    FUZZ_REQUIRE(std::strcmp(CurrentCoinDescription.szShort, kTextBefore) == 0);
    for (uint8_t b : abCoinImage) FUZZ_REQUIRE(b == kImageBefore);
    return 0;
}
