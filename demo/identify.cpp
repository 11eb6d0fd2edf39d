// Identification: who the device is, what it offers, and its set-up for
// polling (all coins enabled, master inhibit released, tables read).
#include "demo/demo_core.h"

#include "demo/identification_text.h"

int CDemoCore::Identify() {
    std::string text;
    CctReply reply;
    m_Driver.m_bCounterSeen = 0;

    if (m_Driver.Request(kHdrManufacturerId, {}, reply) < 0) return 0;
    text += reply.text() + " - ";

    if (m_Driver.Request(kHdrProductCode, {}, reply) < 0) return 0;
    text += reply.text() + "\r\n";
    m_nDeviceType = IsQxProduct(reply.text()) ? kDeviceTypeQx : 0;

    if (m_Driver.Request(kHdrSerialNumber, {}, reply) < 0) return 0;
    text += "SN: " + SerialNumberText(SerialNumberFromReply(reply)) + "\r\n";

    if (m_Driver.Request(kHdrSoftwareRevision, {}, reply) < 0) return 0;
    text += "Softw.: " + reply.text() + "\r\n";
    m_Visible.masterInhibit = MasterInhibitOffered(reply.text());

    if (m_Driver.Request(kHdrRequestOptionFlags, {}, reply) <= 0) {
        m_OptionFlags = kOptionFlagsAbsent;
    } else {
        m_OptionFlags = reply.data[0];
        text += OptionLetters(m_OptionFlags);
    }
    ApplyOptionVisibility();
    m_Status = text;

    // From here on a failed request leaves its fields as they were.
    m_Driver.Request(kHdrModifyInhibits, {0xFF, 0xFF}, reply);
    if (m_nDeviceType != kDeviceTypeQx) m_Driver.Request(kHdrModifyMasterInhibit, {0x01}, reply);
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
