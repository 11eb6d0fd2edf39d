#include "commands/trace/ducat_frame_decoder.h"

#include "coindata/records/device_coin_table.h"
#include "commands/identification.h"
#include "commands/monitoring.h"
#include "commands/protocol/extension_commands.h"
#include "commands/protocol/frame_sealing.h"
#include "link/checksums.h"

#include <cstdio>

namespace {

namespace w = acceptor;
using acceptor::CommandDescriptor;
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

std::string FunctionName(int function) {
    const CommandDescriptor* command = w::CommandOfFunction(function);
    return command != nullptr ? command->name : "function " + Number(function);
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

// The request's fields the trace shows, each as "name value", from the
// frame's payload; a field the frame does not hold is left out.
std::string FieldsText(const CommandDescriptor& command, const std::vector<uint8_t>& f) {
    std::string text;
    for (size_t i = 0; i < command.fields.Count(); ++i) {
        const w::PayloadField& field = command.fields.At(i);
        const size_t at = w::PayloadAt(command) + field.at;
        if (field.text == w::FieldText::Hidden || at + field.size > f.size()) continue;
        uint32_t value = 0;
        for (size_t b = field.size; b-- > 0;) value = value << 8 | f[at + b];
        if (!text.empty()) text += ", ";
        text += std::string(field.name) + " " + (field.text == w::FieldText::Time ? CalendarTimeText(value) : Number(value));
    }
    return text;
}

std::string StatusReply(const CommandDescriptor& command, uint8_t s) {
    namespace f = w::write_fragment;
    const std::string status = "status " + Number(s);
    if (command.replyWording != w::ReplyWording::FragmentStatus) return status + (s == 0 ? ": written" : ": refused");
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
    const CommandDescriptor* command = w::CommandOfFunction(function);
    return command != nullptr ? w::ReplyHeadValue(*command) : -1;
}

bool LongReplyTo(int function) {
    const CommandDescriptor* command = w::CommandOfFunction(function);
    return command != nullptr && command->replyForm == ReplyForm::Long;
}

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
    std::string text = "255." + FunctionName(function_) + " to " + Number(f[0]);
    const CommandDescriptor* command = w::CommandOfFunction(function_);
    if (command == nullptr) return text + "; " + ChecksumText(f);
    if (command->sealed) return text + ", " + SealedRequest(*command, f);
    const std::string fields = FieldsText(*command, f);
    return text + (fields.empty() ? "" : ", " + fields) + "; " + ChecksumText(f);
}

std::string DucatFrameDecoder::SealedRequest(const CommandDescriptor& command, const std::vector<uint8_t>& sealed) {
    const bool checksum = ChecksumHolds(sealed);
    if (sealed.size() < w::RequestFrameLength(command) - 1) {
        return "frame of " + Number(static_cast<long long>(sealed.size())) + " bytes, too short to decipher";
    }
    std::vector<uint8_t> f = sealed;
    if (!keyKnown_) {
        return NoKeyYet(f.data() + w::RequestCipherAt(command), w::RequestCipherLength(command)) + "; " +
               Holds("checksum", checksum);
    }
    const bool crc = w::OpenRequestFrame(f.data(), command, key_);
    return FieldsText(command, f) + " (deciphered, key " + Number(key_) + "); " + Holds("CRC-16", crc) + ", " +
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
    if (!ChecksumHolds(f)) return "reply to " + FunctionName(function_) + "; checksum WRONG";
    const size_t n = f.size() - kFrameOverhead;
    const CommandDescriptor* command = w::CommandOfFunction(function_);
    // The head matched the command's, so the reply holds its data length.
    if (command == nullptr || n != command->replyData) return "reply of " + Number(static_cast<long long>(n)) + " data bytes, checksum holds";
    std::vector<uint8_t> plain(f.begin() + kDataAt, f.end() - 1);
    const w::ReplyOpening& opening = command->opening;
    if (opening.decipherLength != 0 && !keyKnown_) {
        const std::string what = command->replyWording == w::ReplyWording::LogPage ? "log page" : command->name;
        return what + ", " + NoKeyYet(plain.data() + opening.decipherFrom, opening.decipherLength) + ", checksum holds";
    }
    const bool crc = w::OpenReplyData(plain.data(), *command, key_);
    return ReplyText(*command, plain.data(), n, crc) + ", checksum holds";
}

std::string DucatFrameDecoder::ReplyText(const CommandDescriptor& command, const uint8_t* data, size_t n, bool crc) {
    switch (command.replyWording) {
    case w::ReplyWording::Identity: return Identification(data, n);
    case w::ReplyWording::Status:
    case w::ReplyWording::FragmentStatus: return StatusReply(command, data[w::status_reply::kStatusInData]);
    case w::ReplyWording::CoinTable: return CoinTableText(data, n);
    case w::ReplyWording::CoinResult: return CoinResultText(data, crc);
    case w::ReplyWording::LogPage:
        return "log page " + Number(LoadLe16(data + w::log_page::kPageInData)) + " (deciphered, key " + Number(key_) +
               "); " + Holds("CRC-16", crc);
    }
    return std::string();
}
