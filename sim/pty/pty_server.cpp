#include "sim/pty/pty_server.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace sim {
namespace {

// A master whose host side has hung up polls ready at once; it is left
// alone this long before it is looked at again.
constexpr LineTime kHangUpPause = std::chrono::milliseconds(10);
constexpr size_t kReadSize = 512;
constexpr char kTapLinkSuffix[] = "-tap";

LineTime Now() {
    return std::chrono::duration_cast<LineTime>(std::chrono::steady_clock::now().time_since_epoch());
}

timespec AsTimespec(LineTime wait) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((wait - seconds).count())};
}

} // namespace

PtyServer::PtyServer(Device& device, ServerOptions options)
    : device_(device), line_(device, std::move(options.line), options.idleGapMs, options.tap) {
    if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe_[0] = wakePipe_[1] = -1;
    if (!options.tap) return;
    tap_ = std::make_unique<PtyPair>();
    // A tap nobody reads must never hold the line up: what finds no room is dropped and counted.
    if (tap_->Ok()) ::fcntl(tap_->MasterFd(), F_SETFL, ::fcntl(tap_->MasterFd(), F_GETFL) | O_NONBLOCK);
    tapPath_ = tap_->SlavePath();
}

PtyServer::~PtyServer() {
    Stop();
    for (int fd : wakePipe_) {
        if (fd >= 0) ::close(fd);
    }
}

bool PtyServer::LinkAs(const std::string& path) {
    if (!pty_.LinkAs(path)) return false;
    if (!tap_) return true;
    const std::string tapLink = path + kTapLinkSuffix;
    if (!tap_->LinkAs(tapLink)) return false;
    tapPath_ = tapLink;
    return true;
}

void PtyServer::Start() {
    if (thread_.joinable() || !pty_.Ok()) return;
    // A wake-up left from an earlier Stop would end every wait at once.
    char drained[16];
    while (wakePipe_[0] >= 0 && ::read(wakePipe_[0], drained, sizeof drained) > 0) {
    }
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void PtyServer::Stop() {
    stop_ = true;
    if (wakePipe_[1] >= 0) {
        const char b = 1;
        (void)!::write(wakePipe_[1], &b, 1);
    }
    if (thread_.joinable()) thread_.join();
}

void PtyServer::WithDevice(const std::function<void(Device&)>& change) {
    std::lock_guard<std::mutex> guard(lock_);
    change(device_);
}

LineCounters PtyServer::Counters() const {
    std::lock_guard<std::mutex> guard(lock_);
    return line_.Counters();
}

void PtyServer::WriteToHost(const std::vector<uint8_t>& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t w = ::write(pty_.MasterFd(), bytes.data() + sent, bytes.size() - sent);
        if (w < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return;
        }
        sent += static_cast<size_t>(w);
    }
}

// Drops what the tap wrote and hands it what it has heard by `now`.
// Called under the lock.
void PtyServer::ServeTap(LineTime now) {
    uint8_t written[kReadSize];
    ssize_t r = 0;
    while ((r = ::read(tap_->MasterFd(), written, sizeof written)) > 0) line_.DropFromTap(static_cast<size_t>(r));
    std::vector<uint8_t> heard;
    line_.TakeForTap(now, heard);
    size_t sent = 0;
    while (sent < heard.size()) {
        const ssize_t w = ::write(tap_->MasterFd(), heard.data() + sent, heard.size() - sent);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) break;
        sent += static_cast<size_t>(w);
    }
    line_.LostToTap(heard.size() - sent);
}

// Sleeps until the line has something due, the host writes, or Stop.
// Returns the poll's view of the master (0 when it was not looked at).
short PtyServer::WaitForWork(bool listen) {
    LineTime due;
    {
        std::lock_guard<std::mutex> guard(lock_);
        due = line_.NextDue();
    }
    LineTime wait = std::max(LineTime{0}, due - Now());
    if (!listen) wait = std::min(wait, kHangUpPause);
    const timespec timeout = AsTimespec(wait);
    pollfd fds[3] = {{listen ? pty_.MasterFd() : -1, POLLIN, 0},
                     {wakePipe_[0], POLLIN, 0},
                     {tap_ ? tap_->MasterFd() : -1, POLLIN, 0}};
    if (::ppoll(fds, 3, &timeout, nullptr) <= 0) return 0;
    return fds[0].revents;
}

void PtyServer::Run() {
    std::vector<uint8_t> forHost;
    uint8_t buffer[kReadSize];
    bool listen = true;
    while (!stop_) {
        const short master = WaitForWork(listen);
        if (stop_) break;
        listen = (master & POLLIN) != 0 || (master & (POLLHUP | POLLERR)) == 0;
        const ssize_t r = (master & POLLIN) != 0 ? ::read(pty_.MasterFd(), buffer, sizeof buffer) : 0;
        forHost.clear();
        {
            std::lock_guard<std::mutex> guard(lock_);
            const LineTime now = Now();
            if (r > 0) line_.FromHost(buffer, static_cast<size_t>(r), now);
            line_.Advance(now);
            line_.TakeForHost(now, forHost);
            if (tap_) ServeTap(now);
        }
        WriteToHost(forHost);
    }
}

} // namespace sim
