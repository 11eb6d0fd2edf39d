// Serves a Device on the master side of a pty from its own thread, paced
// like a real wire when a line speed is given. POSIX only.
#pragma once

#include "sim/pty/device.h"
#include "sim/pty/pty_pair.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace sim {

struct ServerOptions {
    // 0 = bytes move as fast as the pty takes them; otherwise each byte in
    // either direction costs 10 bits at this speed.
    uint32_t pacedBitsPerSecond = 0;
    // Silence after which a partial frame is dropped by the device.
    uint32_t idleGapMs = 50;
};

class PtyServer {
public:
    PtyServer(Device& device, ServerOptions options = {});
    ~PtyServer(); // stops the thread

    bool Ok() const { return pty_.Ok(); }
    const std::string& HostPath() const { return pty_.SlavePath(); }
    bool LinkAs(const std::string& path) { return pty_.LinkAs(path); }

    void Start();
    void Stop();

    // Runs `change` on the device while the server thread leaves it alone.
    void WithDevice(const std::function<void(Device&)>& change);

    // Bytes moved so far (host to device, device to host).
    uint64_t BytesIn() const { return bytesIn_.load(); }
    uint64_t BytesOut() const { return bytesOut_.load(); }

private:
    void Run();
    void SendPaced(const std::vector<uint8_t>& bytes);

    Device& device_;
    ServerOptions options_;
    PtyPair pty_;
    std::mutex lock_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> bytesIn_{0};
    std::atomic<uint64_t> bytesOut_{0};
    int wakePipe_[2] = {-1, -1};
};

} // namespace sim
