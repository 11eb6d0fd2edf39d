#include "platform/terminal_lines.h"

namespace platform {

void RepeatedLines::write(const std::string& line) {
    // Written by length: nothing behind a stray NUL is lost.
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fputc('\n', out_);
}

void RepeatedLines::put(const std::string& line) {
    if (anyLine_ && line == last_) {
        ++repeats_;
        return;
    }
    closeRun();
    write(line);
    last_ = line;
    anyLine_ = true;
}

void RepeatedLines::closeRun() {
    if (repeats_ != 0) {
        write(last_ + " (repeated " + std::to_string(repeats_) + (repeats_ == 1 ? " time)" : " times)"));
        repeats_ = 0;
    }
    flush();
}

} // namespace platform
