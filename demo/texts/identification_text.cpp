#include "demo/texts/identification_text.h"

#include <cstdio>

std::string SerialNumberText(uint32_t serial) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(serial));
    return text;
}

std::string OptionLetters(uint8_t flags) {
    std::string letters;
    if (flags & kOptionTeach) letters += 'T';
    if (flags & kOptionEscrow) letters += 'E';
    if (flags & kOptionMotor) letters += 'M';
    if (flags & kOptionAcceptLimit) letters += 'L';
    return letters;
}

std::string IdentificationText(const DeviceIdentity& identity, const char* lineBreak) {
    return identity.manufacturer + " - " + identity.productCode + lineBreak + "SN: " +
           SerialNumberText(identity.serialNumber) + lineBreak + "Softw.: " + identity.revision + lineBreak +
           identity.optionLetters;
}

bool MasterInhibitOffered(const std::string& revision) { return revision != "52.00" && revision != "52.01"; }

bool IsQxProduct(const std::string& productCode) { return productCode.compare(0, 2, "QX") == 0; }
