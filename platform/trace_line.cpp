#include "platform/trace_line.h"

#include <cstdio>
#include <cstring>

namespace platform {
namespace {

constexpr size_t kDirectionWidth = 6;
constexpr size_t kLongestLine = 64 * 1024; // far beyond any frame of either program
constexpr char kMeaningMark[] = "| ";

struct DirectionName {
    TraceDirection direction;
    const char* word;
};

constexpr DirectionName kDirections[] = {
    {TraceDirection::Host, "host"},     {TraceDirection::Echo, "echo"}, {TraceDirection::Device, "device"},
    {TraceDirection::Failed, "failed"}, {TraceDirection::Port, "port"}, {TraceDirection::Noise, "noise"},
    {TraceDirection::Raw, "raw"},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The next word from `at`, skipping blanks; empty at the end.
std::string NextWord(const std::string& text, size_t& at) {
    while (at < text.size() && text[at] == ' ') ++at;
    const size_t start = at;
    while (at < text.size() && text[at] != ' ') ++at;
    return text.substr(start, at - start);
}

bool IsDigits(const std::string& text, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

// "YYYY-MM-DD" and "hh:mm:ss.mmm".
bool IsDate(const std::string& w) {
    return w.size() == 10 && w[4] == '-' && w[7] == '-' && IsDigits(w, 0, 4) && IsDigits(w, 5, 7) && IsDigits(w, 8, 10);
}
bool IsClock(const std::string& w) {
    return w.size() == 12 && w[2] == ':' && w[5] == ':' && w[8] == '.' && IsDigits(w, 0, 2) && IsDigits(w, 3, 5) &&
           IsDigits(w, 6, 8) && IsDigits(w, 9, 12);
}

bool ParseTime(const std::string& text, size_t& at, std::string& time) {
    const std::string first = NextWord(text, at);
    if (first.size() > 1 && first[0] == '@' && IsDigits(first, 1, first.size())) {
        time = first;
        return true;
    }
    const std::string second = NextWord(text, at);
    if (!IsDate(first) || !IsClock(second)) return false;
    time = first + " " + second;
    return true;
}

bool ParseDirection(const std::string& word, TraceDirection& direction) {
    for (const auto& d : kDirections) {
        if (word == d.word) {
            direction = d.direction;
            return true;
        }
    }
    return false;
}

} // namespace

const char* DirectionWord(TraceDirection direction) {
    for (const auto& d : kDirections) {
        if (d.direction == direction) return d.word;
    }
    return "?";
}

bool CarriesFrame(TraceDirection direction) {
    return direction == TraceDirection::Host || direction == TraceDirection::Echo ||
           direction == TraceDirection::Device;
}

bool CarriesBytes(TraceDirection direction) {
    return CarriesFrame(direction) || direction == TraceDirection::Noise || direction == TraceDirection::Raw;
}

std::string HexBytes(const uint8_t* bytes, size_t n) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(n * 3);
    for (size_t i = 0; i < n; ++i) {
        if (i != 0) hex += ' ';
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

std::string FormatTraceLine(const TraceLine& line) {
    std::string text = line.time + " ";
    std::string word = DirectionWord(line.direction);
    word.resize(kDirectionWidth > word.size() ? kDirectionWidth : word.size(), ' ');
    text += word + " ";
    if (!line.bytes.empty()) text += HexBytes(line.bytes.data(), line.bytes.size()) + " ";
    text += kMeaningMark + line.meaning;
    return text;
}

bool ParseTraceLine(const std::string& text, TraceLine& line, std::string& error) {
    line = TraceLine{};
    if (text.size() > kLongestLine) {
        error = "line too long";
        return false;
    }
    size_t at = 0;
    if (!ParseTime(text, at, line.time)) {
        error = "no time stamp at the start";
        return false;
    }
    if (!ParseDirection(NextWord(text, at), line.direction)) {
        error = "no direction (host, echo, device, failed, port, noise, raw)";
        return false;
    }
    for (;;) {
        const std::string word = NextWord(text, at);
        if (word == "|") break;
        if (word.size() != 2 || HexDigit(word[0]) < 0 || HexDigit(word[1]) < 0) {
            error = word.empty() ? "no \"|\" before the meaning" : "\"" + word + "\" is not a byte in hex";
            return false;
        }
        line.bytes.push_back(static_cast<uint8_t>(HexDigit(word[0]) * 16 + HexDigit(word[1])));
    }
    if (CarriesBytes(line.direction) == line.bytes.empty()) {
        error = CarriesBytes(line.direction) ? "a frame, noise or raw line without bytes" : "bytes on a line that carries none";
        return false;
    }
    if (at < text.size() && text[at] == ' ') ++at;
    line.meaning = text.substr(at);
    return true;
}

std::string QuotedText(const uint8_t* bytes, size_t n) {
    std::string text = "\"";
    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = bytes[i];
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        }
    }
    return text + "\"";
}

std::string RawOffsetStamp(size_t offset) {
    char stamp[24];
    std::snprintf(stamp, sizeof stamp, "@%06zu", offset);
    return stamp;
}

} // namespace platform
