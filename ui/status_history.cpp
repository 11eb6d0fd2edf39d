#include "ui/status_history.h"

#include <cstdio>

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr const char* kTimeGap = "  ";

// A line break inside a line would split it in the list.
std::string OnOneLine(std::string line) {
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return line;
}

} // namespace

std::string FormatStatusTime(const StatusTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", time.hour, time.minute, time.second, time.millisecond);
    return text;
}

void StatusHistory::Add(const StatusTime& time, const std::string& line) {
    if (lines_.size() == kLines) lines_.pop_front();
    lines_.push_back(FormatStatusTime(time) + kTimeGap + OnOneLine(line));
}

std::string StatusHistory::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        if (!text.empty()) text += kLineBreak;
        text += line;
    }
    return text;
}
