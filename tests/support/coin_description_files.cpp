#include "tests/support/coin_description_files.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/files/enciphered_file.h"

std::vector<uint8_t> EncodeCoinDescriptionFile(const CoinDescription& description, const CoinImage& image) {
    CoinDescriptionContent content = EncodeCoinDescriptionContent(description, image);
    EncipherFileContent(content.data(), content.size());
    std::vector<uint8_t> file(content.begin(), content.end());
    file.resize(kCoinDescriptionFileBytes);
    StoreEnvelope(file.data() + content.size(), ContentSum(content.data(), content.size()));
    return file;
}
