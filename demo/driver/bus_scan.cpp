#include "demo/driver/bus_scan.h"

#include "demo/driver/broadcast_poll.h"
#include "demo/texts/identification_text.h"
#include "platform/clock.h"

#include <algorithm>

namespace {

bool Answers(CCctDriver& driver) {
    CctReply reply;
    return driver.Request(kHdrSimplePoll, {}, reply) == 0;
}

bool AskText(CCctDriver& driver, uint8_t header, std::string& text) {
    CctReply reply;
    if (driver.Request(header, {}, reply) < 0) return false;
    text = reply.Text();
    return true;
}

BusDevice Identity(CCctDriver& driver, uint8_t address) {
    BusDevice device;
    device.address = address;
    CctReply serial;
    device.identified = AskText(driver, kHdrManufacturerId, device.manufacturer) &&
                        AskText(driver, kHdrProductCode, device.productCode) &&
                        driver.Request(kHdrSerialNumber, {}, serial) >= 0 &&
                        AskText(driver, kHdrSoftwareRevision, device.revision);
    device.serialNumber = SerialNumberFromReply(serial);
    return device;
}

bool Stopped(const std::function<bool()>& stop, BusScanResult& result) {
    result.stopped = result.stopped || (stop && stop());
    return result.stopped;
}

std::vector<uint8_t> PollEveryAddress(CCctDriver& driver, const std::function<bool()>& stop, BusScanResult& result) {
    result.byAddress = true;
    std::vector<uint8_t> answered;
    for (int a = kFirstDeviceAddress; a <= kLastDeviceAddress && !Stopped(stop, result); ++a) {
        driver.deviceAddress = static_cast<uint8_t>(a);
        if (Answers(driver)) answered.push_back(static_cast<uint8_t>(a));
    }
    return answered;
}

// The device addresses among the bytes that answered the broadcast, each once.
std::vector<uint8_t> BroadcastAnswers(CCctDriver& driver) {
    std::vector<uint8_t> heard;
    if (ListenAfterPoll(driver, kBroadcastAddress, kHdrAddressPoll, kBroadcastWindowMs, heard) != kExchangeOk) return {};
    heard.erase(std::remove_if(heard.begin(), heard.end(), [](uint8_t a) { return a < kFirstDeviceAddress; }),
                heard.end());
    std::sort(heard.begin(), heard.end());
    heard.erase(std::unique(heard.begin(), heard.end()), heard.end());
    return heard;
}

// How many devices answer the clash poll at `address` alone: 0, 1, or 2
// for two or more.
int DevicesAt(CCctDriver& driver, uint8_t address) {
    std::vector<uint8_t> heard;
    if (ListenAfterPoll(driver, address, kHdrAddressClash, kClashWindowMs, heard) != kExchangeOk) return 0;
    return static_cast<int>(std::min<std::ptrdiff_t>(2, std::count(heard.begin(), heard.end(), address)));
}

// The address checked alone: a clash is reported, not identified (its
// replies would come over each other); an address whose clash poll brings
// nothing must still answer a simple poll, so a noisy byte in the
// broadcast's window is no device.
void CheckAlone(CCctDriver& driver, uint8_t address, BusScanResult& result) {
    driver.deviceAddress = address;
    const int devices = DevicesAt(driver, address);
    if (devices == 0 && !Answers(driver)) return;
    if (devices < 2) {
        result.devices.push_back(Identity(driver, address));
        return;
    }
    BusDevice clash;
    clash.address = address;
    clash.clash = true;
    result.devices.push_back(clash);
}

// The clash poll of every address in one window. True when the window can
// be read: the echo came whole ahead of any answer, and every address sent
// a byte and no other byte came. Answers meet each other and the host's own
// polls on a one-wire bus; a lost or strange byte may be the wreck of two,
// one of them a second device's on an address heard once, so such a
// window tells nothing of any address. `heard` keeps the answers.
bool ReadableClashWindow(CCctDriver& driver, const std::vector<uint8_t>& addresses, std::vector<uint8_t>& heard) {
    if (ListenAfterPolls(driver, addresses, kHdrAddressClash, kClashWindowMs, heard) != kExchangeOk) return false;
    const auto found = [&](uint8_t a) { return std::find(addresses.begin(), addresses.end(), a) != addresses.end(); };
    const auto sent = [&](uint8_t a) { return std::find(heard.begin(), heard.end(), a) != heard.end(); };
    return std::all_of(heard.begin(), heard.end(), found) && std::all_of(addresses.begin(), addresses.end(), sent);
}

// Checks the addresses the broadcast brought: an address that sent exactly
// one byte in a readable window is one device; one that sent more, and
// every address of a window that cannot be read, is checked alone.
void CheckBroadcastAnswers(CCctDriver& driver, const std::vector<uint8_t>& addresses,
                           const std::function<bool()>& stop, BusScanResult& result) {
    if (Stopped(stop, result)) return;
    std::vector<uint8_t> heard;
    const bool readable = ReadableClashWindow(driver, addresses, heard);
    for (const uint8_t a : addresses) {
        if (Stopped(stop, result)) return;
        if (readable && std::count(heard.begin(), heard.end(), a) == 1) {
            driver.deviceAddress = a;
            result.devices.push_back(Identity(driver, a));
        } else {
            CheckAlone(driver, a, result);
        }
    }
}

} // namespace

BusScanResult ScanBus(CCctDriver& driver, BusScanMode mode, const std::function<bool()>& stop) {
    const uint8_t ownAddress = driver.deviceAddress;
    const uint64_t start = platform::SteadyMilliseconds();
    BusScanResult result;
    const std::vector<uint8_t> broadcast =
        mode == BusScanMode::Broadcast && !Stopped(stop, result) ? BroadcastAnswers(driver) : std::vector<uint8_t>{};
    if (!broadcast.empty()) {
        CheckBroadcastAnswers(driver, broadcast, stop, result);
    } else if (!result.stopped) {
        for (const uint8_t a : PollEveryAddress(driver, stop, result)) {
            driver.deviceAddress = a;
            result.devices.push_back(Identity(driver, a));
        }
    }
    driver.deviceAddress = ownAddress;
    result.elapsedMs = platform::SteadyMilliseconds() - start;
    return result;
}

std::string BusDeviceLine(const BusDevice& d) {
    std::string line = "address " + std::to_string(d.address) + ": ";
    if (d.clash) return line + "two or more devices answer (address clash), identity not read";
    if (!d.identified) return line + "answers the simple poll, identity not read";
    return line + d.manufacturer + " - " + d.productCode + ", SN " + SerialNumberText(d.serialNumber) + ", revision " +
           d.revision;
}
