// Pollbench's bus scan of a 9600 bit/s line with three virtual acceptors
// (addresses 2, 3 and 40), at the driver's own read limits: the broadcast
// address poll with the clash polls of every address found in one window,
// and the simple poll to every address. The broadcast's window holds the
// 1.2 s the devices do not listen after it; the clash polls go out in one
// write and their window is 256 slots of 4 ms after the last of them; then
// the identities: about 2.6 s for three devices. Printed per run: the
// devices found and the time the scan took.
#include "demo/driver/broadcast_poll.h"
#include "demo/driver/bus_scan.h"
#include "sim/standard/standard_line.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr uint32_t kLineSpeed = 9600;

void BM_BusScan(benchmark::State& state) {
    const auto mode = static_cast<BusScanMode>(state.range(0));
    sim::StandardConfig config;
    config.extraAddresses = {3, 40};
    sim::ServerOptions options;
    options.line.bitsPerSecond = kLineSpeed;
    sim::StandardLine line(config, options);
    CCctDriver driver;
    driver.portName = line.HostPath();
    BusScanResult result;
    for (auto _ : state) {
        result = ScanBus(driver, mode);
        benchmark::DoNotOptimize(result.devices.size());
    }
    std::printf("%s: %zu device(s) found in %.2f s (broadcast window %u ms, one clash window %u ms)\n",
                mode == BusScanMode::Broadcast ? "broadcast and clash polls" : "simple poll to every address",
                result.devices.size(), static_cast<double>(result.elapsedMs) / 1000.0, kBroadcastWindowMs,
                kClashWindowMs);
    state.counters["devices"] = static_cast<double>(result.devices.size());
    state.counters["scan_s"] = static_cast<double>(result.elapsedMs) / 1000.0;
}

BENCHMARK(BM_BusScan)
    ->Arg(static_cast<int>(BusScanMode::Broadcast))
    ->Arg(static_cast<int>(BusScanMode::Thorough))
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
