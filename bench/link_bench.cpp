// The link's costs over a pty pair with a device thread answering:
// (1) the host's added latency per exchange, from the device's last reply
//     byte written to the host's read returning (target: median < 1 ms);
// (2) the CPU time of a read that times out after about 1 s (target < 5 ms).
#include "link/com_port.h"
#include "link/command_mailbox.h"
#include "link/frame_codec.h"
#include "link/port_settings.h"
#include "link/checksums.h"
#include "sim/pty/pty_pair.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kRequestBytes = 11;
constexpr double kLatencyTargetUs = 1000.0;
constexpr double kSilentReadCpuTargetMs = 5.0;

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The reply a device gives: short form with 101 data bytes, or long form
// with 266.
std::vector<uint8_t> Reply(bool longForm) {
    std::vector<uint8_t> bytes = longForm ? std::vector<uint8_t>{1, 0x0A, 2, 0, 0x01} : std::vector<uint8_t>{1, 101, 2, 0};
    const size_t body = longForm ? 265 : 101;
    for (size_t i = 0; i < body; ++i) bytes.push_back(static_cast<uint8_t>(i));
    bytes.push_back(SimpleChecksum(bytes.data(), bytes.size()));
    return bytes;
}

// Answers every request on the master side; stamps the moment just before
// it writes the reply (so the figure includes the device's own write call).
class AnsweringDevice {
public:
    AnsweringDevice(int masterFd, std::vector<uint8_t> reply) : fd_(masterFd), reply_(std::move(reply)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~AnsweringDevice() {
        stop_ = true;
        thread_.join();
    }
    // The stamp of reply number `n` (1-based), waiting briefly if needed.
    int64_t StampOf(uint64_t n) const {
        while (answered_.load(std::memory_order_acquire) < n) std::this_thread::yield();
        return stamp_.load(std::memory_order_acquire);
    }

private:
    void Run() {
        uint8_t request[kRequestBytes];
        size_t have = 0;
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const ssize_t r = ::read(fd_, request + have, sizeof request - have);
            if (r <= 0) continue;
            have += static_cast<size_t>(r);
            if (have < sizeof request) continue;
            have = 0;
            stamp_.store(NowNs(), std::memory_order_release);
            answered_.fetch_add(1, std::memory_order_acq_rel);
            size_t sent = 0;
            while (sent < reply_.size()) {
                const ssize_t w = ::write(fd_, reply_.data() + sent, reply_.size() - sent);
                if (w < 0 && errno == EINTR) continue;
                if (w <= 0) break;
                sent += static_cast<size_t>(w);
            }
        }
    }

    int fd_;
    std::vector<uint8_t> reply_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int64_t> stamp_{0};
    std::atomic<uint64_t> answered_{0};
};

// The host's port as a run opens it, on the slave side of `pty`.
std::unique_ptr<platform::SerialPort> OpenHostPort(const sim::PtyPair& pty) {
    std::unique_ptr<platform::SerialPort> port;
    if (pty.SlavePath().size() > kPortNameChars) return nullptr;
    std::strcpy(szPortName, pty.SlavePath().c_str());
    if (!OpenComPort(port)) return nullptr;
    return port;
}

struct Figures {
    double medianAddedUs[2] = {-1, -1};
    double p99AddedUs[2] = {-1, -1};
    double silentReadCpuMs = -1;
    double silentReadWallMs = -1;
} g_figures;

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void BM_ExchangeAddedLatency(benchmark::State& state) {
    const bool longForm = state.range(0) != 0;
    sim::PtyPair pty;
    auto port = OpenHostPort(pty);
    if (!port) {
        state.SkipWithError("cannot open the pty");
        return;
    }
    const ReplyForm form = longForm ? ReplyForm::Long : ReplyForm::Short;
    const int expectedHead = longForm ? 266 : 104;
    AnsweringDevice device(pty.MasterFd(), Reply(longForm));
    const size_t length = BeginRequest(255, 6);
    SealRequest(length);
    std::vector<double> addedUs;
    uint64_t exchanges = 0;
    for (auto _ : state) {
        const ExchangeOutcome outcome = Exchange(*port, length, expectedHead, form);
        const int64_t returned = NowNs();
        if (outcome.status != ExchangeStatus::Ok) {
            state.SkipWithError("exchange failed");
            break;
        }
        addedUs.push_back(static_cast<double>(returned - device.StampOf(++exchanges)) / 1e3);
    }
    const int index = longForm ? 1 : 0;
    g_figures.medianAddedUs[index] = Percentile(addedUs, 0.5);
    g_figures.p99AddedUs[index] = Percentile(addedUs, 0.99);
    state.counters["added_median_us"] = g_figures.medianAddedUs[index];
    state.counters["added_p99_us"] = g_figures.p99AddedUs[index];
    state.SetLabel(longForm ? "271-byte long-form reply" : "106-byte short reply");
}
BENCHMARK(BM_ExchangeAddedLatency)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_SilentReadCpu(benchmark::State& state) {
    sim::PtyPair pty;
    auto port = OpenHostPort(pty);
    if (!port) {
        state.SkipWithError("cannot open the pty");
        return;
    }
    double cpuMs = 0;
    double wallMs = 0;
    int reads = 0;
    for (auto _ : state) {
        const double cpuStart = ThreadCpuMs();
        const auto wallStart = Clock::now();
        benchmark::DoNotOptimize(ReadReplyHead(*port, ReplyForm::Short)); // nothing answers: -1 after 1020 ms
        wallMs += std::chrono::duration<double, std::milli>(Clock::now() - wallStart).count();
        cpuMs += ThreadCpuMs() - cpuStart;
        ++reads;
    }
    g_figures.silentReadCpuMs = cpuMs / reads;
    g_figures.silentReadWallMs = wallMs / reads;
    state.counters["cpu_ms_per_read"] = g_figures.silentReadCpuMs;
    state.counters["wall_ms_per_read"] = g_figures.silentReadWallMs;
}
BENCHMARK(BM_SilentReadCpu)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

const char* Verdict(double value, double target) {
    if (value < 0) return "not measured";
    return value < target ? "met" : "MISSED";
}

void PrintSummary() {
    std::printf("\nLink figures over a pty pair\n");
    const char* forms[2] = {"short reply (106 bytes)", "long reply (271 bytes)"};
    for (int i = 0; i < 2; ++i) {
        std::printf("  added latency per exchange, %-24s median %8.1f us, p99 %8.1f us  (target median < %.0f us: %s)\n",
                    forms[i], g_figures.medianAddedUs[i], g_figures.p99AddedUs[i], kLatencyTargetUs,
                    Verdict(g_figures.medianAddedUs[i], kLatencyTargetUs));
    }
    std::printf("  silent read timing out after %.0f ms: %.3f ms CPU per read  (target < %.0f ms: %s)\n",
                g_figures.silentReadWallMs, g_figures.silentReadCpuMs, kSilentReadCpuTargetMs,
                Verdict(g_figures.silentReadCpuMs, kSilentReadCpuTargetMs));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    PrintSummary();
    benchmark::Shutdown();
    return 0;
}
