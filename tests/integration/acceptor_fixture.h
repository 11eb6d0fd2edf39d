// Real service-thread runs against the virtual acceptor over a pty: the
// acceptor is served from its own thread, the link opens the pty's host
// side as its port, and the handlers of commands/ do the talking.
#pragma once

#include "sim/ducat/ducat_acceptor.h"
#include "sim/pty/pty_server.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace integration {

class AcceptorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a run as a window's starter does. Handlers must see the
    // mailbox fields set before this.
    bool Start(uint8_t subCommand, int32_t nextCommand, bool resetRecordNumber = true);
    // Waits until the run has ended (hComThread cleared).
    bool WaitForRunEnd(uint32_t timeoutMs = 20000);
    bool WaitUntil(const std::function<bool()>& condition, uint32_t timeoutMs = 10000);
    // STOP: asks the run to end and waits for it.
    bool Stop();
    // A run of identification only (the cipher key), then ended.
    void Identify();
    // Identification and table read, ended once the table is in.
    void IdentifyAndReadTable();

    // Runs `change` on the acceptor while its server leaves it alone.
    void OnDevice(const std::function<void(sim::DucatAcceptor&)>& change);
    int DeviceRequests(uint8_t function);
    // Waits until the acceptor has seen `more` requests of `function` beyond `before`.
    bool WaitForRequests(uint8_t function, int before, int more = 1);

    // Every queued line so far, oldest first.
    const std::vector<std::string>& Lines();
    int Count(const std::string& line);
    bool Saw(const std::string& line) { return Count(line) > 0; }
    // Index of the first line equal to `line` at or after `from`, or -1.
    int Find(const std::string& line, size_t from = 0);

    // What the runs showed the front end.
    static std::string IdentityLine();
    static int Refreshes();
    static int PortOpenings();

    // What the line has carried so far (bytes, noise flips, faults fired).
    sim::LineCounters LineCounts() const { return server_->Counters(); }
    // The pty that hears the bus, with serverOptions.tap; empty without one.
    std::string TapPath() const { return server_->TapPath(); }

    std::string dumpFolder;
    // The line between the pty and the acceptor: a derived fixture sets it
    // in its constructor, before SetUp serves the acceptor over it.
    sim::ServerOptions serverOptions;

private:
    std::unique_ptr<sim::DucatAcceptor> device_;
    std::unique_ptr<sim::PtyServer> server_;
    std::vector<std::string> lines_;
    std::string oldFolder_;
};

} // namespace integration
