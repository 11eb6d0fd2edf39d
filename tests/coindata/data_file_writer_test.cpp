#include "coindata/files/config_file.h"
#include "coindata/files/data_file_writer.h"
#include "coindata/files/file_result.h"

#include "coindata_test_support.h"

#include <sys/resource.h>

#include <csignal>

namespace {

// Lets the system cut every file of this process at `bytes`, as a full
// disk would, for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool Ok() const { return ok_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool ok_ = false;
};

class DataFileWriterTest : public DataFileTest {};

TEST_F(DataFileWriterTest, ReplacesTheOldFileAndLeavesNoTemporaryFile) {
    WriteFileBytes("data.bin", Bytes(10, 1));
    const Bytes content(3000, 0x81);
    ASSERT_TRUE(WriteDataFile("data.bin", content.data(), content.size()));
    EXPECT_EQ(WithEnvelope(content), ReadFileBytes("data.bin"));
    EXPECT_FALSE(FileExists(TemporaryPathFor("data.bin")));
}

TEST_F(DataFileWriterTest, AConfigurationWriteCutShortReportsAndKeepsTheOldFile) {
    const Bytes old = WithEnvelope(Bytes(60, 0));
    WriteFileBytes("Ducat Console.cnf", old);
    {
        FileSizeLimit limit(5000); // the new file is 12641 bytes
        ASSERT_TRUE(limit.Ok());
        EXPECT_EQ(kFileCannotOpen, WriteConfig());
    }
    ExpectOneMessage("Error writing configuration file \"Ducat Console.cnf\"", "Write to File \"Ducat Console.cnf\"",
                     platform::MessageIcon::Stop);
    EXPECT_EQ(old, ReadFileBytes("Ducat Console.cnf"));
    EXPECT_FALSE(FileExists("Ducat Console.cnf.tmp"));
}

TEST_F(DataFileWriterTest, BackslashesOfTheProgramsPathsAreFolders) {
    const Bytes content(8, 2);
    ASSERT_TRUE(WriteDataFile(".\\Coins Stat\\x.bin", content.data(), content.size()));
    EXPECT_EQ(WithEnvelope(content), ReadFileBytes("Coins Stat/x.bin"));
}

} // namespace
