// A virtual standard acceptor served on a pty of its own, started at once.
// POSIX only.
#pragma once

#include "sim/pty_server.h"
#include "sim/standard_acceptor.h"

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

    // Runs `change` on the device while the server leaves it alone.
    void withDevice(const std::function<void(StandardAcceptor&)>& change);

private:
    StandardAcceptor device_;
    PtyServer server_;
};

} // namespace sim
