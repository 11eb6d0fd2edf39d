// A sniff listening on its own thread while a test's host talks on the
// line: its lines go to a file, it starts before the host says a word, and
// it ends once it heard the frames the test expects (or patience ran out on
// a loaded machine). Both programs' sniff tests run theirs so.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class BackgroundSniff {
public:
    // The sniff: writes its lines to `out`, ends when `stop` says so, and
    // returns its exit status.
    using Run = std::function<int(std::FILE* out, const std::function<bool()>& stop)>;
    // How many frames the lines written so far hold.
    using CountFrames = std::function<size_t(const std::vector<std::string>& lines)>;

    BackgroundSniff() = default;
    ~BackgroundSniff();
    BackgroundSniff(const BackgroundSniff&) = delete;
    BackgroundSniff& operator=(const BackgroundSniff&) = delete;

    // Starts `run` writing into `output` and returns once its first line is there.
    void Start(const std::string& output, Run run, CountFrames count);
    // Lets the sniff end once it heard `frames` frames; its lines.
    std::vector<std::string> Stop(size_t frames);
    bool Running() const { return thread_.joinable(); }
    int Status() const { return status_; }

private:
    bool HeardAll();

    std::string output_;
    CountFrames count_;
    std::thread thread_;
    std::atomic<size_t> expected_{SIZE_MAX};
    uint64_t giveUpAt_ = 0;
    int status_ = -1;
};

} // namespace testing_support
