#include "tests/support/coin_description_files.h"

#include "cipher/block_cipher.h"
#include "coindata/checksum_envelope.h"
#include "coindata/enciphered_file.h"

std::vector<uint8_t> EncodeCoinDescriptionFile(const CoinDescription& description, const CoinImage& image) {
    CoinDescriptionContent content = EncodeCoinDescriptionContent(description, image);
    EncipherBuffer(content.data(), static_cast<uint32_t>(content.size()), kFileCipherKey);
    std::vector<uint8_t> file(content.begin(), content.end());
    file.resize(kCoinDescriptionFileBytes);
    StoreEnvelope(file.data() + content.size(), ContentSum(content.data(), content.size()));
    return file;
}
