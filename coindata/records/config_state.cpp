#include "coindata/records/config_state.h"

#include "link/command_mailbox.h"
#include "link/port_settings.h"

#include <cstring>

int32_t iProtocolIndex = 0;
uint32_t dwLastSerialWritten = 0;
int32_t bHexDisplay = 0;
ConfigReserved g_configReserved;
int32_t bConfigDefaults = 0;

ConfigRecord CollectConfig() {
    ConfigRecord record;
    record.iSpeedIndex = iSpeedIndex;
    record.iProtocolIndex = iProtocolIndex;
    record.iPortIndex = iPortIndex;
    record.bDeviceAddress = static_cast<int32_t>(Mailbox.bDeviceAddress.load());
    std::memcpy(record.szCurrentCoinId, szCurrentCoinId, sizeof record.szCurrentCoinId);
    record.stCoinSet = stCoinSet;
    record.dwLastSerialWritten = dwLastSerialWritten;
    record.bHexDisplay = bHexDisplay;
    record.reserved = g_configReserved;
    return record;
}

void ApplyConfig(const ConfigRecord& record) {
    iSpeedIndex = record.iSpeedIndex;
    iProtocolIndex = record.iProtocolIndex;
    iPortIndex = record.iPortIndex;
    Mailbox.bDeviceAddress.store(static_cast<uint32_t>(record.bDeviceAddress));
    std::memcpy(szCurrentCoinId, record.szCurrentCoinId, sizeof szCurrentCoinId);
    szCurrentCoinId[sizeof szCurrentCoinId - 1] = '\0';
    stCoinSet = record.stCoinSet;
    for (CoinSetEntry& slot : stCoinSet) slot.bPresent = 0;
    dwLastSerialWritten = record.dwLastSerialWritten;
    bHexDisplay = record.bHexDisplay;
    g_configReserved = record.reserved;
}

void SetWindowStartWords() {
    g_configReserved.aiReserved6[0] = 0;
    g_configReserved.aiReserved6[1] = 1;
}
