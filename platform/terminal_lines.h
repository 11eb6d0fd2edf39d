// Lines for an operator's terminal with runs of one line collapsed: a line
// equal to the one before it is only counted, and when another line comes
// (or on CloseRun) the run is closed by the line once more with
// "(repeated N times)". A run of refused requests so costs two lines, not
// thousands a second.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

class RepeatedLines {
public:
    explicit RepeatedLines(std::FILE* out) : out_(out) {}
    ~RepeatedLines() { CloseRun(); }
    RepeatedLines(const RepeatedLines&) = delete;
    RepeatedLines& operator=(const RepeatedLines&) = delete;

    // One line without its line break; printed at once unless it repeats.
    void Put(const std::string& line);
    // Hands what was printed to the terminal; a run of repeats stays open.
    void Flush() { std::fflush(out_); }
    // Closes a run of repeats, then flushes.
    void CloseRun();

private:
    void Write(const std::string& line);

    std::FILE* out_;
    bool anyLine_ = false;
    std::string last_;
    uint64_t repeats_ = 0;
};

} // namespace platform
