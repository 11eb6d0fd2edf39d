// Pollbench on a noisy line: a virtual acceptor takes about a coin a second
// for two minutes on a 9600 bit/s line that flips one bit in every N bytes,
// while the core polls it as the window does. Printed per run: the credits
// the device took, those the session counted, the events reported lost, the
// events neither counted nor reported (goal 0), the credits counted at 0.00
// (goal 0), and the exchanges lost per flipped byte. Seeded, so a run
// repeats; LINE_BENCH_SECONDS shortens it.
#include "demo/core/demo_core.h"
#include "demo/core/settings.h"
#include "demo/report/poll_session.h"
#include "demo/trace/cct_wire_trace.h"
#include "platform/clock.h"
#include "sim/standard/standard_line.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr uint32_t kLineSpeed = 9600;
constexpr double kCoinsPerSecond = 1.0;
constexpr uint32_t kDefaultSeconds = 120;
constexpr uint32_t kDrainSeconds = 10; // polling on after the last coin
constexpr uint32_t kPollIntervalMs = 200;

uint32_t RunSeconds() {
    const char* text = std::getenv("LINE_BENCH_SECONDS");
    const long seconds = text != nullptr ? std::strtol(text, nullptr, 10) : 0;
    return seconds > 0 ? static_cast<uint32_t>(seconds) : kDefaultSeconds;
}

struct RunFigures {
    uint64_t inserted = 0;    // credits the device took
    uint64_t events = 0;      // events the device produced
    unsigned counted = 0;     // credits the session counted
    unsigned lost = 0;        // events reported lost
    long long unaccounted = 0; // events neither counted nor reported lost
    unsigned unpriced = 0;    // credits counted at 0.00
    unsigned exchanges = 0;
    unsigned failed = 0;      // exchanges that failed
    uint64_t flipped = 0;     // bytes the noise spoiled, both ways
    unsigned identifications = 0;
};

uint64_t Credits(const sim::StandardEventTally& tally) {
    uint64_t credits = 0;
    for (int p = 1; p <= kCoinPositions; ++p) credits += tally.credits[static_cast<size_t>(p)];
    return credits;
}

// Ticks the core as the window's poll timer would, for `seconds`.
void Poll(CDemoCore& core, const uint32_t& intervalMs, uint32_t seconds) {
    const uint64_t end = platform::SteadyMilliseconds() + 1000ull * seconds;
    uint64_t due = platform::SteadyMilliseconds();
    while (platform::SteadyMilliseconds() < end) {
        core.ConnectionTick();
        due += intervalMs;
        const uint64_t now = platform::SteadyMilliseconds();
        if (due > now) platform::SleepMilliseconds(static_cast<uint32_t>(due - now));
        else due = now;
    }
}

RunFigures NoisySession(double flipsPerByte, uint32_t seconds) {
    sim::StandardConfig config;
    config.seed = 7;
    sim::ServerOptions options;
    options.line.bitsPerSecond = kLineSpeed;
    options.line.noisePerByte = flipsPerByte;
    options.line.seed = 11;
    sim::StandardLine line(config, options);

    RunFigures figures;
    CDemoCore core;
    PollSession session(core);
    CctWireTrace wire({}, [&](const CctExchange& x) {
        ++figures.exchanges;
        if (x.result != 0) ++figures.failed;
        if (x.request.size() > kCctHeader && x.request[kCctHeader] == kHdrManufacturerId && x.result == 0) {
            ++figures.identifications;
        }
    });
    uint32_t intervalMs = kPollIntervalMs;
    g_PollInterval = kPollIntervalMs;
    core.driver.portName = line.HostPath();
    core.driver.trace = wire.Hook();
    core.hooks.eventsRead = [&session](const PollCounts& counts) { session.OnEventsRead(counts); };
    core.driver.askReinitialize = [] { return false; };
    core.hooks.setPollTimer = [&intervalMs](uint32_t ms) { intervalMs = ms; };
    core.StartPolling();

    // Coins start once the session has its baseline.
    while (core.prevState != kConnected || core.driver.m_bCounterSeen == 0) Poll(core, intervalMs, 1);
    line.WithDevice([](sim::StandardAcceptor& d) { d.Config().coinsPerSecond = kCoinsPerSecond; });
    Poll(core, intervalMs, seconds);
    line.WithDevice([](sim::StandardAcceptor& d) { d.Config().coinsPerSecond = 0; });
    Poll(core, intervalMs, kDrainSeconds);
    core.HaltPolling();

    sim::StandardEventTally tally;
    line.WithDevice([&tally](sim::StandardAcceptor& d) { tally = d.EventTally(); });
    const SessionSums& sums = session.Sums();
    figures.inserted = Credits(tally);
    figures.events = tally.events;
    for (int p = 1; p <= kCoinPositions; ++p) figures.counted += sums.credits[static_cast<size_t>(p)];
    figures.lost = sums.lost;
    figures.unaccounted = static_cast<long long>(tally.events) - sums.events - sums.lost;
    figures.unpriced = sums.unpriced;
    const sim::LineCounters counters = line.Counters();
    figures.flipped = counters.flippedToDevice + counters.flippedToHost;
    core.driver.trace = nullptr; // the wire trace and the session end before the core
    core.hooks.eventsRead = nullptr;
    return figures;
}

void BM_NoisyLine(benchmark::State& state) {
    const double flipsPerByte = 1.0 / static_cast<double>(state.range(0));
    RunFigures f;
    for (auto _ : state) f = NoisySession(flipsPerByte, RunSeconds());
    const double perFault = f.flipped == 0 ? 0.0 : static_cast<double>(f.failed) / static_cast<double>(f.flipped);
    state.counters["inserted"] = static_cast<double>(f.inserted);
    state.counters["counted"] = f.counted;
    state.counters["lost"] = f.lost;
    state.counters["unaccounted"] = static_cast<double>(f.unaccounted);
    state.counters["at_0.00"] = f.unpriced;
    state.counters["failed/flip"] = perFault;
    std::printf("1 flip per %lld bytes: credits inserted %llu, counted %u, events reported lost %u, "
                "unaccounted %lld (of %llu events), counted at 0.00 %u; %u of %u exchanges failed for %llu flipped "
                "bytes (%.2f a fault), identifications %u\n",
                static_cast<long long>(state.range(0)), static_cast<unsigned long long>(f.inserted), f.counted, f.lost,
                f.unaccounted, static_cast<unsigned long long>(f.events), f.unpriced, f.failed, f.exchanges,
                static_cast<unsigned long long>(f.flipped), perFault, f.identifications);
}

} // namespace

BENCHMARK(BM_NoisyLine)->Arg(200)->Arg(2000)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
