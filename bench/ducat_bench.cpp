// Coin description write and log export against the virtual acceptor paced
// like a real wire (10 bits a byte), at 57600 and 115200 bit/s. Reports the
// wall time of each transfer and its ratio to the pure wire time of the
// bytes exchanged (target: under 1.15).
#include "commands/acceptor_commands.h"
#include "commands/protocol/acceptor_layouts.h"
#include "commands/coin_table_read.h"
#include "commands/log_read.h"
#include "coindata/records/coin_description.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "link/log_queue.h"
#include "link/port_settings.h"
#include "platform/clock.h"
#include "sim/ducat/ducat_acceptor.h"
#include "sim/pty/pty_server.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kBitsPerByte = 10;
constexpr size_t kLogPages = 64;

// The virtual acceptor on a paced pty, the port of every run.
class PacedLine {
public:
    explicit PacedLine(uint32_t bitsPerSecond) : bps_(bitsPerSecond) {
        device_.SetLogPages(kLogPages, 7);
        sim::ServerOptions options;
        options.line.bitsPerSecond = bitsPerSecond;
        server_ = std::make_unique<sim::PtyServer>(device_, options);
        server_->Start();
        SetPortName(server_->HostPath());
        dwBaudRate = bitsPerSecond;
    }
    ~PacedLine() { server_->Stop(); }

    uint64_t Bytes() const { return server_->BytesIn() + server_->BytesOut(); }
    double WireSeconds(uint64_t bytes) const { return static_cast<double>(bytes) * kBitsPerByte / bps_; }

private:
    uint32_t bps_;
    sim::DucatAcceptor device_;
    std::unique_ptr<sim::PtyServer> server_;
};

void WaitFor(const std::function<bool()>& condition) {
    while (!condition()) std::this_thread::sleep_for(std::chrono::microseconds(200));
}

void RunToEnd(uint8_t subCommand, int32_t next) {
    StartRequest request;
    request.subCommand = subCommand;
    request.nextCommand = next;
    StartComRun(request);
    WaitFor([] { return !RunExists(); });
    LogQueueDrain(nullptr);
}

// After the write the pass moves on to the table read: here it ends the run
// instead, so the figure is the write alone.
void EndAfterWrite(RunState&) { StopRun(); }

// Counts the log dump files the runs write.
class DumpCounter final : public FrontEnd {
public:
    void EnableCommandControls(bool) override {}
    void WriteIdentityLine(const char*) override {}
    void RefreshDeviceCoinList() override {}
    void LogDumpWritten() override { dumps.fetch_add(1); }
    std::atomic<int> dumps{0};
};
DumpCounter g_dumpCounter;

struct Transfer {
    uint8_t subCommand;
    std::function<bool()> done; // true once the transfer's data is all in
};

void Measure(benchmark::State& state, const std::function<Transfer()>& prepare) {
    LogQueueInit();
    InstallFrontEnd(&g_dumpCounter);
    RegisterAcceptorCommands();
    RegisterExtensionHandler(acceptor::kSubReadTable, EndAfterWrite);
    PacedLine line(static_cast<uint32_t>(state.range(0)));
    RunToEnd(acceptor::kSubIdentify, 0); // the cipher key
    double wall = 0;
    double wire = 0;
    for (auto _ : state) {
        const Transfer transfer = prepare();
        const uint64_t before = line.Bytes();
        const auto start = Clock::now();
        StartRequest request;
        request.subCommand = transfer.subCommand;
        request.nextCommand = transfer.subCommand;
        StartComRun(request);
        WaitFor(transfer.done);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const uint64_t moved = line.Bytes() - before;
        WaitFor([] { return !RunExists(); });
        LogQueueDrain(nullptr);
        state.SetIterationTime(seconds);
        wall += seconds;
        wire += line.WireSeconds(moved);
    }
    RegisterExtensionHandler(acceptor::kSubReadTable, HandleReadCoinTable);
    state.counters["wall_ms"] = benchmark::Counter(wall * 1e3 / static_cast<double>(state.iterations()));
    state.counters["wire_ms"] = benchmark::Counter(wire * 1e3 / static_cast<double>(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(wall / wire);
}

void BM_CoinDescriptionWrite(benchmark::State& state) {
    Measure(state, [] {
        for (size_t i = 0; i < abCoinImage.size(); ++i) abCoinImage[i] = static_cast<uint8_t>(i * 7);
        Mailbox.iTargetCoinIndex.store(3);
        return Transfer{acceptor::kSubWriteCoin, [] { return !RunExists() || Mailbox.bStopThread.load() != 0; }};
    });
}

void BM_LogExport64Pages(benchmark::State& state) {
    Measure(state, [] {
        const int dumps = g_dumpCounter.dumps.load();
        return Transfer{acceptor::kSubReadLog, [dumps] { return g_dumpCounter.dumps.load() > dumps; }};
    });
}

BENCHMARK(BM_CoinDescriptionWrite)->Arg(57600)->Arg(115200)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogExport64Pages)->Arg(57600)->Arg(115200)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
