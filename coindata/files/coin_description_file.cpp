#include "coindata/files/coin_description_file.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/files/data_file_reader.h"
#include "coindata/files/enciphered_file.h"
#include "coindata/files/file_messages.h"
#include "coindata/files/file_result.h"

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
    DecipherFileContent(content.data(), content.size());
    if (!CoinDescriptionCrcMatches(content)) return kFileDamaged;
    CurrentCoinDescription = DecodeCoinDescription(content);
    abCoinImage = CoinImageOf(content);
    return kFileOk;
}
