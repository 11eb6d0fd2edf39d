// The standard acceptor's answers to the ccTalk headers it knows.
#include "sim/standard/standard_acceptor.h"

namespace sim {
namespace {

// The headers, from the device's side of the bus.
enum Header : uint8_t {
    kAcceptLimit = 135,
    kRequestCoinId = 184,
    kRequestDefaultPath = 188,
    kModifyDefaultPath = 189,
    kRequestTeachStatus = 201,
    kTeachModeControl = 202,
    kRequestSorterPaths = 209,
    kModifySorterPaths = 210,
    kRequestOptionFlags = 213,
    kRequestSorterOverride = 221,
    kModifySorterOverride = 222,
    kRequestMasterInhibit = 227,
    kModifyMasterInhibit = 228,
    kReadBufferedCredit = 229,
    kRequestInhibits = 230,
    kModifyInhibits = 231,
    kReadOptoStates = 236,
    kTestOutputLines = 238,
    kOperateMotors = 239,
    kSoftwareRevision = 241,
    kSerialNumber = 242,
    kProductCode = 244,
    kManufacturerId = 246,
    kSimplePoll = 254,
};

constexpr uint8_t kNak = 5;
constexpr uint8_t kTeachAborted = 252;
constexpr uint8_t kTeachBusy = 254;
constexpr char kUnprogrammedCoin[] = "......";

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

bool ValidPosition(const std::vector<uint8_t>& data) { return !data.empty() && data[0] >= 1 && data[0] <= 16; }

} // namespace

// In the answer groups below, a known header whose data does not fit breaks
// out of its switch and is refused with a negative acknowledgement.

StandardAcceptor::Answer StandardAcceptor::AnswerTo(uint8_t header, const std::vector<uint8_t>& data) {
    Answer a;
    if (AnswerReads(header, data, a) || AnswerInhibits(header, data, a) || AnswerSorter(header, data, a) ||
        AnswerActions(header, data, a)) {
        return a;
    }
    a.silent = true; // a header the device does not know
    return a;
}

bool StandardAcceptor::AnswerReads(uint8_t header, const std::vector<uint8_t>& data, Answer& a) const {
    switch (header) {
    case kSimplePoll: return true;
    case kManufacturerId: a.data = Bytes(config_.manufacturer); return true;
    case kProductCode: a.data = Bytes(config_.productCode); return true;
    case kSoftwareRevision: a.data = Bytes(config_.revision); return true;
    case kRequestOptionFlags: a.data = {config_.optionFlags}; return true;
    case kSerialNumber: {
        const uint32_t s = config_.serialNumber;
        a.data = {static_cast<uint8_t>(s), static_cast<uint8_t>(s >> 8), static_cast<uint8_t>(s >> 16)};
        return true;
    }
    case kRequestCoinId: {
        if (!ValidPosition(data)) break;
        const std::string& id = config_.coins[data[0] - 1u].id;
        a.data = Bytes(id.empty() ? kUnprogrammedCoin : id);
        return true;
    }
    case kReadBufferedCredit: a.data = events_.Reply(); return true;
    case kReadOptoStates: a.data = {opto_}; return true;
    default: return false;
    }
    a.header = kNak;
    return true;
}

bool StandardAcceptor::AnswerInhibits(uint8_t header, const std::vector<uint8_t>& data, Answer& a) {
    switch (header) {
    case kModifyInhibits:
        if (data.size() != 2) break;
        inhibitMask_ = static_cast<uint16_t>(data[0] | (data[1] << 8));
        return true;
    case kRequestInhibits:
        a.data = {static_cast<uint8_t>(inhibitMask_), static_cast<uint8_t>(inhibitMask_ >> 8)};
        return true;
    case kModifyMasterInhibit:
        if (data.size() != 1) break;
        master_ = data[0];
        return true;
    case kRequestMasterInhibit: a.data = {master_}; return true;
    default: return false;
    }
    a.header = kNak;
    return true;
}

bool StandardAcceptor::AnswerSorter(uint8_t header, const std::vector<uint8_t>& data, Answer& a) {
    const size_t pathCount = config_.longSorter ? 4 : 1;
    switch (header) {
    case kModifySorterPaths:
        if (!ValidPosition(data) || data.size() < 2 || data.size() > 1 + pathCount) break;
        paths_[data[0] - 1u] = {};
        std::copy(data.begin() + 1, data.end(), paths_[data[0] - 1u].begin());
        return true;
    case kRequestSorterPaths:
        if (!ValidPosition(data)) break;
        a.data.assign(paths_[data[0] - 1u].begin(), paths_[data[0] - 1u].begin() + static_cast<long>(pathCount));
        return true;
    case kModifyDefaultPath:
        if (data.size() != 1) break;
        defaultPath_ = data[0];
        return true;
    case kRequestDefaultPath: a.data = {defaultPath_}; return true;
    case kModifySorterOverride:
        if (data.size() != 1) break;
        overrideMask_ = data[0];
        return true;
    case kRequestSorterOverride: a.data = {overrideMask_}; return true;
    default: return false;
    }
    a.header = kNak;
    return true;
}

bool StandardAcceptor::AnswerActions(uint8_t header, const std::vector<uint8_t>& data, Answer& a) {
    switch (header) {
    case kTestOutputLines:
        if (data.size() != 1) break;
        outputLines_ = data[0];
        return true;
    case kOperateMotors:
        if (data.size() != 1) break;
        motors_ = data[0];
        return true;
    case kTeachModeControl:
        if (data.size() != 1) break;
        if (data[0] != 0) {
            teaching_ = true;
            teachCount_ = 0;
            teachStatus_ = kTeachBusy;
        } else if (teaching_) {
            teaching_ = false;
            teachStatus_ = kTeachAborted;
        }
        return true;
    case kRequestTeachStatus: a.data = {teachCount_, teachStatus_}; return true;
    case kAcceptLimit:
        if (data.size() == 4) {
            SetAcceptLimit(data[1] | (data[2] << 8) | (static_cast<uint32_t>(data[3]) << 16));
            return true;
        }
        if (!data.empty()) break;
        {
            const uint32_t residual = acceptLimit_ > accepted_ ? acceptLimit_ - accepted_ : 0;
            a.data = {static_cast<uint8_t>(acceptLimit_ != 0), static_cast<uint8_t>(residual),
                      static_cast<uint8_t>(residual >> 8), static_cast<uint8_t>(residual >> 16)};
        }
        return true;
    default: return false;
    }
    a.header = kNak;
    return true;
}

} // namespace sim
