#include "coindata_test_support.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/records/config_state.h"
#include "coindata/records/current_coin.h"
#include "coindata/records/reference_book.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

Bytes WithEnvelope(const Bytes& content) {
    Bytes file = content;
    file.resize(content.size() + kEnvelopeBytes);
    StoreEnvelope(file.data() + content.size(), ContentSum(content.data(), content.size()));
    return file;
}

int32_t Le32At(const Bytes& bytes, size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(bytes.at(at)) | static_cast<uint32_t>(bytes.at(at + 1)) << 8 |
                                static_cast<uint32_t>(bytes.at(at + 2)) << 16 |
                                static_cast<uint32_t>(bytes.at(at + 3)) << 24);
}

void PutLe32(Bytes& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

std::string TextAt(const Bytes& bytes, size_t at, size_t width) {
    std::string text;
    for (size_t i = at; i < at + width && bytes.at(i) != 0; ++i) text += static_cast<char>(bytes[i]);
    return text;
}

void DataFileTest::SetUp() {
    char cwd[4096];
    ASSERT_NE(nullptr, ::getcwd(cwd, sizeof cwd));
    previousDirectory_ = cwd;
    char pattern[] = "/tmp/coindata-test-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    directory_ = pattern;
    ASSERT_EQ(0, ::chdir(directory_.c_str()));
    ASSERT_EQ(0, ::mkdir("Coins Stat", 0755));

    previousHandler_ = platform::SetMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
        messages_.push_back(request);
        return platform::MessageAnswer::Ok;
    });
    ApplyConfig(ConfigRecord{});
    bConfigDefaults = 0;
    ClearReferenceBook();
    iArchiveCount = 0;
}

void DataFileTest::TearDown() {
    platform::SetMessageBoxHandler(previousHandler_);
    ASSERT_EQ(0, ::chdir(previousDirectory_.c_str()));
    std::error_code error;
    std::filesystem::remove_all(directory_, error);
    EXPECT_FALSE(error) << error.message();
}

void DataFileTest::ExpectOneMessage(const std::string& text, const std::string& caption,
                                    platform::MessageIcon icon) const {
    ASSERT_EQ(1u, messages_.size());
    EXPECT_EQ(text, messages_[0].text);
    EXPECT_EQ(caption, messages_[0].caption);
    EXPECT_EQ(icon, messages_[0].icon);
    EXPECT_EQ(platform::MessageButtons::Ok, messages_[0].buttons);
}
