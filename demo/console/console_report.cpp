#include "demo/console/console_report.h"

#include "demo/texts/coin_value.h"
#include "demo/texts/identification_text.h"
#include "platform/text_encoding.h"

#include <cstdio>

namespace {

std::string Format(const char* format, unsigned a) {
    char text[64];
    std::snprintf(text, sizeof text, format, a);
    return text;
}

std::string Format(const char* format, const std::string& a) {
    char text[64];
    std::snprintf(text, sizeof text, format, a.c_str());
    return text;
}

// The text and blanks up to `width`.
std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

std::string OfferedControls(const CDemoCore& core) {
    std::string text;
    const ControlVisibility& v = core.visible;
    if (v.masterInhibit) text += core.masterInhibit ? " [Master Inhibit: on]" : " [Master Inhibit: off]";
    if (v.escrow) text += " [Escrow]";
    if (v.motorReturn) text += " [Motor Return]";
    if (v.acceptLimit) text += " [Accept Limit]";
    if (v.trashCycle) text += " [Trash cycle]";
    return text.empty() ? " none" : text;
}

} // namespace

std::string TerminalText(const std::string& text) {
    std::string out;
    size_t start = 0;
    for (size_t end; (end = text.find(kStatusLineBreak, start)) != std::string::npos; start = end + 2) {
        out += platform::Cp1251ToTerminal(text.substr(start, end - start)) + "\n";
    }
    return out + platform::Cp1251ToTerminal(text.substr(start));
}

std::string StatusText(const CDemoCore& core) {
    const DeviceIdentity& raw = core.identity;
    if (core.status != IdentificationText(raw, kStatusLineBreak)) return TerminalText(core.status);
    DeviceIdentity shown = raw;
    shown.manufacturer = platform::Cp1251ToTerminal(raw.manufacturer);
    shown.productCode = platform::Cp1251ToTerminal(raw.productCode);
    shown.revision = platform::Cp1251ToTerminal(raw.revision);
    return IdentificationText(shown, "\n");
}

std::string CoinTable(const CDemoCore& core) {
    std::string table = "Pos  ID        Value  Sort  Inhibited\n";
    for (size_t i = 0; i < core.coinId.size(); ++i) {
        // Built by pieces: a coin id the device made long is shown whole.
        table += Format("%3u  ", static_cast<unsigned>(i + 1)) + Padded(platform::Cp1251ToTerminal(core.coinId[i]), 8) +
                 " " + Format("%6s", MoneyText(core.coinValue[i])) + "  " + Padded(TerminalText(core.sortText[i]), 4) +
                 "  " + (core.inhibit[i] ? "yes" : "no") + "\n";
    }
    table += Format("default sorter path: %u\n", core.defaultPath);
    table += "sorter full:";
    for (size_t k = 0; k < core.outletFull.size(); ++k) {
        if (core.outletFull[k]) table += Format(" %u", static_cast<unsigned>(k + 1));
    }
    if (table.back() == ':') table += " none";
    table += "\ncontrols:" + OfferedControls(core) + "\n";
    return table;
}

std::string PollLine(const CDemoCore& core) {
    std::string line = "Count:";
    for (size_t i = 0; i < core.count.size(); ++i) {
        if (core.count[i] == 0) continue;
        line += Format(" %u", static_cast<unsigned>(i + 1)) + Format("x%u", core.count[i]);
    }
    if (line.back() == ':') line += " -";
    line += "  Outlets:";
    for (unsigned total : core.outletTotal) line += Format(" %u", total);
    line += Format("  Rejects: %u", core.rejectTotal);
    line += "  Credit: " + core.creditText;
    if (core.visible.escrow) line += "  Escrow: " + core.escrowText;
    if (core.acceptLimit != 0) line += Format("  Residual: %u", core.residual);
    line += "  " + core.errorLine;
    return TerminalText(line);
}
