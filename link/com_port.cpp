#include "link/com_port.h"

#include "link/log_queue.h"
#include "link/run_environment.h"
#include "link/port_settings.h"

#include <mutex>

namespace {

std::mutex g_openFailureLock;
PortOpenFailureRecord g_openFailure; // under g_openFailureLock

void RecordOpenFailure(uint32_t error) {
    std::lock_guard<std::mutex> guard(g_openFailureLock);
    g_openFailure.port = szPortName;
    g_openFailure.error = error;
    ++g_openFailure.failures;
}

} // namespace

bool OpenComPort(std::unique_ptr<platform::SerialPort>& port) {
    uint32_t error = 0;
    port = CurrentRunEnvironment().openPort(szPortName, error);
    if (!port) {
        LogQueuePushFormat("COM_Thread:  Невозможно открыть порт %s, Error = %d", szPortName, static_cast<int>(error));
        RecordOpenFailure(error);
        return false;
    }
    platform::LineSettings line;
    if (!port->GetLine(line)) {
        LogQueuePush("COM_Thread: Ошибка функции GetCommState(hCom, ...");
        return false;
    }
    line.baudRate = dwBaudRate;
    line.byteSize = platform::kEightDataBits;
    line.parity = platform::kParityNone;
    line.stopBits = platform::kOneStopBit;
    if (!port->SetLine(line)) {
        LogQueuePush("COM_Thread:  Ошибка функции SetCommState(hCom, ...");
        return false;
    }
    if (!port->SetTimeouts(kLinkTimeouts)) {
        LogQueuePush("COM_Thread:  Ошибка функции SetCommTimeouts(hCom, ...");
        return false;
    }
    // Whatever these report, the run goes on.
    (void)port->Purge(platform::kPurgeRxAbort | platform::kPurgeRxClear);
    (void)port->Purge(platform::kPurgeTxAbort | platform::kPurgeTxClear);
    uint32_t oldErrors = 0;
    (void)port->ClearErrors(oldErrors);
    return true;
}

PortOpenFailureRecord LastPortOpenFailure() {
    std::lock_guard<std::mutex> guard(g_openFailureLock);
    return g_openFailure;
}

bool CheckLineBeforeCommand(platform::SerialPort& port) {
    uint32_t errors = 0;
    (void)port.ClearErrors(errors);
    if (errors == 0) return true;
    LogQueuePush("COM_Thread:  Ошибка функции ClearCommError(hCom, ...");
    return false;
}
