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
        driver.m_DeviceAddress = static_cast<uint8_t>(a);
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

// How many devices answer the clash poll at `address`: 0, 1, or 2 for two
// or more.
int DevicesAt(CCctDriver& driver, uint8_t address) {
    std::vector<uint8_t> heard;
    if (ListenAfterPoll(driver, address, kHdrAddressClash, kClashWindowMs, heard) != kExchangeOk) return 0;
    return static_cast<int>(std::min<std::ptrdiff_t>(2, std::count(heard.begin(), heard.end(), address)));
}

// Checks each address the broadcast brought: a clash is reported, not
// identified (its replies would come over each other); an address whose
// clash poll brings nothing must still answer a simple poll, so a noisy
// byte in the broadcast's window is no device.
void CheckBroadcastAnswers(CCctDriver& driver, const std::vector<uint8_t>& addresses,
                           const std::function<bool()>& stop, BusScanResult& result) {
    for (const uint8_t a : addresses) {
        if (Stopped(stop, result)) return;
        driver.m_DeviceAddress = a;
        const int devices = DevicesAt(driver, a);
        if (devices == 0 && !Answers(driver)) continue;
        if (devices < 2) {
            result.devices.push_back(Identity(driver, a));
            continue;
        }
        BusDevice clash;
        clash.address = a;
        clash.clash = true;
        result.devices.push_back(clash);
    }
}

} // namespace

BusScanResult ScanBus(CCctDriver& driver, BusScanMode mode, const std::function<bool()>& stop) {
    const uint8_t ownAddress = driver.m_DeviceAddress;
    const uint64_t start = platform::SteadyMilliseconds();
    BusScanResult result;
    const std::vector<uint8_t> broadcast =
        mode == BusScanMode::Broadcast && !Stopped(stop, result) ? BroadcastAnswers(driver) : std::vector<uint8_t>{};
    if (!broadcast.empty()) {
        CheckBroadcastAnswers(driver, broadcast, stop, result);
    } else if (!result.stopped) {
        for (const uint8_t a : PollEveryAddress(driver, stop, result)) {
            driver.m_DeviceAddress = a;
            result.devices.push_back(Identity(driver, a));
        }
    }
    driver.m_DeviceAddress = ownAddress;
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
