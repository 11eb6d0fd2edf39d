#include "demo/trace/cct_header_names.h"

namespace {

struct HeaderName {
    uint8_t header;
    const char* name;
};

constexpr HeaderName kNames[] = {
    {0, "Reply"},
    {1, "Reset device"},
    {4, "Request comms revision"},
    {5, "NAK"},
    {6, "BUSY"},
    {135, "Set accept limit"},
    {184, "Request coin id"},
    {188, "Request default sorter path"},
    {189, "Modify default sorter path"},
    {192, "Request build code"},
    {201, "Request teach status"},
    {202, "Teach mode control"},
    {209, "Request sorter paths"},
    {210, "Modify sorter paths"},
    {213, "Request option flags"},
    {221, "Request sorter override status"},
    {222, "Modify sorter override status"},
    {227, "Request master inhibit status"},
    {228, "Modify master inhibit status"},
    {229, "Read buffered credit or error codes"},
    {230, "Request inhibit status"},
    {231, "Modify inhibit status"},
    {236, "Read opto states"},
    {237, "Read input lines"},
    {238, "Test output lines"},
    {239, "Operate motors"},
    {241, "Request software revision"},
    {242, "Request serial number"},
    {244, "Request product code"},
    {245, "Request equipment category id"},
    {246, "Request manufacturer id"},
    {253, "Address poll"},
    {254, "Simple poll"},
};

} // namespace

std::string CctHeaderName(uint8_t header) {
    for (const auto& n : kNames) {
        if (n.header == header) return n.name;
    }
    return "header " + std::to_string(header);
}
