// `ducat show`: every data file decoded, checksum and CRC-16 judged.
#include "ui/console/file_show.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/files/coin_description_file.h"
#include "coindata/files/log_dump_file.h"
#include "coindata/records/config_record.h"
#include "coindata/records/device_info.h"
#include "coindata/records/reference_book.h"
#include "tests/support/coin_description_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class ShowFile : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = std::filesystem::current_path();
        folder_ = std::filesystem::temp_directory_path() / ("ducat-show-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(folder_);
    }

    static void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<uint8_t> Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    // Content and its checksum trailer.
    static std::vector<uint8_t> Enveloped(std::vector<uint8_t> content) {
        const int32_t sum = ContentSum(content.data(), content.size());
        content.resize(content.size() + 4);
        StoreEnvelope(content.data() + content.size() - 4, sum);
        return content;
    }
    static std::vector<uint8_t> Content(const std::vector<uint8_t>& file) {
        return std::vector<uint8_t>(file.begin(), file.end() - 4);
    }

    // Runs show and returns whether it holds; `output` gets what it printed.
    bool Show(const std::string& path, std::string& output) {
        std::FILE* out = std::tmpfile();
        const bool holds = ShowDataFile(path, out);
        std::rewind(out);
        output.clear();
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, out)) > 0) output.append(buffer, n);
        std::fclose(out);
        return holds;
    }

    static bool Has(const std::string& output, const std::string& line) {
        return output.find(line + "\n") != std::string::npos;
    }

private:
    std::filesystem::path old_;
    std::filesystem::path folder_;
};

TEST_F(ShowFile, CoinDescriptionWithItsCrcJudged) {
    CoinDescription d;
    std::strcpy(d.szCountry, "Россия");
    CoinImage image{};
    CoinImageFields fields;
    fields.bFirm = 7;
    std::strcpy(fields.szCoinId, "RU005B");
    fields.bCoinIndex = 11;
    WriteCoinImageFields(image, fields);
    std::vector<uint8_t> file = EncodeCoinDescriptionFile(d, image);
    Write("coin.tea", file);
    std::string out;
    EXPECT_TRUE(Show("coin.tea", out)) << out;
    EXPECT_TRUE(Has(out, "checksum: holds"));
    EXPECT_TRUE(Has(out, "CRC-16: holds"));
    EXPECT_TRUE(Has(out, "coin: RU005B"));
    EXPECT_TRUE(Has(out, "coin index in the acceptor: 11"));
    EXPECT_TRUE(Has(out, u8"country: Россия"));

    // A changed content byte with a checksum made to fit: the CRC tells.
    std::vector<uint8_t> content = Content(file);
    content[100] ^= 0x40;
    Write("coin.tea", Enveloped(content));
    EXPECT_FALSE(Show("coin.tea", out));
    EXPECT_TRUE(Has(out, "checksum: holds"));
    EXPECT_TRUE(Has(out, "CRC-16: WRONG"));

    file.back() ^= 1;
    Write("coin.tea", file);
    EXPECT_FALSE(Show("coin.tea", out));
    EXPECT_TRUE(Has(out, "checksum: WRONG"));
}

TEST_F(ShowFile, LogDumpWithTheAcceptorsIdentity) {
    DeviceInfo info;
    info.bAddress = 3;
    info.dwSerial = 55667788;
    std::strcpy(info.szSerial, "DUMP-1");
    std::strcpy(info.szManufacturer, "VIRTUAL");
    SetDeviceInfo(info);
    std::vector<uint8_t> pages(3 * 256 + 256, 0x5A);
    pages[226] = 1; // page 0 announces 1 + 2 pages
    pages[227] = 0;
    ASSERT_EQ(0, WriteLogDump(pages.data(), 3 * 256, 1577836800));
    std::string out;
    EXPECT_TRUE(Show("DUMP-1.tea", out)) << out;
    EXPECT_TRUE(Has(out, "CRC-16: holds"));
    EXPECT_TRUE(Has(out, "pages: 3"));
    EXPECT_TRUE(Has(out, "pages announced by page 0: 3"));
    EXPECT_TRUE(Has(out, "acceptor address: 3"));
    EXPECT_TRUE(Has(out, "serial number: 55667788"));
    EXPECT_TRUE(Has(out, "serial number text: DUMP-1"));
    EXPECT_TRUE(Has(out, "manufacturer: VIRTUAL"));

    std::vector<uint8_t> content = Content(Read("DUMP-1.tea"));
    content[5] ^= 0x01;
    Write("DUMP-1.tea", Enveloped(content));
    EXPECT_FALSE(Show("DUMP-1.tea", out));
    EXPECT_TRUE(Has(out, "CRC-16: WRONG"));
}

TEST_F(ShowFile, ConfigurationFields) {
    ConfigRecord record;
    record.iSpeedIndex = 8;
    record.bDeviceAddress = 5;
    std::strcpy(record.szCurrentCoinId, "RU010B");
    std::strcpy(record.stCoinSet[2].szCoinId, "RU002B");
    Write("Ducat Console.cnf", Enveloped(EncodeConfig(record)));
    std::string out;
    EXPECT_TRUE(Show("Ducat Console.cnf", out)) << out;
    EXPECT_TRUE(Has(out, "size: 12641"));
    EXPECT_TRUE(Has(out, "version: 12"));
    EXPECT_TRUE(Has(out, "line speed (bit/s): 115200"));
    EXPECT_TRUE(Has(out, "acceptor address: 5"));
    EXPECT_TRUE(Has(out, "current coin: RU010B"));
    EXPECT_TRUE(Has(out, "-- coin set slot 2"));
    EXPECT_TRUE(Has(out, "coin: RU002B"));
}

TEST_F(ShowFile, ReferenceBookCountIsCheckedAgainstItsRecords) {
    ReferenceBookRecord r;
    std::strcpy(r.szCoinId, "RU1K0B");
    std::strcpy(r.szDenomination, "1000");
    const ReferenceBookRecordBytes bytes = EncodeReferenceBookRecord(r);
    std::vector<uint8_t> content = {2, 0, 0, 0};
    content.insert(content.end(), bytes.begin(), bytes.end());
    Write("Reference_Book.ref", Enveloped(content));
    std::string out;
    // The count says 2, the file holds 1: reported, and only one is shown.
    EXPECT_FALSE(Show("Reference_Book.ref", out));
    EXPECT_TRUE(Has(out, "checksum: holds"));
    EXPECT_TRUE(Has(out, "count: 2"));
    EXPECT_TRUE(Has(out, "count matches the records held: WRONG"));
    EXPECT_TRUE(Has(out, "coin: RU1K0B"));
    EXPECT_EQ(std::string::npos, out.find("-- record 1"));
}

TEST_F(ShowFile, ShortUnknownAndMissingFilesAreNotData) {
    Write("tiny.aut", {1, 2});
    std::string out;
    EXPECT_FALSE(Show("tiny.aut", out));
    EXPECT_TRUE(Has(out, "checksum: WRONG"));
    Write("notes.txt", Enveloped({1, 2, 3}));
    EXPECT_FALSE(Show("notes.txt", out));
    EXPECT_FALSE(Show("absent.tea", out));
    EXPECT_TRUE(Has(out, "cannot open absent.tea"));
    Write("odd.tea", Enveloped(std::vector<uint8_t>(300, 1)));
    EXPECT_FALSE(Show("odd.tea", out));
    EXPECT_TRUE(Has(out, "whole pages and a trailer: WRONG"));
}

} // namespace
