#include "demo/driver/bus_scan.h"

#include "demo/texts/identification_text.h"
#include "platform/clock.h"

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

} // namespace

BusScanResult ScanBus(CCctDriver& driver, const std::function<bool()>& stop) {
    const uint8_t ownAddress = driver.deviceAddress;
    const uint64_t start = platform::SteadyMilliseconds();
    BusScanResult result;
    std::vector<uint8_t> answered;
    for (int a = kFirstDeviceAddress; a <= kLastDeviceAddress; ++a) {
        if (stop && stop()) {
            result.stopped = true;
            break;
        }
        driver.deviceAddress = static_cast<uint8_t>(a);
        if (Answers(driver)) answered.push_back(static_cast<uint8_t>(a));
    }
    for (const uint8_t a : answered) {
        driver.deviceAddress = a;
        result.devices.push_back(Identity(driver, a));
    }
    driver.deviceAddress = ownAddress;
    result.elapsedMs = platform::SteadyMilliseconds() - start;
    return result;
}

std::string BusDeviceLine(const BusDevice& d) {
    std::string line = "address " + std::to_string(d.address) + ": ";
    if (!d.identified) return line + "answers the simple poll, identity not read";
    return line + d.manufacturer + " - " + d.productCode + ", SN " + SerialNumberText(d.serialNumber) + ", revision " +
           d.revision;
}
