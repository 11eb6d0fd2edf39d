// Identification: who the device is, what it offers, and its set-up for
// polling (all coins enabled, master inhibit released, tables read).
#include "demo/core/demo_core.h"

#include "demo/texts/identification_text.h"

int CDemoCore::Identify() {
    DeviceIdentity found;
    CctReply reply;
    driver.m_bCounterSeen = 0;

    if (driver.Request(kHdrManufacturerId, {}, reply) < 0) return 0;
    found.manufacturer = reply.Text();

    if (driver.Request(kHdrProductCode, {}, reply) < 0) return 0;
    found.productCode = reply.Text();
    m_nDeviceType = IsQxProduct(reply.Text()) ? kDeviceTypeQx : 0;

    if (driver.Request(kHdrSerialNumber, {}, reply) < 0) return 0;
    found.serialNumber = SerialNumberFromReply(reply);
    driver.DeviceIdentified(found.serialNumber);

    if (driver.Request(kHdrSoftwareRevision, {}, reply) < 0) return 0;
    found.revision = reply.Text();
    visible.masterInhibit = MasterInhibitOffered(reply.Text());

    if (driver.Request(kHdrRequestOptionFlags, {}, reply) <= 0) {
        m_OptionFlags = kOptionFlagsAbsent;
    } else {
        m_OptionFlags = reply.data[0];
        found.optionLetters = OptionLetters(m_OptionFlags);
    }
    ApplyOptionVisibility();
    identity = found;
    status = IdentificationText(identity, kStatusLineBreak);

    // From here on a request that fails after its retries leaves its
    // fields as they were.
    SetUpRequest(kHdrModifyInhibits, {0xFF, 0xFF}, reply);
    if (m_nDeviceType != kDeviceTypeQx) SetUpRequest(kHdrModifyMasterInhibit, {0x01}, reply);
    ReadMasterInhibit();
    ReadCoinIds();
    for (int p = 1; p <= kCoinPositions; ++p) ReadSorterPaths(p);
    ReadInhibits();
    ReadSorterOverride();
    ReadDefaultPath();
    ResetCounters();
    RebuildSortTexts();
    Refresh();
    return 1;
}

int CDemoCore::SetUpRequest(uint8_t header, std::initializer_list<uint8_t> data, CctReply& reply) {
    // One bad byte on the line must not leave a coin position blank, so a
    // set-up request is tried again before its failure is let go.
    int n = -1;
    for (int i = 0; i < kSetUpTries && n < 0; ++i) n = driver.Request(header, data, reply);
    return n;
}
