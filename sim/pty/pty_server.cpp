#include "sim/pty/pty_server.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTickMs = 10;

uint64_t NowMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count());
}

} // namespace

PtyServer::PtyServer(Device& device, ServerOptions options) : device_(device), options_(options) {
    if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe_[0] = wakePipe_[1] = -1;
}

PtyServer::~PtyServer() {
    Stop();
    for (int fd : wakePipe_) {
        if (fd >= 0) ::close(fd);
    }
}

void PtyServer::Start() {
    if (thread_.joinable() || !pty_.Ok()) return;
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

void PtyServer::SendPaced(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return;
    const uint32_t bps = options_.pacedBitsPerSecond;
    const auto byteTime = std::chrono::nanoseconds(bps ? 10'000'000'000LL / bps : 0);
    auto due = Clock::now();
    size_t sent = 0;
    while (sent < bytes.size()) {
        // Paced: one byte per byte time; otherwise everything at once.
        const size_t chunk = bps ? 1 : bytes.size() - sent;
        if (bps) {
            due += byteTime;
            std::this_thread::sleep_until(due);
        }
        const ssize_t w = ::write(pty_.MasterFd(), bytes.data() + sent, chunk);
        if (w < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return;
        }
        sent += static_cast<size_t>(w);
    }
    bytesOut_ += bytes.size();
}

void PtyServer::Run() {
    const uint32_t bps = options_.pacedBitsPerSecond;
    const auto byteTime = std::chrono::nanoseconds(bps ? 10'000'000'000LL / bps : 0);
    auto lastInput = Clock::now();
    bool partial = false;
    std::vector<uint8_t> out;
    uint8_t buffer[512];
    while (!stop_) {
        pollfd fds[2] = {{pty_.MasterFd(), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, kTickMs);
        if (stop_) break;
        out.clear();
        if (ready > 0 && (fds[0].revents & POLLIN)) {
            const ssize_t r = ::read(pty_.MasterFd(), buffer, sizeof buffer);
            if (r > 0) {
                // The bytes are not "in" until the wire has carried them.
                if (bps) std::this_thread::sleep_until(Clock::now() + byteTime * r);
                bytesIn_ += static_cast<uint64_t>(r);
                lastInput = Clock::now();
                partial = true;
                std::lock_guard<std::mutex> guard(lock_);
                device_.OnBytes(buffer, static_cast<size_t>(r), out);
            }
        } else if (ready > 0 && (fds[0].revents & (POLLHUP | POLLERR))) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
        }
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (partial && Clock::now() - lastInput > std::chrono::milliseconds(options_.idleGapMs)) {
                device_.OnLineIdle();
                partial = false;
            }
            device_.OnTick(NowMs(), out);
        }
        SendPaced(out);
    }
}

} // namespace sim
