// Ducat Console's service thread against replies of any content: the fuzz
// input chooses a starter and then plays the acceptor, reply by reply
// (tests/fuzz/reply_stream.h), through the real frame codec and every
// sub-command handler the run reaches. A run ends by itself or when the
// input is used up.
#include "coindata/files/log_dump_name.h"
#include "coindata/records/device_coin_table.h"
#include "coindata/records/device_info.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/frame_layout.h"
#include "link/front_end.h"
#include "link/log_queue.h"
#include "platform/text_encoding.h"
#include "tests/fuzz/ducat_reply_sealing.h"
#include "tests/fuzz/ducat_session.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_files.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/reply_stream.h"
#include "tests/support/fake_serial_port.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr size_t kIdentityLineChars = 289;

// FUZZ_SHOW_LINES=1 prints the run's status lines, for looking into an input.
const bool kShowLines = std::getenv("FUZZ_SHOW_LINES") != nullptr;

// A front end that checks what the run shows it.
class CheckingFrontEnd final : public FrontEnd {
public:
    void EnableCommandControls(bool /*on*/) override {}
    void WriteIdentityLine(const char* line) override { FUZZ_REQUIRE(std::strlen(line) <= kIdentityLineChars); }
    // The rows the thread hands the window are terminated names.
    void RefreshDeviceCoinList() override {
        for (const DeviceCoinEntry& row : stDeviceCoins.GetDeviceCoins()) {
            FUZZ_REQUIRE(std::memchr(row.szCoinId, '\0', sizeof row.szCoinId) != nullptr);
        }
    }
};
CheckingFrontEnd g_frontEnd;

// The dump's name comes from the acceptor: never a folder, never "..".
void CheckDumpName() {
    const std::string name = LogDumpName(GetDeviceInfo().szSerial);
    FUZZ_REQUIRE(!name.empty() && name.find_first_of("/\\") == std::string::npos);
    FUZZ_REQUIRE(name.find("..") == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    PrepareScratchFolder(argc, argv); // a completed log export writes its dump there
    PrepareDucatSessions();
    InstallFrontEnd(&g_frontEnd);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchFolder inside;
    FuzzInput input(data, size);
    const uint8_t starter = input.Byte();
    const uint8_t value = input.Byte();
    ReplyStream stream(input);
    stream.onExhausted = [] { Mailbox.bStopThread.store(1); };
    stream.seal = SealDucatReply;
    testing_support::FakePortScript script = PlayedBy(stream, false);
    testing_support::FakePortLog log;
    RunDucatSession(starter, value, [&] { return std::make_unique<testing_support::FakeSerialPort>(script, log); });

    FUZZ_REQUIRE(!RunExists() && stream.LongestWrite() <= kFrameBufferSize);
    LogQueueDrain([](const char* line) {
        FUZZ_REQUIRE(std::strlen(line) <= kLogLineChars);
        if (kShowLines) std::printf("%s\n", platform::Cp1251ToUtf8(line).c_str());
    });
    CheckDumpName();
    ClearScratchFiles();
    return 0;
}
