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

    bool ok() const { return server_.ok(); }
    // The device name a host opens.
    const std::string& hostPath() const { return server_.hostPath(); }
    bool linkAs(const std::string& path) { return server_.linkAs(path); }

    // Runs `change` on the (first) device while the server leaves it alone.
    void withDevice(const std::function<void(StandardAcceptor&)>& change);
    // The same for the device `index` of the line (0 = the first).
    void withDevice(size_t index, const std::function<void(StandardAcceptor&)>& change);

private:
    StandardBus bus_;
    PtyServer server_;
};

} // namespace sim
