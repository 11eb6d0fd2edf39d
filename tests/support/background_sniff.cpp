#include "tests/support/background_sniff.h"

#include "platform/clock.h"
#include "tests/support/file_lines.h"

#include <utility>

namespace testing_support {
namespace {

constexpr uint64_t kPatienceMs = 10000; // for a loaded machine; a sniff that hears all ends long before

} // namespace

BackgroundSniff::~BackgroundSniff() {
    if (Running()) Stop(0);
}

void BackgroundSniff::Start(const std::string& output, Run run, CountFrames count) {
    output_ = output;
    count_ = std::move(count);
    thread_ = std::thread([this, run = std::move(run)] {
        std::FILE* out = std::fopen(output_.c_str(), "wb");
        status_ = run(out, [this] { return HeardAll(); });
        std::fclose(out);
    });
    // The sniff listens before the host says a word.
    const uint64_t start = platform::SteadyMilliseconds();
    while (FileLines(output_).empty() && platform::SteadyMilliseconds() - start < kPatienceMs) {
        platform::SleepMilliseconds(1);
    }
}

bool BackgroundSniff::HeardAll() {
    const size_t want = expected_.load();
    if (want == SIZE_MAX) return false;
    if (giveUpAt_ == 0) giveUpAt_ = platform::SteadyMilliseconds() + kPatienceMs;
    return count_(FileLines(output_)) >= want || platform::SteadyMilliseconds() > giveUpAt_;
}

std::vector<std::string> BackgroundSniff::Stop(size_t frames) {
    expected_ = frames;
    thread_.join();
    return FileLines(output_);
}

} // namespace testing_support
