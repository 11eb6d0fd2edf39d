// A virtual standard acceptor served on a pty of its own, started at once;
// with config.extraAddresses, more acceptors on the same line. POSIX only.
#pragma once

#include "sim/pty/pty_server.h"
#include "sim/standard/standard_bus.h"

#include <functional>
#include <string>

namespace sim {

class StandardLine {
public:
    explicit StandardLine(StandardConfig config = {}, ServerOptions options = {});
    ~StandardLine();
    StandardLine(const StandardLine&) = delete;
    StandardLine& operator=(const StandardLine&) = delete;

    bool Ok() const { return server_.Ok(); }
    // The device name a host opens.
    const std::string& HostPath() const { return server_.HostPath(); }
    bool LinkAs(const std::string& path) { return server_.LinkAs(path); }
    // The pty that hears the bus (options.tap), or its link; empty without one.
    const std::string& TapPath() const { return server_.TapPath(); }
    // What the line has carried so far.
    LineCounters Counters() const { return server_.Counters(); }

    // Runs `change` on the (first) device while the server leaves it alone.
    void WithDevice(const std::function<void(StandardAcceptor&)>& change);
    // The same for the device `index` of the line (0 = the first).
    void WithDevice(size_t index, const std::function<void(StandardAcceptor&)>& change);

private:
    StandardBus bus_;
    PtyServer server_;
};

} // namespace sim
