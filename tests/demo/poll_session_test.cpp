// The session report of a poll run against the virtual acceptor: its
// numbers are the coins the device produced, lost events are counted from
// the event counter, and the files read back as written.
#include "demo/report/poll_session.h"
#include "sim_fixture.h"
#include "tests/support/file_lines.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using testing_support::FileLines;

// The fields of a CSV line without quotes.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
    if (!line.empty() && line.back() == ',') fields.push_back("");
    return fields;
}

// The fields after the time.
std::vector<std::string> AfterTime(const std::string& line) {
    const std::vector<std::string> fields = Fields(line);
    return std::vector<std::string>(fields.begin() + 1, fields.end());
}

class Session : public SimFixture {
protected:
    void SetUp() override {
        folder = (std::filesystem::path(::testing::TempDir()) / ("session-" + std::to_string(::getpid()))).string();
        std::filesystem::remove_all(folder);
    }
    void TearDown() override {
        core.hooks.eventsRead = nullptr; // the core outlives the session
        std::filesystem::remove_all(folder);
    }
    // The session takes the core's reads of the event buffer, as the poll command's does.
    void Listen() {
        core.hooks.eventsRead = [this](const PollCounts& counts) { session.OnEventsRead(counts); };
    }

    std::string folder;
    PollSession session{core};
};

TEST_F(Session, ReportsTheCoinsTheDeviceProduced) {
    Start();
    Listen();
    std::string error;
    ASSERT_TRUE(session.OpenReport(folder + "/site 4", error)) << error;
    Device([](sim::StandardAcceptor& d) { d.InsertCoin(1); }); // before the baseline: not counted
    ASSERT_TRUE(Connect());
    ASSERT_EQ(1, core.PollStep());
    Device([](sim::StandardAcceptor& d) {
        d.InsertCoin(6);
        d.InsertCoin(6);
        d.ReportError(1);
    });
    ASSERT_EQ(1, core.PollStep());
    Device([](sim::StandardAcceptor& d) {
        d.ReportError(120);
        d.InsertCoin(2);
    });
    ASSERT_EQ(1, core.PollStep());
    // Seven between two polls: two of them are gone.
    Device([](sim::StandardAcceptor& d) {
        for (int i = 0; i < 7; ++i) d.InsertCoin(4);
    });
    ASSERT_EQ(1, core.PollStep());
    EXPECT_EQ((std::vector<std::string>{"lost 2 events between polls"}), session.TakeNotices());
    EXPECT_TRUE(session.TakeNotices().empty());
    ASSERT_TRUE(session.FinishReport(error)) << error;

    // The core counted what the session counted.
    EXPECT_EQ(2u, core.count[5]);
    EXPECT_EQ(1u, core.count[1]);
    EXPECT_EQ(5u, core.count[3]);
    const SessionSums& sums = session.Sums();
    EXPECT_EQ(2u, sums.credits[6]);
    EXPECT_EQ(1u, sums.credits[2]);
    EXPECT_EQ(5u, sums.credits[4]);
    EXPECT_EQ(0u, sums.credits[1]);
    EXPECT_EQ(1u, sums.rejects);
    EXPECT_EQ(2u, sums.lost);
    EXPECT_NEAR(100.0 * 8 / 9, session.AcceptanceRate(), 1e-9);

    const std::vector<std::string> events = FileLines(folder + "/site 4/events.csv");
    ASSERT_EQ(1u + 11u, events.size()); // header, 3 + 2 + 5 events and one lost row
    EXPECT_EQ("time,event_counter,result_a,result_b,event,position,coin_id,sorter_path,error_code,error_text,note", events[0]);
    EXPECT_EQ((std::vector<std::string>{"2", "6", "1", "credit", "6", "EU200A", "1", "", "", ""}), AfterTime(events[1]));
    EXPECT_EQ((std::vector<std::string>{"4", "0", "1", "reject", "", "", "", "1", "(coin rejected)", ""}),
              AfterTime(events[3]));
    EXPECT_EQ((std::vector<std::string>{"5", "0", "120", "error", "", "", "", "120", "(interfering light)", ""}),
              AfterTime(events[4]));
    EXPECT_EQ("lost", Fields(events[6])[4]);
    EXPECT_EQ("lost 2 events between polls", Fields(events[6])[10]);
    EXPECT_EQ("9", Fields(events[7])[1]); // the oldest kept of the seven had counter 9
    EXPECT_EQ("13", Fields(events[11])[1]);

    const std::vector<std::string> summary = FileLines(folder + "/site 4/summary.csv");
    ASSERT_EQ(1u + 16u + 2u + 4u, summary.size());
    EXPECT_EQ("kind,code,coin_id,value,count,money,text", summary[0]);
    EXPECT_EQ("position,4,EU050A,0.50,5,2.50,", summary[4]);
    EXPECT_EQ("position,6,EU200A,2.00,2,4.00,", summary[6]);
    EXPECT_EQ("error,1,,,1,,(coin rejected)", summary[17]);
    EXPECT_EQ("error,120,,,1,,(interfering light)", summary[18]);
    EXPECT_EQ("session,credits,,,8,6.60,", summary[19]);
    EXPECT_EQ("session,rejects,,,1,,counted rejects", summary[20]);
    EXPECT_EQ("session,lost,,,2,,events lost between polls", summary[21]);
    EXPECT_EQ("session,acceptance,,,88.9,,% of credits and counted rejects", summary[22]);
}

TEST_F(Session, EventsWhileReconnectingAreLostWithACount) {
    Start();
    Listen();
    ASSERT_TRUE(Connect());
    ASSERT_EQ(1, core.PollStep()); // the baseline
    Device([](sim::StandardAcceptor& d) { d.InsertCoin(6); });
    ASSERT_EQ(1, core.PollStep());
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Silent, 3); }); // gone
    ASSERT_EQ(0, core.PollStep());
    core.prevState = kDisconnected;
    Device([](sim::StandardAcceptor& d) {
        d.InsertCoin(1);
        d.InsertCoin(2);
        d.ReportError(1);
    });
    ASSERT_TRUE(Connect());
    ASSERT_EQ(1, core.PollStep()); // the new baseline skips the three events
    EXPECT_EQ((std::vector<std::string>{"lost 3 events between polls"}), session.TakeNotices());
    EXPECT_EQ(3u, session.Sums().lost);
    EXPECT_EQ(1u, session.Sums().credits[6]);
}

TEST_F(Session, ADeviceThatRestartedItsCounterOrAnotherDeviceLosesNothing) {
    Start();
    Listen();
    ASSERT_TRUE(Connect());
    ASSERT_EQ(1, core.PollStep());
    Device([](sim::StandardAcceptor& d) { d.InsertCoin(6); });
    ASSERT_EQ(1, core.PollStep());
    // A power cycle: the counter starts again from 0.
    Device([](sim::StandardAcceptor& d) { d.ResetCounter(); });
    ASSERT_EQ(1, core.Identify());
    ASSERT_EQ(1, core.PollStep());
    // Another device in its place.
    Device([](sim::StandardAcceptor& d) {
        d.Config().serialNumber = 99;
        d.InsertCoin(1);
    });
    ASSERT_EQ(1, core.Identify());
    ASSERT_EQ(1, core.PollStep());
    EXPECT_TRUE(session.TakeNotices().empty());
    EXPECT_EQ(0u, session.Sums().lost);
}

TEST_F(Session, ASessionThatEndsDisconnectedKeepsItsMoney) {
    Start();
    Listen();
    std::string error;
    ASSERT_TRUE(session.OpenReport(folder, error)) << error;
    ASSERT_TRUE(Connect());
    ASSERT_EQ(1, core.PollStep());
    Device([](sim::StandardAcceptor& d) {
        d.InsertCoin(6);
        d.InsertCoin(4);
    });
    ASSERT_EQ(1, core.PollStep());
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Silent, 3); });
    core.ConnectionTick(); // lost: the table on screen is blank now
    ASSERT_EQ(core.prevState, kDisconnected);
    ASSERT_TRUE(core.coinId[5].empty());
    ASSERT_TRUE(session.FinishReport(error)) << error;
    const std::vector<std::string> summary = FileLines(folder + "/summary.csv");
    ASSERT_EQ(1u + 16u + 4u, summary.size());
    EXPECT_EQ("position,4,EU050A,0.50,1,0.50,", summary[4]);
    EXPECT_EQ("position,6,EU200A,2.00,1,2.00,", summary[6]);
    EXPECT_EQ("session,credits,,,2,2.50,", summary[17]);
}

TEST_F(Session, AFolderThatCannotBeMadeIsReported) {
    Start();
    const std::string blocker = folder + "-file";
    std::ofstream(blocker) << "x";
    std::string error;
    EXPECT_FALSE(session.OpenReport(blocker + "/report", error));
    EXPECT_EQ("cannot make the report folder " + blocker + "/report", error);
    std::filesystem::remove(blocker);
}

} // namespace
