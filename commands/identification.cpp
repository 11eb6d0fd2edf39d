#include "commands/identification.h"

#include "commands/extension_exchange.h"
#include "commands/protocol/extension_commands.h"
#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

namespace id = acceptor::identify;

constexpr size_t kIdentityLineChars = 289;
constexpr uint8_t kFlagByte = 0; // the window has no control for it

// Copies at most sizeof(field) - 1 bytes and terminates the field.
template <size_t N>
void CopyText(char (&field)[N], const uint8_t* from, size_t width) {
    std::memset(field, 0, N);
    std::memcpy(field, from, std::min(width, N - 1));
}

} // namespace

DeviceInfo DecodeIdentification(const uint8_t* data) {
    DeviceInfo info;
    info.bAddress = data[id::kAddressAt];
    info.dwSerial = LoadLe32(data + id::kSerialAt);
    CopyText(info.szSerial, data + id::kSerialTextAt, id::kSerialTextField);
    CopyText(info.szManufacturer, data + id::kManufacturerAt, id::kManufacturerChars);
    CopyText(info.szCategory, data + id::kCategoryAt, id::kCategoryChars);
    CopyText(info.szBuild, data + id::kBuildAt, id::kBuildChars);
    CopyText(info.szRevision, data + id::kRevisionAt, id::kRevisionChars);
    return info;
}

std::string FormatIdentityLine(const DeviceInfo& info) {
    char line[kIdentityLineChars + 1];
    // The serial number is unsigned on the wire; shown as such.
    std::snprintf(line, sizeof line,
                  "Addr= %d,  Serial= %u \"%s\",  Manufacture= \"%s\",  Category= \"%s\",  Build= \"%s\",  "
                  "Revision= \"%s\"",
                  info.bAddress, static_cast<unsigned>(info.dwSerial), info.szSerial, info.szManufacturer,
                  info.szCategory, info.szBuild, info.szRevision);
    return line;
}

void HandleIdentification(RunState& run) {
    acceptor::RequestPayload request(acceptor::kIdentifyCommand);
    request.Put(id::kFlag, kFlagByte);
    PutRequestTime(request, id::kTime);
    const ExtensionReply reply = CallExtension(run, request);
    if (!reply.Usable()) {
        StopRun();
        return;
    }
    const DeviceInfo info = DecodeIdentification(reply.data);
    SetDeviceInfo(info);
    CurrentFrontEnd().WriteIdentityLine(FormatIdentityLine(info).c_str());
    ApplyIdentificationFollowUp();
}
