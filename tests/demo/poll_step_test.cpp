// Polling a connected virtual acceptor: counts, sums, outlet flashes, the
// error line, the device-reset question and a lost device.
#include "sim_fixture.h"

namespace {

class PollStepTest : public SimFixture {
protected:
    void SetUp() override {
        sim::StandardConfig c;
        c.optionFlags = 0x40; // escrow
        Start(c);
        ASSERT_TRUE(Connect());
    }
    // Lets the device record events, then runs one connected tick.
    void Tick(const std::function<void(sim::StandardAcceptor&)>& events) {
        Device(events);
        core.ConnectionTick();
    }
};

TEST_F(PollStepTest, FirstPollCountsNothingThatHappenedBefore) {
    Tick([](sim::StandardAcceptor& d) {
        d.InsertCoin(1);
        d.InsertCoin(2);
    });
    EXPECT_EQ(core.prevState, kConnected);
    EXPECT_EQ(core.count[0] + core.count[1], 0u);
    EXPECT_EQ(core.creditText, "0.00");
}

TEST_F(PollStepTest, TwoCreditsOfPositionThreeOnPathTwo) {
    Tick([](sim::StandardAcceptor&) {}); // baseline
    Tick([](sim::StandardAcceptor& d) {
        d.SetSorterPaths(3, {2, 0, 0, 0});
        d.InsertCoin(3);
        d.InsertCoin(3);
    });
    EXPECT_EQ(core.count[2], 2u);
    EXPECT_EQ(core.outletTotal[1], 2u);
    EXPECT_EQ(core.creditSum, 40u); // 2 x 0.20
    EXPECT_EQ(core.creditText, "0.40");
    EXPECT_EQ(core.escrowText, "0.40");
    EXPECT_EQ(core.errorLine, "Code 0 ");
    ASSERT_FALSE(flashes.empty());
    EXPECT_EQ(flashes.back(), 1u << 2);
    EXPECT_EQ(core.activeOutlets, 1u << 2);
}

TEST_F(PollStepTest, ErrorThenRejectShowsTheErrorAndCountsTheReject) {
    Tick([](sim::StandardAcceptor&) {});
    Tick([](sim::StandardAcceptor& d) {
        d.ReportError(120);
        d.ReportError(1);
    });
    EXPECT_EQ(core.errorLine, "Code 120 (interfering light)");
    EXPECT_EQ(core.rejectTotal, 1u);
    EXPECT_EQ(flashes.back(), 1u);
    Tick([](sim::StandardAcceptor& d) { d.ReportError(9); });
    EXPECT_EQ(core.errorLine, "Code 9 (unknown)");
    EXPECT_EQ(core.rejectTotal, 2u);
}

TEST_F(PollStepTest, CoinReturnClearsTheEscrowSum) {
    Tick([](sim::StandardAcceptor&) {});
    Tick([](sim::StandardAcceptor& d) { d.InsertCoin(5); });
    EXPECT_EQ(core.escrowText, "1.00");
    Tick([](sim::StandardAcceptor& d) { d.ReportError(254); });
    EXPECT_EQ(core.escrowSum, 0u);
    EXPECT_EQ(core.escrowText, "0.00");
    EXPECT_EQ(core.creditText, "1.00");
    EXPECT_EQ(core.errorLine, "Code 254 (coin return mechanism activated)");
}

TEST_F(PollStepTest, DeviceResetAnsweredYesLosesTheConnection) {
    Tick([](sim::StandardAcceptor& d) { d.InsertCoin(1); }); // baseline 1
    reinitialize = true;
    Tick([](sim::StandardAcceptor& d) { d.ResetCounter(); });
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(core.prevState, kDisconnected);
    EXPECT_EQ(core.status, "no connection");
    EXPECT_EQ(timerMs, kLostPollIntervalMs);
    EXPECT_EQ(core.coinId[0], "");
    EXPECT_EQ(core.inhibit[0], 1);
    // The next ticks identify the device again.
    EXPECT_TRUE(Connect());
    EXPECT_EQ(Requests(kHdrModifyInhibits).size(), 2u);
}

TEST_F(PollStepTest, TicksArrivingWhileTheResetQuestionIsOpenAreSkipped) {
    Tick([](sim::StandardAcceptor& d) { d.InsertCoin(1); });
    size_t pollsDuringQuestion = 0;
    core.driver.askReinitialize = [&] {
        const size_t before = Requests(kHdrReadBufferedCredit).size();
        core.ConnectionTick(); // the window's timer fires under the open box
        pollsDuringQuestion = Requests(kHdrReadBufferedCredit).size() - before;
        return false;
    };
    Tick([](sim::StandardAcceptor& d) { d.ResetCounter(); });
    EXPECT_EQ(pollsDuringQuestion, 0u);
    EXPECT_EQ(core.prevState, kConnected);
}

TEST_F(PollStepTest, DeviceResetAnsweredNoKeepsPollingFromZero) {
    Tick([](sim::StandardAcceptor& d) { d.InsertCoin(1); }); // baseline 1
    Tick([](sim::StandardAcceptor& d) { d.ResetCounter(); });
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(core.prevState, kConnected);
    Tick([](sim::StandardAcceptor& d) { d.InsertCoin(6); });
    EXPECT_EQ(core.count[5], 1u);
    EXPECT_EQ(core.creditText, "2.00");
}

TEST_F(PollStepTest, OneBadReplyToAPollCostsNoCredit) {
    Tick([](sim::StandardAcceptor&) {}); // the baseline
    Tick([](sim::StandardAcceptor& d) {
        d.InsertCoin(6);
        d.InjectFault(sim::StandardFault::BadChecksum);
        d.InjectFault(sim::StandardFault::Silent);
    });
    EXPECT_EQ(core.prevState, kConnected);
    EXPECT_EQ(core.count[5], 1u);
    EXPECT_EQ(core.creditText, "2.00");
    EXPECT_EQ(Requests(kHdrManufacturerId).size(), 1u); // not identified again
}

TEST_F(PollStepTest, EveryUsableReadIsHandedOnBeforeTheFieldsCountIt) {
    std::vector<PollCounts> reads;
    std::vector<unsigned> countedBefore; // position 6's count as each read is handed on
    core.hooks.eventsRead = [this, &reads, &countedBefore](const PollCounts& counts) {
        reads.push_back(counts);
        countedBefore.push_back(core.count[5]);
    };
    Tick([](sim::StandardAcceptor&) {}); // the baseline
    Tick([](sim::StandardAcceptor& d) {
        d.InsertCoin(6);
        d.ReportError(1);
    });
    Tick([](sim::StandardAcceptor&) {});                                                  // nothing new
    Tick([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Silent, 3); }); // lost: no read
    core.hooks.eventsRead = nullptr;

    ASSERT_EQ(reads.size(), 3u);
    EXPECT_TRUE(reads[0].events.empty());
    ASSERT_EQ(reads[1].events.size(), 2u);
    EXPECT_EQ(reads[1].events[0].resultA, 6);
    EXPECT_EQ(reads[1].events[1].resultB, 1);
    EXPECT_EQ(reads[1].coins[6], 1);
    EXPECT_EQ(reads[1].coins[0], 1);
    EXPECT_TRUE(reads[2].events.empty());
    EXPECT_EQ(countedBefore, (std::vector<unsigned>{0u, 0u, 1u}));
    EXPECT_EQ(core.prevState, kDisconnected);
}

TEST_F(PollStepTest, SilentDeviceIsLost) {
    Tick([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Silent, 3); });
    EXPECT_EQ(core.prevState, kDisconnected);
    EXPECT_EQ(core.status, "no connection");
    EXPECT_FALSE(core.visible.masterInhibit);
}

TEST_F(PollStepTest, AcceptLimitMakesEveryStepWithEventsReadTheResidual) {
    Device([](sim::StandardAcceptor& d) { d.SetAcceptLimit(500); });
    core.acceptLimit = 500;
    Tick([](sim::StandardAcceptor&) {});
    Tick([](sim::StandardAcceptor& d) { d.InsertCoin(6); });
    EXPECT_EQ(core.residual, 300u);
}

using QxPollTest = SimFixture;

TEST_F(QxPollTest, OptoMarksFollowTheDevice) {
    sim::StandardConfig c;
    c.productCode = "QX1";
    Start(c);
    ASSERT_TRUE(Connect());
    Device([](sim::StandardAcceptor& d) { d.SetOptoStates(0x01); });
    core.ConnectionTick();
    EXPECT_TRUE(core.visible.coinPresent);
    EXPECT_FALSE(core.visible.trashOpen);
    Device([](sim::StandardAcceptor& d) { d.SetOptoStates(0x02); });
    core.ConnectionTick();
    EXPECT_FALSE(core.visible.coinPresent);
    EXPECT_TRUE(core.visible.trashOpen);
}

} // namespace
