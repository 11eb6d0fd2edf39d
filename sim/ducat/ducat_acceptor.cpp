#include "sim/ducat/ducat_acceptor.h"

#include "coindata/records/coin_image.h"
#include "coindata/records/device_coin_table.h"
#include "commands/protocol/extension_commands.h"
#include "commands/protocol/frame_sealing.h"
#include "link/checksums.h"
#include "sim/ducat/coin_table_reply.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

namespace wire = acceptor;
using acceptor::CommandDescriptor;

constexpr uint8_t kHost = 1;
constexpr uint8_t kAcknowledge = 0;
constexpr uint8_t kBroadcast = 0;
constexpr size_t kSourceAt = 2;

// Refusals of the acceptor's own (any non-zero status is one).
constexpr int kStatusBadCrc = 2;
constexpr int kStatusNoSuchRow = 3;
constexpr int kFragmentNoSuchIndex = 21;

void PutText(uint8_t* at, const std::string& text, size_t width) {
    std::memset(at, 0, width);
    std::memcpy(at, text.data(), std::min(width, text.size()));
}

bool Spoils(const DucatFaultRule* fault, DucatFault kind) { return fault != nullptr && fault->kind == kind; }

bool FrameIntact(const std::vector<uint8_t>& frame) {
    return frame.size() >= kFrameOverhead && SimpleChecksum(frame.data(), frame.size() - 1) == frame.back();
}

void Seal(std::vector<uint8_t>& frame) { frame.back() = SimpleChecksum(frame.data(), frame.size() - 1); }

// The WrongCrc fault: the CRC the reply's opening checks is off by one.
void SpoilCrc(uint8_t* data, const CommandDescriptor& command, const DucatFaultRule* fault) {
    if (!command.opening.crc || !Spoils(fault, DucatFault::WrongCrc)) return;
    uint8_t* crc = data + command.opening.crcAt;
    StoreLe16(crc, static_cast<uint16_t>(LoadLe16(crc) + 1));
}

// A request of the command's length, deciphered in place; whether its
// CRC-16 holds.
bool OpenRequest(std::vector<uint8_t>& request, const CommandDescriptor& command, uint32_t key) {
    return request.size() == wire::RequestFrameLength(command) && wire::OpenRequestFrame(request.data(), command, key);
}

} // namespace

DucatAcceptor::DucatAcceptor() {
    const char* coins[] = {"RU001B", "RU002B", "RU005B", "RU010B", "RU1K0B", "RU10K0"};
    for (size_t i = 0; i < std::size(coins); ++i) {
        table[i].coinId = coins[i];
        table[i].allowed = 1;
        table[i].firm = 3;
        table[i].written = 1577836800 + static_cast<uint32_t>(i) * 86400;
    }
    SetLogPages(8);
}

void DucatAcceptor::SetLogPages(size_t pages, uint32_t seed) {
    pages = std::max<size_t>(pages, wire::log_page::kPageCountBias);
    log_.assign(pages * wire::log_page::kPageBytes, 0);
    std::mt19937 bytes(seed);
    for (auto& b : log_) b = static_cast<uint8_t>(bytes());
    StoreLe16(log_.data() + wire::log_page::kPageCountAt,
              static_cast<uint16_t>(pages - wire::log_page::kPageCountBias));
}

DucatResult DucatAcceptor::MakeResult(const DucatCoin& coin) {
    DucatResult r;
    std::copy(std::begin(coin.statErrors), std::end(coin.statErrors), r.statErrors);
    std::copy(std::begin(coin.neuralErrors), std::end(coin.neuralErrors), r.neuralErrors);
    const bool known = coin.row < kDucatRows;
    r.bestCoin = known ? table[coin.row].coinId : kEmptyCoinId;
    r.nextCoin = table[(coin.row + 1) % kDucatRows].coinId;
    // The newest pair first: credit code (row + 1) or 0, and sorter path 1
    // or a reject code.
    std::copy_backward(historyA_, historyA_ + 4, historyA_ + 5);
    std::copy_backward(historyB_, historyB_ + 4, historyB_ + 5);
    historyA_[0] = coin.accepted ? static_cast<uint8_t>(coin.row + 1) : 0;
    historyB_[0] = coin.accepted ? 1 : 20;
    std::copy(historyA_, historyA_ + 5, r.pairsA);
    std::copy(historyB_, historyB_ + 5, r.pairsB);
    r.row = coin.row;
    r.stamp = nextStamp_++;
    r.counter = nextCounter_++;
    r.accepted = coin.accepted;
    return r;
}

void DucatAcceptor::SetRandomCoins(double perMinute, uint32_t seed) {
    coinsPerMinute_ = perMinute;
    random_.seed(seed);
    nextCoinAtMs_ = 0;
}

int DucatAcceptor::Requests(uint8_t function) const {
    const auto it = requests_.find(function);
    return it == requests_.end() ? 0 : it->second;
}

std::vector<uint8_t> DucatAcceptor::LastRequest(uint8_t function) const {
    const auto it = lastRequests_.find(function);
    return it == lastRequests_.end() ? Frame{} : it->second;
}

void DucatAcceptor::OnBytes(const uint8_t* data, size_t n, std::vector<uint8_t>& out) {
    assembler_.Feed(data, n, [&](const Frame& frame) { OnFrame(frame, out); });
}

void DucatAcceptor::OnTick(uint64_t nowMs, std::vector<uint8_t>& /*out*/) {
    if (coinsPerMinute_ > 0) PassRandomCoin(nowMs);
}

void DucatAcceptor::PassRandomCoin(uint64_t nowMs) {
    if (nextCoinAtMs_ != 0 && nowMs < nextCoinAtMs_) return;
    std::exponential_distribution<double> gap(coinsPerMinute_ / 60000.0);
    const bool first = nextCoinAtMs_ == 0;
    nextCoinAtMs_ = nowMs + 1 + static_cast<uint64_t>(gap(random_));
    if (first) return;
    std::vector<uint8_t> rows;
    for (size_t i = 0; i < kDucatRows; ++i) {
        if (table[i].coinId[0] != '.') rows.push_back(static_cast<uint8_t>(i));
    }
    if (rows.empty()) return;
    DucatCoin coin;
    coin.row = rows[random_() % rows.size()];
    coin.accepted = table[coin.row].allowed != 0 && random_() % 10 != 0;
    coin.statErrors[0] = static_cast<uint8_t>(random_() % 6);
    coin.statErrors[1] = static_cast<uint8_t>(6 + random_() % 20);
    coin.neuralErrors[0] = static_cast<uint8_t>(random_() % 4);
    coin.neuralErrors[1] = static_cast<uint8_t>(4 + random_() % 20);
    latest_ = MakeResult(coin);
}

void DucatAcceptor::OnFrame(const Frame& request, std::vector<uint8_t>& out) {
    if (!FrameIntact(request)) {
        ++badFrames_; // a real acceptor stays silent on a damaged frame
        return;
    }
    if (request[0] != identity.address && request[0] != kBroadcast) return;
    if (request[kHeaderAt] != kExtensionHeader || request.size() <= kFunctionAt) return;
    const uint8_t function = request[kFunctionAt];
    ++requests_[function];
    lastRequests_[function] = request;
    const DucatFaultRule* fault = faults.Take(function);
    if (Spoils(fault, DucatFault::LineError) && lineErrors_ != nullptr) lineErrors_->Raise(platform::kLineErrorFrame);
    if (Spoils(fault, DucatFault::Silence)) return;
    Frame reply = Answer(request, fault);
    Spoil(reply, fault);
    out.insert(out.end(), reply.begin(), reply.end());
}

DucatAcceptor::Frame DucatAcceptor::Answer(const Frame& request, const DucatFaultRule* fault) {
    switch (request[kFunctionAt]) {
    case wire::kIdentify: return AnswerIdentify(request);
    case wire::kWriteFragment: return AnswerWriteFragment(request, fault);
    case wire::kReadLogPage: return AnswerReadLogPage(request, fault);
    case wire::kReadTable: return AnswerReadTable(request, fault);
    case wire::kReadResult: return AnswerReadResult(fault);
    case wire::kWriteDivider:
    case wire::kWriteParams: return AnswerWriteSetting(request, fault);
    default: return {};
    }
}

void DucatAcceptor::Spoil(Frame& reply, const DucatFaultRule* fault) const {
    if (fault == nullptr || reply.empty()) return;
    switch (fault->kind) {
    case DucatFault::WrongLength:
        ++reply[1];
        Seal(reply);
        break;
    case DucatFault::WrongChecksum: ++reply.back(); break;
    case DucatFault::ShortReply: {
        const size_t cut = fault->value > 0 ? static_cast<size_t>(fault->value) : reply.size() / 2;
        reply.resize(reply.size() - std::min(cut, reply.size()));
        break;
    }
    default: break;
    }
}

DucatAcceptor::Frame DucatAcceptor::Reply(const CommandDescriptor& command, std::vector<uint8_t> data,
                                          const DucatFaultRule* fault) const {
    data.resize(command.replyData);
    // A long reply's first data byte is the high byte of its length.
    if (command.replyForm == ReplyForm::Long) data[0] = static_cast<uint8_t>(data.size() >> 8);
    wire::StoreReplyCrc(data.data(), command);
    SpoilCrc(data.data(), command, fault);
    wire::EncipherReplyData(data.data(), command, identity.serial);
    Frame reply(kFrameOverhead + data.size());
    reply[0] = kHost;
    reply[1] = static_cast<uint8_t>(data.size() & 0xFF);
    reply[kSourceAt] = identity.address;
    reply[kHeaderAt] = kAcknowledge;
    std::copy(data.begin(), data.end(), reply.begin() + kDataAt);
    Seal(reply);
    return reply;
}

DucatAcceptor::Frame DucatAcceptor::AnswerIdentify(const Frame& request) {
    namespace id = wire::identify;
    if (request.size() >= id::kTimeAt + 4) lastHostTime_ = LoadLe32(request.data() + id::kTimeAt);
    std::vector<uint8_t> data(id::kReplyData, 0);
    data[id::kAddressAt] = identity.address;
    StoreLe32(data.data() + id::kSerialAt, identity.serial);
    PutText(data.data() + id::kSerialTextAt, identity.serialText, id::kSerialTextField);
    PutText(data.data() + id::kManufacturerAt, identity.manufacturer, id::kManufacturerChars);
    PutText(data.data() + id::kCategoryAt, identity.category, id::kCategoryChars);
    PutText(data.data() + id::kBuildAt, identity.build, id::kBuildChars);
    PutText(data.data() + id::kRevisionAt, identity.revision, id::kRevisionChars);
    return Reply(wire::kIdentifyCommand, data, nullptr);
}

DucatAcceptor::Frame DucatAcceptor::AnswerReadTable(const Frame& request, const DucatFaultRule* fault) {
    namespace t = wire::read_table;
    if (request.size() >= t::kTimeAt + 4) lastHostTime_ = LoadLe32(request.data() + t::kTimeAt);
    DeviceCoinRows rows{};
    for (size_t i = 0; i < kDucatRows; ++i) {
        DeviceCoinEntry& row = rows[i];
        PutText(reinterpret_cast<uint8_t*>(row.szCoinId), table[i].coinId, coin_table_reply::kCoinIdChars);
        row.iErrorDivider = table[i].divider;
        row.bInherit = table[i].allowed;
        row.iFirm = table[i].firm;
        row.tWritten = table[i].written;
    }
    AcceptanceParameters acceptance;
    acceptance.Max_Error = params.maxError;
    acceptance.NNet_Divider = params.nnetDivider;
    acceptance.Numb_Stand_Dev = params.numbStandDev;
    acceptance.wMinTravelTime = params.minTravelTime;
    acceptance.wMaxTravelTime = params.maxTravelTime;
    acceptance.tStructureWritten = params.structureWritten;
    const CoinTableReply data = EncodeCoinTableReply(rows, acceptance);
    return Reply(wire::kReadTableCommand, {data.begin(), data.end()}, fault);
}

DucatAcceptor::Frame DucatAcceptor::AnswerReadResult(const DucatFaultRule* fault) {
    namespace r = wire::read_result;
    if (!script_.empty()) {
        latest_ = script_.front();
        script_.pop_front();
    }
    std::vector<uint8_t> data(r::kReplyData, 0);
    std::copy(std::begin(latest_.statErrors), std::end(latest_.statErrors), data.begin() + r::kStatErrorsAt);
    std::copy(std::begin(latest_.neuralErrors), std::end(latest_.neuralErrors), data.begin() + r::kNeuralErrorsAt);
    PutText(data.data() + r::kBestCoinAt, latest_.bestCoin, r::kCoinIdChars);
    PutText(data.data() + r::kNextCoinAt, latest_.nextCoin, r::kCoinIdChars);
    for (size_t i = 0; i < r::kPairs; ++i) {
        data[r::kPairsAt + 2 * i] = latest_.pairsA[i];
        data[r::kPairsAt + 2 * i + 1] = latest_.pairsB[i];
    }
    data[r::kRowAt] = latest_.row;
    StoreLe32(data.data() + r::kStampAt, latest_.stamp);
    data[r::kCounterAt] = latest_.counter;
    data[r::kAcceptedAt] = latest_.accepted ? 1 : 0;
    return Reply(wire::kMonitorCommand, data, fault);
}

DucatAcceptor::Frame DucatAcceptor::AnswerWriteFragment(Frame request, const DucatFaultRule* fault) {
    namespace f = wire::write_fragment;
    if (request.size() != wire::RequestFrameLength(wire::kWriteCoinCommand)) return {};
    const bool crcHolds = OpenRequest(request, wire::kWriteCoinCommand, identity.serial);
    const int fragment = request[f::kFragmentAt];
    fragmentsSeen_.push_back(fragment);
    int status = 0;
    if (Spoils(fault, DucatFault::Refuse)) {
        status = fault->value;
    } else if (Spoils(fault, DucatFault::RepeatFragment)) {
        status = fragment;
    } else if (!crcHolds) {
        status = nextFragment_;
    } else {
        status = TakeFragment(request);
    }
    return Reply(wire::kWriteCoinCommand, {static_cast<uint8_t>(status)}, fault);
}

// Fragments come in order; fragment 0 starts a description anew and a
// fragment sent again (its answer was lost) is taken again. Answers the
// fragment wanted next, or 16 when the description is complete.
int DucatAcceptor::TakeFragment(const Frame& plain) {
    namespace f = wire::write_fragment;
    const int fragment = plain[f::kFragmentAt];
    const int coinIndex = plain[f::kCoinIndexAt];
    if (coinIndex >= static_cast<int>(kDucatRows)) return kFragmentNoSuchIndex;
    if (fragment == 0) {
        pendingImage_.fill(0);
        pendingIndex_ = coinIndex;
        nextFragment_ = 0;
    }
    if (coinIndex != pendingIndex_ || fragment > nextFragment_ || fragment >= f::kFragments) return nextFragment_;
    std::copy_n(plain.begin() + f::kImageAt, f::kFragmentBytes,
                pendingImage_.begin() + static_cast<long>(f::kFragmentBytes) * fragment);
    nextFragment_ = fragment + 1;
    if (nextFragment_ < f::kFragments) return nextFragment_;
    ApplyImage(static_cast<size_t>(coinIndex));
    nextFragment_ = 0;
    pendingIndex_ = -1;
    return f::kAllTaken;
}

void DucatAcceptor::ApplyImage(size_t coinIndex) {
    images_[coinIndex].assign(pendingImage_.begin(), pendingImage_.end());
    const CoinImageFields fields = ReadCoinImageFields(pendingImage_);
    DucatCoinRow& row = table[coinIndex];
    row.firm = fields.bFirm;
    row.written = fields.tWritten;
    row.coinId = fields.szCoinId;
}

DucatAcceptor::Frame DucatAcceptor::AnswerReadLogPage(Frame request, const DucatFaultRule* fault) {
    namespace p = wire::log_page;
    if (!OpenRequest(request, wire::kReadLogCommand, identity.serial)) return {};
    const uint16_t page = LoadLe16(request.data() + p::kPageAt);
    std::vector<uint8_t> data(p::kReplyData, 0);
    const bool wrongPage = Spoils(fault, DucatFault::WrongPage);
    StoreLe16(data.data() + p::kPageInData, static_cast<uint16_t>(wrongPage ? page + 1 : page));
    const size_t from = static_cast<size_t>(page) * p::kPageBytes;
    if (from < log_.size()) std::copy_n(log_.begin() + static_cast<long>(from), p::kPageBytes, data.begin() + p::kPageBytesInData);
    return Reply(wire::kReadLogCommand, data, fault);
}

DucatAcceptor::Frame DucatAcceptor::AnswerWriteSetting(Frame request, const DucatFaultRule* fault) {
    namespace s = wire::write_setting;
    const CommandDescriptor& command = *wire::CommandOfFunction(request[kFunctionAt]);
    if (request.size() != wire::RequestFrameLength(command)) return {};
    const bool crcHolds = OpenRequest(request, command, identity.serial);
    int status = 0;
    if (Spoils(fault, DucatFault::Refuse)) {
        status = fault->value;
    } else if (!crcHolds) {
        status = kStatusBadCrc;
    } else {
        lastHostTime_ = LoadLe32(request.data() + s::kTimeAt);
        status = ApplySetting(request[kFunctionAt], request);
    }
    return Reply(command, {static_cast<uint8_t>(status)}, fault);
}

int DucatAcceptor::ApplySetting(uint8_t function, const Frame& plain) {
    const uint8_t* v = plain.data() + wire::write_setting::kValuesAt;
    if (function == wire::kWriteParams) {
        params.maxError = v[0];
        params.nnetDivider = v[1];
        params.numbStandDev = v[2];
        return 0;
    }
    if (v[0] >= kDucatRows) return kStatusNoSuchRow;
    table[v[0]].allowed = v[1];
    table[v[0]].divider = v[2];
    return 0;
}

} // namespace sim
