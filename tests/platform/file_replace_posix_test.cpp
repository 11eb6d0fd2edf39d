// Putting a finished file in the place of another.
#include "platform/file_replace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class FileReplace : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("file-replace-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder;
};

TEST_F(FileReplace, NewContentTakesTheOldFilesPlace) {
    Write(folder / "data.cnf", "old");
    Write(folder / "data.cnf.tmp", "new content");
    ASSERT_TRUE(platform::ReplaceFileWith((folder / "data.cnf.tmp").string(), (folder / "data.cnf").string()));
    EXPECT_EQ("new content", Read(folder / "data.cnf"));
    EXPECT_FALSE(fs::exists(folder / "data.cnf.tmp"));
}

TEST_F(FileReplace, NamesWithoutAFolderAreInTheCurrentOne) {
    const fs::path old = fs::current_path();
    fs::current_path(folder);
    Write("Reference_Book.ref.tmp", "book");
    const bool replaced = platform::ReplaceFileWith("Reference_Book.ref.tmp", "Reference_Book.ref");
    fs::current_path(old);
    ASSERT_TRUE(replaced);
    EXPECT_EQ("book", Read(folder / "Reference_Book.ref"));
}

TEST_F(FileReplace, FailureLeavesTheTargetAsItWas) {
    Write(folder / "dump.tea", "kept");
    EXPECT_FALSE(platform::ReplaceFileWith((folder / "missing.tmp").string(), (folder / "dump.tea").string()));
    EXPECT_EQ("kept", Read(folder / "dump.tea"));
    Write(folder / "dump.tea.tmp", "new");
    EXPECT_FALSE(platform::ReplaceFileWith((folder / "dump.tea.tmp").string(), (folder / "no folder" / "dump.tea").string()));
    EXPECT_EQ("new", Read(folder / "dump.tea.tmp"));
}

} // namespace
