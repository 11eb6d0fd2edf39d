// A virtual standard acceptor on a pty with a Pollbench core pointed at it.
// The core's read limits are widened so a loaded machine does not turn a
// late answer into a lost one.
#pragma once

#include "demo/core/demo_core.h"
#include "demo/core/settings.h"
#include "sim/standard/standard_line.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class SimFixture : public ::testing::Test {
protected:
    static platform::Timeouts GenerousTimeouts() {
        platform::Timeouts t = DemoPortTimeouts();
        t.readTotalConstant = 300;
        return t;
    }

    void Start(sim::StandardConfig config = {}, sim::ServerOptions options = {}) {
        line = std::make_unique<sim::StandardLine>(std::move(config), std::move(options));
        ASSERT_TRUE(line->Ok());
        core.driver.portName = line->HostPath();
        core.driver.timeouts = GenerousTimeouts();
        core.driver.askReinitialize = [this] {
            ++questions;
            return reinitialize;
        };
        core.hooks.setPollTimer = [this](uint32_t ms) { timerMs = ms; };
        core.hooks.flashOutlets = [this](uint8_t bits) { flashes.push_back(bits); };
        s_LastEventCounter = 0;
        g_Flags = 0;
        g_PollInterval = 200;
    }

    void Device(const std::function<void(sim::StandardAcceptor&)>& change) { line->WithDevice(change); }

    // The data of every request with this header the device took.
    std::vector<std::vector<uint8_t>> Requests(uint8_t header) {
        std::vector<std::vector<uint8_t>> found;
        Device([&](sim::StandardAcceptor& d) {
            for (const auto& r : d.Requests()) {
                if (r.header == header) found.push_back(r.data);
            }
        });
        return found;
    }

    // Ticks until connected; false if the device was not taken within a few ticks.
    bool Connect() {
        for (int i = 0; i < 5 && core.prevState != kConnected; ++i) core.ConnectionTick();
        return core.prevState == kConnected;
    }

    std::unique_ptr<sim::StandardLine> line;
    CDemoCore core;
    int questions = 0;
    bool reinitialize = false;
    uint32_t timerMs = 0;
    std::vector<uint8_t> flashes;
};
