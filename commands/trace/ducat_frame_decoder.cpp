#include "commands/trace/ducat_frame_decoder.h"

#include "coindata/records/device_coin_table.h"
#include "link/acceptor_protocol.h"
#include "cipher/block_cipher.h"
#include "commands/identification.h"
#include "commands/monitoring.h"
#include "link/checksums.h"

#include <cstdio>

namespace {

namespace w = acceptor;
using platform::TraceDirection;


std::string Number(long long n) { return std::to_string(n); }

bool ChecksumHolds(const std::vector<uint8_t>& f) {
    return f.size() >= kFrameOverhead && SimpleChecksum(f.data(), f.size() - 1) == f.back();
}

std::string Holds(const char* what, bool holds) { return std::string(what) + (holds ? " holds" : " WRONG"); }

std::string ChecksumText(const std::vector<uint8_t>& f) { return Holds("checksum", ChecksumHolds(f)); }

// A sealed payload heard before any identification reply: its key (the
// acceptor's serial number) is not known, so it stays as it is.
std::string NoKeyYet(const uint8_t* sealed, size_t n) {
    return "no key yet (no identification reply heard), sealed " + platform::HexBytes(sealed, n);
}

// Crc16 of f[from, crcAt) against the two bytes at crcAt.
bool CrcHolds(const std::vector<uint8_t>& f, size_t from, size_t crcAt) {
    return crcAt + 2 <= f.size() && Crc16(f.data() + from, crcAt - from) == LoadLe16(f.data() + crcAt);
}

std::string FunctionName(uint8_t function) {
    switch (function) {
    case w::kIdentify: return "identification";
    case w::kWriteFragment: return "write coin description fragment";
    case w::kReadTable: return "read coin table";
    case w::kReadResult: return "read coin result";
    case w::kWriteDivider: return "write coin divider";
    case w::kWriteParams: return "write acceptance parameters";
    case w::kReadLogPage: return "read log page";
    default: return "function " + Number(function);
    }
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilDate(long long days, int& y, unsigned& m, unsigned& d) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yoe + era * 400) + (m <= 2 ? 1 : 0);
}

std::string Text(const char* field) {
    size_t n = 0;
    while (field[n] != '\0') ++n;
    return platform::QuotedText(reinterpret_cast<const uint8_t*>(field), n);
}

std::string StatusReply(uint8_t function, uint8_t s) {
    namespace f = w::write_fragment;
    const std::string status = "status " + Number(s);
    if (function != w::kWriteFragment) return status + (s == 0 ? ": written" : ": refused");
    if (s >= f::kFirstErrorStatus) return status + ": error";
    if (s == f::kAllTaken) return status + ": all 16 fragments taken";
    return status + ": fragment " + Number(s) + " wanted next";
}

std::string CoinResultText(const uint8_t* data, bool crcHolds) {
    namespace r = w::read_result;
    const CoinResultRecord c = DecodeCoinResult(data);
    char text[256];
    std::snprintf(text, sizeof text,
                  "best %s stat %d neural %d (sum %d), next %s stat %d neural %d (sum %d), row %d, stamp %u, "
                  "counter %u, %s; %s",
                  Text(c.szBestCoin).c_str(), c.aiStatErrors[0], c.aiNeuralErrors[0],
                  c.aiStatErrors[0] + c.aiNeuralErrors[0], Text(c.szNextCoin).c_str(), c.aiStatErrors[1],
                  c.aiNeuralErrors[1], c.aiStatErrors[1] + c.aiNeuralErrors[1], c.iResultCoinIndex,
                  static_cast<unsigned>(LoadLe32(data + r::kStampAt)), static_cast<unsigned>(data[r::kCounterAt]),
                  c.bAccepted != 0 ? "accepted" : "not accepted", Holds("CRC-16", crcHolds).c_str());
    return text;
}

std::string CoinTableText(const uint8_t* data, size_t n) {
    DeviceCoinTable table;
    if (!table.StoreCoinTableReply(data, n)) return "coin table; CRC-16 WRONG";
    const AcceptanceParameters p = table.GetAcceptanceParams();
    std::string text = "coin table, Max_Error " + Number(p.Max_Error) + ", NNet_Divider " + Number(p.NNet_Divider) +
                       ", Numb_Stand_Dev " + Number(p.Numb_Stand_Dev) + ", rows";
    const DeviceCoinRows rows = table.GetDeviceCoins();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].szCoinId[0] == '.' || rows[i].szCoinId[0] == '\0') continue;
        text += " " + Number(static_cast<long long>(i)) + ":" + rows[i].szCoinId + "/" + Number(rows[i].iErrorDivider) +
                (rows[i].bInherit != 0 ? "" : "(not allowed)");
    }
    return text + "; CRC-16 holds";
}

} // namespace

std::string CalendarTimeText(uint32_t seconds) {
    int y = 0;
    unsigned m = 0, d = 0;
    CivilDate(static_cast<long long>(seconds / 86400), y, m, d);
    const unsigned rest = seconds % 86400;
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u UTC", y, m, d, rest / 3600, rest / 60 % 60,
                  rest % 60);
    return text;
}

std::string DucatFrameDecoder::Describe(TraceDirection direction, const std::vector<uint8_t>& frame) {
    if (direction == TraceDirection::Host) return Host(frame);
    if (direction == TraceDirection::Device) return Device(frame);
    return std::string();
}

int ExpectedHeadFor(int function) {
    switch (function) {
    case w::kIdentify: return HeadValueFor(w::identify::kReplyData, ReplyForm::Short);
    case w::kWriteFragment:
    case w::kWriteDivider:
    case w::kWriteParams: return HeadValueFor(w::status_reply::kData, ReplyForm::Short);
    case w::kReadTable: return HeadValueFor(kCoinTableReplyBytes, ReplyForm::Short);
    case w::kReadResult: return HeadValueFor(w::read_result::kReplyData, ReplyForm::Short);
    case w::kReadLogPage: return HeadValueFor(w::log_page::kReplyData, ReplyForm::Long);
    default: return -1;
    }
}

bool LongReplyTo(int function) { return function == w::kReadLogPage; }

int ReplyHeadOf(size_t length, bool longReply) {
    return static_cast<int>(length - (longReply ? kLongHeadBytes : kShortHeadBytes));
}

int DucatFrameDecoder::ExpectedHead() const { return ExpectedHeadFor(function_); }

size_t ReplyLength(const uint8_t* b, size_t n, bool longReply) {
    if (n < (longReply ? kLongHeadBytes : kShortHeadBytes)) return 0;
    if (longReply) return kLongHeadBytes + b[kLongReplyLengthHighAt] * 256u + b[kLengthAt];
    return kShortHeadBytes + b[kLengthAt] + 3u;
}

bool DucatFrameDecoder::LongReply() const { return LongReplyTo(function_); }

size_t DucatFrameDecoder::ReplyFrameLength(const std::vector<uint8_t>& b) const {
    return ReplyLength(b.data(), b.size(), LongReply());
}

std::string DucatFrameDecoder::Host(const std::vector<uint8_t>& f) {
    function_ = -1;
    if (f.size() < kFrameOverhead) return "incomplete frame of " + Number(static_cast<long long>(f.size())) + " bytes";
    if (f[kHeaderAt] != kExtensionHeader) return "header " + Number(f[kHeaderAt]) + " to " + Number(f[0]) + "; " + ChecksumText(f);
    function_ = f[kFunctionAt];
    std::string text = "255." + FunctionName(f[kFunctionAt]) + " to " + Number(f[0]);
    switch (f[kFunctionAt]) {
    case w::kIdentify:
        if (f.size() >= w::identify::kTimeAt + 4) text += ", time " + CalendarTimeText(LoadLe32(f.data() + w::identify::kTimeAt));
        break;
    case w::kReadTable:
        if (f.size() >= w::read_table::kTimeAt + 4) text += ", time " + CalendarTimeText(LoadLe32(f.data() + w::read_table::kTimeAt));
        break;
    case w::kWriteFragment:
    case w::kWriteDivider:
    case w::kWriteParams:
    case w::kReadLogPage: return text + ", " + SealedRequest(f);
    default: break;
    }
    return text + "; " + ChecksumText(f);
}

std::string DucatFrameDecoder::SealedRequest(const std::vector<uint8_t>& sealed) {
    const bool checksum = ChecksumHolds(sealed);
    std::vector<uint8_t> f = sealed;
    size_t cipherAt = 0, cipherLength = 0, crcAt = 0;
    switch (f[kFunctionAt]) {
    case w::kWriteFragment:
        cipherAt = w::write_fragment::kCipherAt;
        cipherLength = w::write_fragment::kCipherLength;
        crcAt = w::write_fragment::kCrcAt;
        break;
    case w::kReadLogPage:
        cipherAt = w::log_page::kRequestCipherAt;
        cipherLength = w::log_page::kRequestCipherLength;
        crcAt = w::log_page::kRequestCrcAt;
        break;
    default:
        cipherAt = w::write_setting::kCipherAt;
        cipherLength = w::write_setting::kCipherLength;
        crcAt = w::write_setting::kCrcAt;
        break;
    }
    if (f.size() < cipherAt + cipherLength) return "frame of " + Number(static_cast<long long>(f.size())) + " bytes, too short to decipher";
    if (!keyKnown_) return NoKeyYet(f.data() + cipherAt, cipherLength) + "; " + Holds("checksum", checksum);
    DecipherBuffer(f.data() + cipherAt, static_cast<uint32_t>(cipherLength), key_);
    std::string text;
    const uint8_t* v = f.data() + w::write_setting::kValuesAt;
    switch (f[kFunctionAt]) {
    case w::kWriteFragment:
        text = "fragment " + Number(f[w::write_fragment::kFragmentAt]) + ", coin index " + Number(f[w::write_fragment::kCoinIndexAt]);
        break;
    case w::kReadLogPage: text = "page " + Number(LoadLe16(f.data() + w::log_page::kPageAt)); break;
    case w::kWriteDivider:
        text = "row " + Number(v[0]) + ", allowed " + Number(v[1]) + ", divider " + Number(v[2]) + ", time " +
               CalendarTimeText(LoadLe32(f.data() + w::write_setting::kTimeAt));
        break;
    default:
        text = "Max_Error " + Number(v[0]) + ", NNet_Divider " + Number(v[1]) + ", Numb_Stand_Dev " + Number(v[2]) +
               ", time " + CalendarTimeText(LoadLe32(f.data() + w::write_setting::kTimeAt));
        break;
    }
    return text + " (deciphered, key " + Number(key_) + "); " + Holds("CRC-16", CrcHolds(f, 0, crcAt)) + ", " +
           Holds("checksum", checksum);
}

std::string DucatFrameDecoder::Identification(const uint8_t* data, size_t n) {
    if (n != w::identify::kReplyData) return "identity of " + Number(static_cast<long long>(n)) + " data bytes, 101 expected";
    const DeviceInfo info = DecodeIdentification(data);
    SetKey(info.dwSerial); // the key of every later enciphered payload
    return "identity: address " + Number(info.bAddress) + ", serial " + Number(info.dwSerial) + " " +
           Text(info.szSerial) + ", manufacturer " + Text(info.szManufacturer) + ", category " + Text(info.szCategory) +
           ", build " + Text(info.szBuild) + ", revision " + Text(info.szRevision);
}

std::string DucatFrameDecoder::Device(const std::vector<uint8_t>& f) {
    const size_t whole = ReplyFrameLength(f);
    if (whole == 0 || f.size() < whole) {
        return "incomplete reply: " + Number(static_cast<long long>(f.size())) + " bytes" +
               (whole == 0 ? "" : " of " + Number(static_cast<long long>(whole)));
    }
    if (f.size() != whole) return "reply of " + Number(static_cast<long long>(f.size())) + " bytes, its length says " + Number(static_cast<long long>(whole));
    const int head = ReplyHeadOf(whole, LongReply());
    if (head != ExpectedHead()) {
        return "reply with head " + Number(head) + ", " + Number(ExpectedHead()) + " expected; " + ChecksumText(f);
    }
    return Reply(f);
}

std::string DucatFrameDecoder::Reply(const std::vector<uint8_t>& f) {
    // The codec refuses such a reply; what it seems to say is not shown.
    if (!ChecksumHolds(f)) return "reply to " + FunctionName(static_cast<uint8_t>(function_)) + "; checksum WRONG";
    const uint8_t* data = f.data() + kDataAt;
    const size_t n = f.size() - kFrameOverhead;
    std::string text;
    switch (function_) {
    case w::kIdentify: text = Identification(data, n); break;
    case w::kWriteFragment:
    case w::kWriteDivider:
    case w::kWriteParams: text = StatusReply(static_cast<uint8_t>(function_), f[w::status_reply::kStatusAt]); break;
    case w::kReadTable: text = CoinTableText(data, n); break;
    case w::kReadResult:
        text = CoinResultText(data, CrcHolds(f, kDataAt, kDataAt + w::read_result::kCrcAt));
        break;
    case w::kReadLogPage: {
        namespace l = w::log_page;
        if (!keyKnown_) {
            text = "log page, " + NoKeyYet(f.data() + l::kReplyCipherAt, l::kReplyCipherLength);
            break;
        }
        std::vector<uint8_t> plain = f;
        DecipherBuffer(plain.data() + l::kReplyCipherAt, static_cast<uint32_t>(l::kReplyCipherLength), key_);
        text = "log page " + Number(LoadLe16(plain.data() + l::kPageAt)) + " (deciphered, key " + Number(key_) + "); " +
               Holds("CRC-16", CrcHolds(plain, l::kReplyCrcFrom, l::kReplyCrcAt));
        break;
    }
    default: text = "reply of " + Number(static_cast<long long>(n)) + " data bytes"; break;
    }
    return text + ", checksum holds";
}
