// The status line's recent past: the last lines the main window took from
// the log queue, each with the time it took them. The status line itself
// shows only the newest; a failed start's reason is otherwise gone under
// "COM_Thread: Thread Stopped" a tick later.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

// The time of day a line arrived.
struct StatusTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class StatusHistory {
public:
    static constexpr size_t kLines = 500;

    // Keeps the line with its time; the oldest goes when 500 are kept.
    void Add(const StatusTime& time, const std::string& line);
    size_t Count() const { return lines_.size(); }
    // Oldest first, one "HH:MM:SS.mmm  line" each, joined by CR LF as a
    // multi-line edit wants them.
    std::string Text() const;

private:
    std::deque<std::string> lines_;
};

// "HH:MM:SS.mmm"
std::string FormatStatusTime(const StatusTime& time);
