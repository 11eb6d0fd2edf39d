#include "platform/terminal_lines.h"

namespace platform {

void RepeatedLines::Write(const std::string& line) {
    // Written by length: nothing behind a stray NUL is lost.
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fputc('\n', out_);
}

void RepeatedLines::Put(const std::string& line) {
    if (anyLine_ && line == last_) {
        ++repeats_;
        return;
    }
    CloseRun();
    Write(line);
    last_ = line;
    anyLine_ = true;
}

void RepeatedLines::CloseRun() {
    if (repeats_ != 0) {
        Write(last_ + " (repeated " + std::to_string(repeats_) + (repeats_ == 1 ? " time)" : " times)"));
        repeats_ = 0;
    }
    Flush();
}

} // namespace platform
