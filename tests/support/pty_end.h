// One end of a virtual line, opened by its path, as a host or a tap uses
// it in a test: bytes written whole, bytes read until enough came or the
// line stayed silent for a limit.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace testing_support {

class PtyEnd {
public:
    // Only a broken line keeps a read waiting this long.
    static constexpr int kReadLimitMs = 3000;

    explicit PtyEnd(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {}
    ~PtyEnd() {
        if (fd_ >= 0) ::close(fd_);
    }
    PtyEnd(const PtyEnd&) = delete;
    PtyEnd& operator=(const PtyEnd&) = delete;

    bool Ok() const { return fd_ >= 0; }
    void Write(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads n bytes, or fewer when the line stays silent for `limitMs`.
    std::vector<uint8_t> Read(size_t n, int limitMs = kReadLimitMs) {
        std::vector<uint8_t> got;
        while (got.size() < n) {
            pollfd p = {fd_, POLLIN, 0};
            if (::poll(&p, 1, limitMs) <= 0) break;
            uint8_t buffer[64];
            const ssize_t r = ::read(fd_, buffer, std::min(sizeof buffer, n - got.size()));
            if (r <= 0) break;
            got.insert(got.end(), buffer, buffer + r);
        }
        return got;
    }

private:
    int fd_;
};

} // namespace testing_support
