#include "coindata/coin_description_file.h"

#include "coindata/checksum_envelope.h"
#include "coindata/data_file_reader.h"
#include "coindata/enciphered_file.h"
#include "coindata/file_messages.h"
#include "coindata/file_result.h"
#include "cipher/block_cipher.h"

namespace {

constexpr char kDamagedText[] = "Coin Description File \"%s\" Checksum Error";
constexpr char kReadCaption[] = "Reading File";

// Opens the file and takes its enciphered content when size and checksum are right.
int ReadEncipheredContent(const char* szPath, CoinDescriptionContent& content) {
    DataFileReader reader;
    int result = reader.Open(szPath);
    if (result == kFileCannotOpen) return result;
    if (result == kFileOk && (reader.ContentSize() != content.size() || !reader.Read(content.data(), content.size())))
        result = kFileDamaged;
    if (result == kFileDamaged) ShowReaderMessage(WithPath(kDamagedText, szPath), kReadCaption);
    return result;
}

} // namespace

int ReadCoinDescription(const char* szPath) {
    if (szPath == nullptr) return kFileCannotOpen;
    CoinDescriptionContent content;
    const int result = ReadEncipheredContent(szPath, content);
    if (result != kFileOk) return result;
    DecipherBuffer(content.data(), static_cast<uint32_t>(content.size()), kFileCipherKey);
    if (!CoinDescriptionCrcMatches(content)) return kFileDamaged;
    CurrentCoinDescription = DecodeCoinDescription(content);
    abCoinImage = CoinImageOf(content);
    return kFileOk;
}
