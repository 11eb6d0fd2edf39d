// Shared fixtures of the coin data tests: a fresh current directory per
// test, captured message boxes, and whole-file helpers.
#pragma once

#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
bool FileExists(const std::string& path);
// Content followed by its checksum trailer.
Bytes WithEnvelope(const Bytes& content);
int32_t Le32At(const Bytes& bytes, size_t at);
void PutLe32(Bytes& bytes, size_t at, uint32_t value);
std::string TextAt(const Bytes& bytes, size_t at, size_t width);

// Runs every test in a fresh temporary directory, captures the message
// boxes and puts the settings back to their start-up values.
class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::vector<platform::MessageBoxRequest>& Messages() const { return messages_; }
    void ExpectOneMessage(const std::string& text, const std::string& caption, platform::MessageIcon icon) const;
    void ExpectNoMessage() const { EXPECT_TRUE(messages_.empty()) << messages_.front().text; }

private:
    std::string previousDirectory_;
    std::string directory_;
    std::vector<platform::MessageBoxRequest> messages_;
    platform::MessageBoxHandler previousHandler_;
};
