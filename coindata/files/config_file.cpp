#include "coindata/files/config_file.h"

#include "coindata/files/data_file_reader.h"
#include "coindata/files/data_file_writer.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_messages.h"
#include "coindata/files/file_result.h"
#include "coindata/records/config_state.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char kMissingText[] =
    "Configuration file \"Ducat Console.cnf\" not found. Variables are set to default values.";
constexpr char kDamagedText[] =
    "Error checksum configuration file \"Ducat Console.cnf\". Variables are set to default values.";
constexpr char kReadCaption[] = "Reading from file \"Ducat Console.cnf\"";
constexpr char kWriteText[] = "Error writing configuration file \"Ducat Console.cnf\"";
constexpr char kConfigWriteCaption[] = "Write to File \"Ducat Console.cnf\"";

// Bytes beyond the newest version's content are not needed.
int ReadContent(DataFileReader& reader, ConfigRecord& record) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(reader.ContentSize(), kConfigContentBytes));
    std::vector<uint8_t> content(n);
    if (!reader.Read(content.data(), n) || !DecodeConfig(content.data(), n, record)) return kFileDamaged;
    return kFileOk;
}

} // namespace

int ReadConfig() {
    DataFileReader reader;
    ConfigRecord record = CollectConfig();
    int result = reader.Open(kConfigFileName);
    if (result == kFileOk) result = ReadContent(reader, record);
    bConfigDefaults = result == kFileOk ? 0 : 1;
    if (result == kFileOk) {
        ApplyConfig(record);
    } else {
        ShowReaderMessage(result == kFileCannotOpen ? kMissingText : kDamagedText, kReadCaption);
    }
    return result;
}

int WriteConfig() {
    const std::vector<uint8_t> content = EncodeConfig(CollectConfig());
    if (WriteDataFile(kConfigFileName, content.data(), content.size())) return kFileOk;
    ShowWriterMessage(kWriteText, kConfigWriteCaption);
    return kFileCannotOpen;
}
