#include "demo/texts/error_text.h"

#include <cstdio>

namespace {

struct ErrorEntry {
    uint8_t code;
    const char* text;
};

constexpr ErrorEntry kErrorTexts[] = {
    {1, "(coin rejected)"},
    {2, "(inhibited coin)"},
    {5, "(validation timeout)"},
    {6, "(credit sensor timeout)"},
    {8, "(2nd close coin)"},
    {10, "(credit sensor not ready)"},
    {11, "(sorter not ready)"},
    {14, "(credit sensor blocked)"},
    {15, "(diverter opto blocked)"},
    {16, "(credit sequence error)"},
    {17, "(coin going backwards)"},
    {20, "(coin on string mechanism activated)"},
    {24, "(5 rejected coins in sequence)"},
    {29, "(accept gate open not closed, unexp. acception)"},
    {30, "(accept gate closed not open, unexp. rejection)"},
    {118, "(disk stalled)"},
    {119, "(motor overcurrent, reversing)"},
    {120, "(interfering light)"},
    {121, "(validation sensor blocked)"},
    {122, "(coin routed to wrong path)"},
    {123, "(polling timeout)"},
    {124, "(motor return timeout)"},
    {125, "(RZ7 additional sorter path 6)"},
    {126, "(RZ7 additional sorter path 7)"},
    {127, "(RZ7 additional sorter path 8)"},
    {254, "(coin return mechanism activated)"},
};

} // namespace

const char* ErrorText(uint8_t code) {
    if (code == 0) return "";
    for (const auto& e : kErrorTexts) {
        if (e.code == code) return e.text;
    }
    return "(unknown)";
}

std::string ErrorLine(uint8_t code) {
    char head[16];
    std::snprintf(head, sizeof head, "Code %d ", code);
    return std::string(head) + ErrorText(code);
}
