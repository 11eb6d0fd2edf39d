#include "demo/trace/cct_frame_decoder.h"

#include "demo/driver/cct_protocol.h"
#include "demo/driver/event_decoding.h"
#include "demo/texts/error_text.h"
#include "demo/trace/cct_header_names.h"

#include <cstdio>

namespace {

using platform::TraceDirection;

std::string Number(unsigned n) { return std::to_string(n); }

std::string Hex2(uint8_t b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

std::string Text(const uint8_t* data, size_t n) { return platform::QuotedText(data, n); }

// What is wrong with a frame as a frame, or empty when nothing is.
std::string FrameFault(const std::vector<uint8_t>& f) {
    if (f.size() < kCctFrameOverhead) {
        return "incomplete: " + Number(static_cast<unsigned>(f.size())) + " of at least 5 bytes";
    }
    const size_t whole = kCctFrameOverhead + f[kCctLength];
    if (f.size() < whole) {
        return "incomplete: " + Number(static_cast<unsigned>(f.size())) + " of " + Number(static_cast<unsigned>(whole)) +
               " bytes";
    }
    if (f.size() > whole) return "length byte says " + Number(static_cast<unsigned>(whole)) + " bytes";
    if (!CctSumIsZero(f.data(), f.size())) return "checksum WRONG";
    return std::string();
}

uint32_t LittleEndian(const uint8_t* data, size_t n) {
    uint32_t value = 0;
    for (size_t i = n; i > 0; --i) value = (value << 8) | data[i - 1];
    return value;
}

std::string OptionFlagsText(uint8_t flags) {
    static const char kLetters[] = "TEML";
    std::string letters;
    for (int bit = 7; bit >= 4; --bit) {
        if ((flags & (1u << bit)) != 0) letters += kLetters[7 - bit];
    }
    return Hex2(flags) + (letters.empty() ? "" : " " + letters);
}

std::string OutletList(uint8_t fullWhenClear) {
    std::string outlets;
    for (int k = 1; k <= 8; ++k) {
        if ((fullWhenClear & (1u << (k - 1))) != 0) continue;
        outlets += (outlets.empty() ? "" : ",") + Number(static_cast<unsigned>(k));
    }
    return outlets.empty() ? "none" : outlets;
}

// What the data of a request asks for, for the headers that carry data.
std::string RequestData(uint8_t header, const uint8_t* d, size_t n) {
    if (n == 0) return std::string();
    switch (header) {
    case kHdrModifyInhibits:
        if (n >= 2) return "enable " + PositionList(static_cast<uint16_t>(d[0] | (d[1] << 8)));
        break;
    case kHdrModifyMasterInhibit: return (d[0] & 1) != 0 ? "normal operation" : "inhibit all";
    case kHdrRequestCoinId:
    case kHdrRequestSorterPaths: return "position " + Number(d[0]);
    case kHdrModifySorterPaths: {
        std::string paths = "position " + Number(d[0]) + " paths";
        for (size_t i = 1; i < n; ++i) paths += " " + Number(d[i]);
        return paths;
    }
    case kHdrModifyDefaultPath: return "path " + Number(d[0]);
    case kHdrModifySorterOverride: return "full outlets " + OutletList(d[0]);
    case kHdrTeachModeControl: return "channel byte " + Hex2(d[0]);
    case kHdrAcceptLimit:
        if (n >= 4) return "limit " + Number(LittleEndian(d + 1, 3)) + (d[0] != 0 ? " on" : " off");
        break;
    default: break;
    }
    return "data " + platform::HexBytes(d, n);
}

} // namespace

std::string PositionList(uint16_t mask) {
    std::string list;
    for (int p = 1; p <= 16;) {
        if ((mask & (1u << (p - 1))) == 0) {
            ++p;
            continue;
        }
        int last = p;
        while (last < 16 && (mask & (1u << last)) != 0) ++last;
        list += (list.empty() ? "" : ",") + Number(static_cast<unsigned>(p));
        if (last > p) list += "-" + Number(static_cast<unsigned>(last));
        p = last + 1;
    }
    return list.empty() ? "no positions" : "positions " + list;
}

std::string CctFrameDecoder::Describe(TraceDirection direction, const std::vector<uint8_t>& bytes) {
    switch (direction) {
    case TraceDirection::Host: return Host(bytes);
    case TraceDirection::Echo: return Echo(bytes);
    case TraceDirection::Device: return Device(bytes);
    default: return std::string();
    }
}

std::string CctFrameDecoder::Host(const std::vector<uint8_t>& f) {
    request_ = f;
    const std::string fault = FrameFault(f);
    if (f.size() < 4) return fault;
    std::string text = CctHeaderName(f[kCctHeader]) + " to " + Number(f[kCctDestination]);
    const size_t n = f.size() >= kCctFrameOverhead ? f.size() - kCctFrameOverhead : 0;
    const std::string data = RequestData(f[kCctHeader], f.data() + kCctData, n);
    if (!data.empty()) text += ": " + data;
    return fault.empty() ? text : text + "; " + fault;
}

std::string CctFrameDecoder::Echo(const std::vector<uint8_t>& bytes) const {
    for (size_t i = 0; i < bytes.size() && i < request_.size(); ++i) {
        if (bytes[i] != request_[i]) return "echo differs at byte " + Number(static_cast<unsigned>(i));
    }
    if (bytes.size() < request_.size()) {
        return "echo short: " + Number(static_cast<unsigned>(bytes.size())) + " of " +
               Number(static_cast<unsigned>(request_.size())) + " bytes";
    }
    return "echo of the request";
}

std::string CctFrameDecoder::Device(const std::vector<uint8_t>& f) {
    const std::string fault = FrameFault(f);
    if (f.size() < 4) return fault;
    std::string text = "from " + Number(f[kCctSource]) + ": ";
    const uint8_t header = f[kCctHeader];
    const uint8_t asked = request_.size() > kCctHeader ? request_[kCctHeader] : 0;
    if (header == kHdrNak) {
        text += "NAK";
    } else if (header != kHdrReply) {
        text += CctHeaderName(header);
    } else if (!fault.empty()) {
        // A frame that does not hold tells nothing: no events, no coin ids.
        const bool empty = f.size() == kCctFrameOverhead && f[kCctLength] == 0;
        text += empty ? "ACK" : "reply to " + Number(asked);
    } else {
        const size_t n = f.size() - kCctFrameOverhead;
        const std::string data = ReplyData(asked, f.data() + kCctData, n);
        text += data.empty() ? "ACK" : data;
    }
    return fault.empty() ? text : text + "; " + fault;
}

std::string CctFrameDecoder::CoinName(uint8_t position) const {
    if (position < 1 || position > coinIds_.size() || coinIds_[position - 1u].empty()) return std::string();
    return " " + coinIds_[position - 1u];
}

std::string CctFrameDecoder::CreditEvents(const uint8_t* d, size_t n) {
    if (n != kBufferedCreditLength) return "data " + platform::HexBytes(d, n);
    const uint8_t counter = d[0];
    std::string text = "counter " + Number(counter);
    if (counterKnown_ && counter == 0 && lastCounter_ != 0) {
        text += ", device reset";
    } else if (counterKnown_ && counter != lastCounter_) {
        const int happened = EventsSince(counter, lastCounter_);
        text += ", " + Number(static_cast<unsigned>(happened)) + " new";
        if (happened > kEventsInReply) text += ", " + LostEventsText(happened - kEventsInReply);
    }
    counterKnown_ = true;
    lastCounter_ = counter;
    text += ";";
    for (int e = 1; e <= kEventsInReply; ++e) {
        const uint8_t a = d[2 * e - 1];
        const uint8_t b = d[2 * e];
        text += " " + Number(static_cast<unsigned>(e)) + ": ";
        if (a != 0) {
            text += "coin " + Number(a) + CoinName(a) + " path " + Number(b);
        } else if (b == 0) {
            text += "-";
        } else {
            text += "error " + Number(b) + " " + ErrorText(b);
        }
        if (e != kEventsInReply) text += ",";
    }
    return text;
}

std::string CctFrameDecoder::ReplyData(uint8_t asked, const uint8_t* d, size_t n) {
    if (n == 0) return std::string();
    switch (asked) {
    case kHdrManufacturerId: return "manufacturer " + Text(d, n);
    case kHdrProductCode: return "product code " + Text(d, n);
    case kHdrSoftwareRevision: return "revision " + Text(d, n);
    case kHdrSerialNumber: return "serial number " + Number(LittleEndian(d, n > 4 ? 4 : n));
    case kHdrRequestOptionFlags: return "option flags " + OptionFlagsText(d[0]);
    case kHdrReadBufferedCredit: return CreditEvents(d, n);
    case kHdrRequestInhibits:
        if (n >= 2) return "enabled " + PositionList(static_cast<uint16_t>(d[0] | (d[1] << 8)));
        break;
    case kHdrRequestMasterInhibit: return (d[0] & 1) != 0 ? "normal operation" : "master inhibit on";
    case kHdrRequestCoinId: {
        const uint8_t position = request_.size() > kCctData ? request_[kCctData] : 0;
        if (position >= 1 && position <= coinIds_.size()) {
            coinIds_[position - 1u] = std::string(reinterpret_cast<const char*>(d), n);
        }
        return "coin id " + Text(d, n);
    }
    case kHdrRequestSorterPaths: {
        std::string paths = "paths";
        for (size_t i = 0; i < n; ++i) paths += " " + Number(d[i]);
        return paths;
    }
    case kHdrRequestDefaultPath: return "default path " + Number(d[0]);
    case kHdrRequestSorterOverride: return "full outlets " + OutletList(d[0]);
    case kHdrReadOptoStates:
        return "opto " + Hex2(d[0]) + ((d[0] & 1) != 0 ? " coin present" : "") + ((d[0] & 2) != 0 ? " trash open" : "");
    case kHdrRequestTeachStatus:
        if (n >= 2) return "teach: " + Number(d[0]) + " coins, status " + Number(d[1]);
        break;
    case kHdrAcceptLimit:
        if (n >= 4) return "limit " + std::string(d[0] != 0 ? "on" : "off") + ", residual " + Number(LittleEndian(d + 1, 3));
        break;
    default: break;
    }
    return "data " + platform::HexBytes(d, n);
}
