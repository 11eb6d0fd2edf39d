// Coin teaching against the virtual acceptor.
#include "demo/core/teach.h"
#include "sim_fixture.h"

namespace {

class TeachTest : public SimFixture {
protected:
    CTeachCore teach{core.driver};
};

TEST_F(TeachTest, StartSendsTheChannelAndTheStatusIsFollowedToTheEnd) {
    sim::StandardConfig c;
    c.teachCoins = 2;
    Start(c);
    teach.StartOrAbort("3", true);
    EXPECT_EQ(teach.buttonText, "Abort");
    EXPECT_EQ(Requests(kHdrTeachModeControl), (std::vector<std::vector<uint8_t>>{{0x83}}));
    teach.Tick();
    EXPECT_EQ(teach.statusText, "Busy: 0 Coins");
    EXPECT_EQ(teach.teaching, 1);
    Device([](sim::StandardAcceptor& d) { d.InsertCoin(1); });
    teach.Tick();
    EXPECT_EQ(teach.statusText, "Busy: 1 Coins");
    Device([](sim::StandardAcceptor& d) { d.InsertCoin(1); });
    teach.Tick();
    EXPECT_EQ(teach.statusText, "Teach complete");
    EXPECT_EQ(teach.teaching, 0);
    EXPECT_EQ(teach.buttonText, "Start");
    EXPECT_EQ(Requests(kHdrTeachModeControl).size(), 1u); // the end sends nothing
}

TEST_F(TeachTest, AbortAndCloseSendZero) {
    Start();
    teach.StartOrAbort("300", false);
    teach.StartOrAbort("300", false);
    teach.Tick();
    EXPECT_EQ(teach.statusText, "Teach aborted");
    teach.StartOrAbort("5", false);
    teach.Close();
    EXPECT_EQ(Requests(kHdrTeachModeControl), (std::vector<std::vector<uint8_t>>{{44}, {0}, {5}, {0}}));
    EXPECT_EQ(teach.teaching, 0);
}

TEST_F(TeachTest, ProgressRowGrowsToElevenAndStartsAgain) {
    Start();
    for (int i = 0; i < 11; ++i) teach.Tick();
    EXPECT_EQ(teach.progress, "+++++++++++");
    teach.Tick();
    EXPECT_EQ(teach.progress, "+");
}

TEST_F(TeachTest, DeviceWithoutTeachModeSaysSo) {
    sim::StandardConfig c;
    c.unknownHeaders.set(kHdrRequestTeachStatus);
    c.unknownHeaders.set(kHdrTeachModeControl);
    Start(c);
    teach.StartOrAbort("1", false);
    teach.Tick();
    EXPECT_EQ(teach.statusText, "Teaching not supported");
    EXPECT_EQ(teach.teaching, 0);
}

} // namespace
