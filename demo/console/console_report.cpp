#include "demo/console/console_report.h"

#include "demo/coin_value.h"
#include "platform/text_encoding.h"

#include <cstdio>

namespace {

std::string Format(const char* format, unsigned a) {
    char text[64];
    std::snprintf(text, sizeof text, format, a);
    return text;
}

std::string OfferedControls(const CDemoCore& core) {
    std::string text;
    const ControlVisibility& v = core.m_Visible;
    if (v.masterInhibit) text += core.m_MasterInhibit ? " [Master Inhibit: on]" : " [Master Inhibit: off]";
    if (v.escrow) text += " [Escrow]";
    if (v.motorReturn) text += " [Motor Return]";
    if (v.acceptLimit) text += " [Accept Limit]";
    if (v.trashCycle) text += " [Trash cycle]";
    return text.empty() ? " none" : text;
}

} // namespace

std::string TerminalText(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return platform::Cp1251ToUtf8(out);
}

std::string CoinTable(const CDemoCore& core) {
    std::string table = "Pos  ID        Value  Sort  Inhibited\n";
    for (size_t i = 0; i < core.m_CoinId.size(); ++i) {
        char row[96];
        std::snprintf(row, sizeof row, "%3u  %-8s %6s  %-4s  %s\n", static_cast<unsigned>(i + 1),
                      TerminalText(core.m_CoinId[i]).c_str(), MoneyText(core.m_CoinValue[i]).c_str(),
                      TerminalText(core.m_SortText[i]).c_str(), core.m_Inhibit[i] ? "yes" : "no");
        table += row;
    }
    table += Format("default sorter path: %u\n", core.m_DefaultPath);
    table += "sorter full:";
    for (size_t k = 0; k < core.m_OutletFull.size(); ++k) {
        if (core.m_OutletFull[k]) table += Format(" %u", static_cast<unsigned>(k + 1));
    }
    if (table.back() == ':') table += " none";
    table += "\ncontrols:" + OfferedControls(core) + "\n";
    return table;
}

std::string PollLine(const CDemoCore& core) {
    std::string line = "Count:";
    for (size_t i = 0; i < core.m_Count.size(); ++i) {
        if (core.m_Count[i] == 0) continue;
        line += Format(" %u", static_cast<unsigned>(i + 1)) + Format("x%u", core.m_Count[i]);
    }
    if (line.back() == ':') line += " -";
    line += "  Outlets:";
    for (unsigned total : core.m_OutletTotal) line += Format(" %u", total);
    line += Format("  Rejects: %u", core.m_RejectTotal);
    line += "  Credit: " + core.m_CreditText;
    if (core.m_Visible.escrow) line += "  Escrow: " + core.m_EscrowText;
    if (core.m_AcceptLimit != 0) line += Format("  Residual: %u", core.m_Residual);
    line += "  " + core.m_ErrorLine;
    return TerminalText(line);
}
