#include "coindata/files/coin_stat_files.h"

#include "coindata/files/data_file_reader.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_messages.h"
#include "coindata/files/file_result.h"
#include "coindata/records/current_coin.h"

#include <string>

namespace {

constexpr char kArchiveDamagedText[] =
    "Ошибка контрольной суммы файла данных статистики <%s>. Для переменных установлены значения по умолчанию";
constexpr char kArchiveCaption[] = "Чтение архива статистики";
constexpr char kWeightsDamagedText[] =
    "Ошибка контрольной суммы файла весовых коэффициентов <%s>. Для переменных установлены значения по "
    "умолчанию";

bool ReadRecords(DataFileReader& reader) {
    size_t count = 0;
    if (!reader.ReadCount(count, kArchiveCapacity, kCoinStatRecordBytes)) return false;
    for (size_t i = 0; i < count; ++i) {
        CoinStatRecordBytes bytes;
        if (!reader.Read(bytes.data(), bytes.size())) return false;
        stArchive[i] = DecodeCoinStatRecord(bytes);
    }
    iArchiveCount = static_cast<int32_t>(count);
    return true;
}

// What a missing or damaged weights file leaves: the reserved words stay.
void ClearWeights(CoinWeights& weights) {
    for (size_t i = 0; i < kFirstReservedWeight; ++i) weights.aiWords[i] = 0;
    weights.iCount = 0;
}

} // namespace

int ReadArchive(const char* szCoinId) {
    iArchiveCount = 0;
    if (szCoinId == nullptr) return kFileCannotOpen;
    const std::string path = ArchivePath(szCoinId);
    DataFileReader reader;
    int result = reader.Open(path);
    if (result == kFileOk && !ReadRecords(reader)) result = kFileDamaged;
    if (result == kFileDamaged) {
        iArchiveCount = 0;
        ShowReaderMessage(WithPath(kArchiveDamagedText, path), kArchiveCaption);
    }
    return result;
}

int ReadWeights(const char* szCoinId, CoinWeights* pWeights) {
    if (szCoinId == nullptr || pWeights == nullptr) return kFileCannotOpen;
    const std::string path = WeightsPath(szCoinId);
    DataFileReader reader;
    CoinWeightsBytes bytes;
    int result = reader.Open(path);
    if (result == kFileOk && !reader.Read(bytes.data(), bytes.size())) result = kFileDamaged;
    if (result == kFileOk) {
        *pWeights = DecodeCoinWeights(bytes);
        return result;
    }
    ClearWeights(*pWeights);
    if (result == kFileDamaged) ShowReaderMessage(WithPath(kWeightsDamagedText, path), kReadDataCaption);
    return result;
}

void LoadCurrentCoinFiles() {
    if (!CoinIdLoadable(szCurrentCoinId)) return;
    ReadWeights(szCurrentCoinId, &stCurrentWeights);
    ReadArchive(szCurrentCoinId);
}
