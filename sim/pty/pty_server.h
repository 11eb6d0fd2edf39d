// Serves a Device on the master side of a pty from its own thread, through
// a LineModel: paced like a real wire when a line speed is given, and as
// late, bursty and noisy as the line options say; with a tap, a second pty
// hears every byte on the wire, as a listener on the bus would. POSIX only.
#pragma once

#include "sim/pty/device.h"
#include "sim/pty/line_model.h"
#include "sim/pty/pty_pair.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace sim {

struct ServerOptions {
    // The line between the pty and the device; the defaults carry every
    // byte at once and unchanged.
    LineOptions line;
    // Silence after which a partial frame is dropped by the device.
    uint32_t idleGapMs = 50;
    // A second pty that hears the bus (PtyServer::TapPath).
    bool tap = false;
};

class PtyServer {
public:
    PtyServer(Device& device, ServerOptions options = {});
    ~PtyServer(); // stops the thread

    bool Ok() const { return pty_.Ok() && (!tap_ || tap_->Ok()); }
    const std::string& HostPath() const { return pty_.SlavePath(); }
    // Makes `path` a link to the host's pty and, with a tap, `path`-tap one
    // to the tap's.
    bool LinkAs(const std::string& path);
    // The tap's pty, or its link once linked; empty without a tap.
    const std::string& TapPath() const { return tapPath_; }

    void Start();
    void Stop();

    // Runs `change` on the device while the server thread leaves it alone.
    void WithDevice(const std::function<void(Device&)>& change);

    // What the line has carried so far.
    LineCounters Counters() const;
    uint64_t BytesIn() const { return Counters().toDevice; }
    uint64_t BytesOut() const { return Counters().toHost; }

private:
    void Run();
    short WaitForWork(bool listen);
    void WriteToHost(const std::vector<uint8_t>& bytes);
    void ServeTap(LineTime now);

    Device& device_;
    PtyPair pty_;
    std::unique_ptr<PtyPair> tap_; // null without a tap
    std::string tapPath_;
    mutable std::mutex lock_; // the device and the line
    LineModel line_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    int wakePipe_[2] = {-1, -1};
};

} // namespace sim
