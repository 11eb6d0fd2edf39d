// The virtual acceptor of Ducat Console: the acceptor side of the maker's
// extension of ccTalk (identification, coin table, coin results, coin
// description writes by fragments, divider and parameter writes, log
// pages), with the same CRC-16 and cipher as the host, and faults on demand.
// Not thread-safe by itself: a PtyServer calls it under its lock, and tests
// change it through PtyServer::WithDevice.
#pragma once

#include "coindata/records/coin_image.h"
#include "commands/protocol/command_descriptor.h"
#include "sim/pty/device.h"
#include "sim/ducat/ducat_faults.h"
#include "sim/ducat/ducat_frame_assembler.h"
#include "sim/ducat/line_error_port.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace sim {

constexpr size_t kDucatRows = 16;
constexpr const char* kEmptyCoinId = "......";

struct DucatIdentity {
    uint8_t address = 1;
    uint32_t serial = 20240117;
    std::string serialText = "DC-20240117"; // up to 32 bytes go on the wire
    std::string manufacturer = "VIRTUAL";
    std::string category = "Coin Acceptor";
    std::string build = "Virtual build 1";
    std::string revision = "2.04";
};

struct DucatCoinRow {
    std::string coinId = kEmptyCoinId; // 6 characters on the wire
    uint8_t divider = 10;
    uint8_t allowed = 0;
    uint8_t firm = 0;
    uint32_t written = 0;
};

struct DucatParams {
    uint16_t maxError = 6;
    uint8_t nnetDivider = 40;
    uint8_t numbStandDev = 2;
    uint32_t structureWritten = 1546300800; // 2019-01-01
    uint16_t minTravelTime = 120;
    uint16_t maxTravelTime = 480;
};

// One coin result as the acceptor reports it to the monitoring request.
struct DucatResult {
    uint8_t statErrors[2] = {};
    uint8_t neuralErrors[2] = {};
    std::string bestCoin = kEmptyCoinId;
    std::string nextCoin = kEmptyCoinId;
    uint8_t pairsA[5] = {};
    uint8_t pairsB[5] = {};
    uint8_t row = 0;
    uint32_t stamp = 0;
    uint8_t counter = 0;
    bool accepted = false;
};

// A coin passing: the acceptor adds the stamp, the counter, the coin names
// and its result pairs.
struct DucatCoin {
    uint8_t row = 0;
    bool accepted = true;
    uint8_t statErrors[2] = {1, 9};
    uint8_t neuralErrors[2] = {0, 7};
};

class DucatAcceptor final : public Device {
public:
    DucatAcceptor();

    // --- what the acceptor holds (change freely between requests)
    DucatIdentity identity;
    std::array<DucatCoinRow, kDucatRows> table;
    DucatParams params;
    DucatFaultPlan faults;

    // A log of `pages` pages (at least 2) of reproducible bytes; page 0
    // bytes 226-227 hold the page count minus 2.
    void SetLogPages(size_t pages, uint32_t seed = 1);
    const std::vector<uint8_t>& Log() const { return log_; }

    // Framing errors go to this signal (the host's wrapped port reports them).
    void SetLineErrorSignal(LineErrorSignal* signal) { lineErrors_ = signal; }

    // --- coin results
    // Scripted results: each monitoring request takes the next one; when the
    // script is used up, the latest result is answered again.
    void QueueResult(const DucatResult& result) { script_.push_back(result); }
    void QueueCoin(const DucatCoin& coin) { QueueResult(MakeResult(coin)); }
    // The result a coin passing now gives (next stamp and counter).
    DucatResult MakeResult(const DucatCoin& coin);
    // Random coins at `perMinute` (0 = none), seen at once like a real coin.
    void SetRandomCoins(double perMinute, uint32_t seed);
    const DucatResult& LatestResult() const { return latest_; }

    // --- what the host did
    int Requests(uint8_t function) const;
    // The last request of a function as it came over the wire (empty if none).
    std::vector<uint8_t> LastRequest(uint8_t function) const;
    uint32_t LastHostTime() const { return lastHostTime_; }
    // The image the acceptor holds at a coin index after a complete write
    // (empty when none was written).
    const std::vector<uint8_t>& Image(size_t coinIndex) const { return images_[coinIndex]; }
    // Fragment numbers in the order they arrived.
    const std::vector<int>& FragmentsSeen() const { return fragmentsSeen_; }
    size_t BadFrames() const { return badFrames_; }

    // --- Device
    void OnBytes(const uint8_t* data, size_t n, std::vector<uint8_t>& out) override;
    void OnTick(uint64_t nowMs, std::vector<uint8_t>& out) override;
    void OnLineIdle() override { assembler_.LineIdle(); }

private:
    using Frame = std::vector<uint8_t>;

    void OnFrame(const Frame& request, std::vector<uint8_t>& out);
    Frame Answer(const Frame& request, const DucatFaultRule* fault);
    Frame AnswerIdentify(const Frame& request);
    Frame AnswerWriteFragment(Frame request, const DucatFaultRule* fault);
    Frame AnswerReadLogPage(Frame request, const DucatFaultRule* fault);
    Frame AnswerReadTable(const Frame& request, const DucatFaultRule* fault);
    Frame AnswerReadResult(const DucatFaultRule* fault);
    Frame AnswerWriteSetting(Frame request, const DucatFaultRule* fault);

    int TakeFragment(const Frame& plain);
    void ApplyImage(size_t coinIndex);
    int ApplySetting(uint8_t function, const Frame& plain);
    void PassRandomCoin(uint64_t nowMs);

    // The command's reply of `data` (its places filled, the rest zero): the
    // CRC-16 and cipher its descriptor gives, the WrongCrc fault, its form.
    Frame Reply(const acceptor::CommandDescriptor& command, std::vector<uint8_t> data,
                const DucatFaultRule* fault) const;
    void Spoil(Frame& reply, const DucatFaultRule* fault) const;

    DucatFrameAssembler assembler_;
    LineErrorSignal* lineErrors_ = nullptr;
    std::vector<uint8_t> log_;

    std::deque<DucatResult> script_;
    DucatResult latest_;
    uint32_t nextStamp_ = 1001;
    uint8_t nextCounter_ = 1;
    uint8_t historyA_[5] = {};
    uint8_t historyB_[5] = {};

    double coinsPerMinute_ = 0;
    std::mt19937 random_;
    uint64_t nextCoinAtMs_ = 0;

    // The coin description being written: index and the fragment wanted next.
    CoinImage pendingImage_{};
    int pendingIndex_ = -1;
    int nextFragment_ = 0;
    std::array<std::vector<uint8_t>, kDucatRows> images_;

    std::map<uint8_t, int> requests_;
    std::map<uint8_t, Frame> lastRequests_;
    std::vector<int> fragmentsSeen_;
    uint32_t lastHostTime_ = 0;
    size_t badFrames_ = 0;
};

} // namespace sim
