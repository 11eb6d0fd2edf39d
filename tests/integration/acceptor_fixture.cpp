#include "acceptor_fixture.h"

#include "commands/acceptor_commands.h"
#include "commands/protocol/acceptor_layouts.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "link/front_end.h"
#include "link/port_settings.h"
#include "platform/clock.h"
#include "sim/ducat/line_error_port.h"
#include "tests/support/mailbox_reset.h"
#include "tests/support/run_environment_parts.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <unistd.h>

namespace integration {
namespace {

std::mutex g_hookLock;
std::string g_identityLine;
std::atomic<int> g_refreshes{0};
std::atomic<int> g_openings{0};

void CaptureIdentityLine(const char* line) {
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_identityLine = line;
}

// What the runs show, kept for the tests to look at.
class CapturingFrontEnd final : public FrontEnd {
public:
    void EnableCommandControls(bool) override {}
    void WriteIdentityLine(const char* line) override { CaptureIdentityLine(line); }
    void RefreshDeviceCoinList() override { ++g_refreshes; }
};
CapturingFrontEnd g_frontEnd;

std::unique_ptr<platform::SerialPort> CountingOpener(const std::string& name, uint32_t& error) {
    ++g_openings;
    return sim::OpenPortWithLineErrors(name, error);
}

} // namespace

void AcceptorTest::SetUp() {
    testing_support::ResetMailbox();
    LogQueueInit();
    RegisterAcceptorCommands();
    InstallFrontEnd(&g_frontEnd);
    testing_support::RestoreRunEnvironment();
    testing_support::UsePortOpener(CountingOpener);
    CaptureIdentityLine("");
    g_refreshes = 0;
    g_openings = 0;
    (void)sim::SharedLineErrors().Take();

    // Log dumps are written to the current folder: a fresh one per test.
    oldFolder_ = std::filesystem::current_path().string();
    char folder[] = "/tmp/ducat-it-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(folder));
    dumpFolder = folder;
    std::filesystem::current_path(dumpFolder);

    device_ = std::make_unique<sim::DucatAcceptor>();
    device_->SetLineErrorSignal(&sim::SharedLineErrors());
    server_ = std::make_unique<sim::PtyServer>(*device_, serverOptions);
    ASSERT_TRUE(server_->Ok());
    server_->Start();
    ASSERT_LT(server_->HostPath().size(), sizeof szPortName);
    ASSERT_TRUE(SetPortName(server_->HostPath()));
    dwBaudRate = 57600;
}

void AcceptorTest::TearDown() {
    if (RunExists()) Stop();
    if (server_) server_->Stop();
    server_.reset();
    device_.reset();
    testing_support::RestoreRunEnvironment();
    InstallFrontEnd(nullptr);
    ClearExtensionHandlers();
    LogQueueDrain(nullptr);
    if (!oldFolder_.empty()) std::filesystem::current_path(oldFolder_);
    if (!dumpFolder.empty()) std::filesystem::remove_all(dumpFolder);
}

bool AcceptorTest::Start(uint8_t subCommand, int32_t nextCommand, bool resetRecordNumber) {
    StartRequest request;
    request.subCommand = subCommand;
    request.nextCommand = nextCommand;
    request.resetRecordNumber = resetRecordNumber;
    request.failureMessage = "start failed";
    return StartComRun(request);
}

bool AcceptorTest::WaitUntil(const std::function<bool()>& condition, uint32_t timeoutMs) {
    const uint64_t end = platform::SteadyMilliseconds() + timeoutMs;
    while (!condition()) {
        if (platform::SteadyMilliseconds() > end) return false;
        platform::SleepMilliseconds(5);
    }
    return true;
}

bool AcceptorTest::WaitForRunEnd(uint32_t timeoutMs) {
    return WaitUntil([] { return !RunExists(); }, timeoutMs);
}

bool AcceptorTest::Stop() {
    Mailbox.bStopThread = 1;
    return WaitForRunEnd();
}

void AcceptorTest::Identify() {
    ASSERT_TRUE(Start(acceptor::kSubIdentify, 0));
    ASSERT_TRUE(WaitForRunEnd());
    ASSERT_EQ(1, Mailbox.bDeviceIdentified.load());
}

void AcceptorTest::IdentifyAndReadTable() {
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitUntil([] { return Mailbox.bSubCommand.load() == acceptor::kSubMonitor; }));
    ASSERT_TRUE(Stop());
}

void AcceptorTest::OnDevice(const std::function<void(sim::DucatAcceptor&)>& change) {
    server_->WithDevice([&](sim::Device& device) { change(static_cast<sim::DucatAcceptor&>(device)); });
}

int AcceptorTest::DeviceRequests(uint8_t function) {
    int n = 0;
    OnDevice([&](sim::DucatAcceptor& d) { n = d.Requests(function); });
    return n;
}

bool AcceptorTest::WaitForRequests(uint8_t function, int before, int more) {
    return WaitUntil([&] { return DeviceRequests(function) >= before + more; });
}

const std::vector<std::string>& AcceptorTest::Lines() {
    LogQueueDrain([this](const char* line) { lines_.emplace_back(line); });
    return lines_;
}

int AcceptorTest::Count(const std::string& line) {
    int n = 0;
    for (const auto& l : Lines()) n += l == line ? 1 : 0;
    return n;
}

int AcceptorTest::Find(const std::string& line, size_t from) {
    const auto& all = Lines();
    for (size_t i = from; i < all.size(); ++i) {
        if (all[i] == line) return static_cast<int>(i);
    }
    return -1;
}

std::string AcceptorTest::IdentityLine() {
    std::lock_guard<std::mutex> guard(g_hookLock);
    return g_identityLine;
}

int AcceptorTest::Refreshes() { return g_refreshes.load(); }
int AcceptorTest::PortOpenings() { return g_openings.load(); }

} // namespace integration
