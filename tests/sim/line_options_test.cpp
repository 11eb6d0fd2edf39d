// The line's command-line options: each read into LineOptions, bad values
// refused with a one-line reason, and the acceptors' option readers
// handing them on.
#include "sim/ducat/ducat_sim_options.h"
#include "sim/pty/line_options.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

struct Taken {
    bool mine = false;
    size_t next = 0; // where the reader stopped
    std::string error;
};

Taken Take(const Words& words, sim::LineOptions& options) {
    Taken t;
    t.mine = sim::TakeLineOption(words, t.next, options, t.error);
    return t;
}

TEST(LineOptions, EachOptionIsRead) {
    sim::LineOptions o;
    for (const Words& words : {Words{"--line-speed", "9600"}, Words{"--reply-delay", "10-80"}, Words{"--burst", "16"},
                               Words{"--reply-gap", "0.25:40"}, Words{"--noise", "0.005"}, Words{"--noise-seed", "77"},
                               Words{"--line-fault", "254:3:split-echo"}, Words{"--line-fault", "231:1:late:90"}}) {
        const Taken t = Take(words, o);
        EXPECT_TRUE(t.mine) << words[0];
        EXPECT_EQ(t.error, "") << words[0];
        EXPECT_EQ(t.next, 1u) << words[0];
    }
    EXPECT_EQ(o.bitsPerSecond, 9600u);
    EXPECT_EQ(o.replyDelayMinMs, 10u);
    EXPECT_EQ(o.replyDelayMaxMs, 80u);
    EXPECT_EQ(o.burstMs, 16u);
    EXPECT_DOUBLE_EQ(o.gapChance, 0.25);
    EXPECT_EQ(o.gapMs, 40u);
    EXPECT_DOUBLE_EQ(o.noisePerByte, 0.005);
    EXPECT_EQ(o.seed, 77u);
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(o.faults[0].header, 254);
    EXPECT_EQ(o.faults[0].nth, 3u);
    EXPECT_EQ(o.faults[0].fault, sim::LineFault::SplitEcho);
    EXPECT_EQ(o.faults[0].ms, 0u);
    EXPECT_EQ(o.faults[1].fault, sim::LineFault::Late);
    EXPECT_EQ(o.faults[1].ms, 90u);

    // A single delay is both ends of the range.
    Take({"--reply-delay", "25"}, o);
    EXPECT_EQ(o.replyDelayMinMs, 25u);
    EXPECT_EQ(o.replyDelayMaxMs, 25u);
}

TEST(LineOptions, EveryFaultKindHasItsName) {
    const std::pair<const char*, sim::LineFault> kinds[] = {
        {"late", sim::LineFault::Late},   {"gap", sim::LineFault::Gap},
        {"length", sim::LineFault::Length}, {"flip", sim::LineFault::Flip},
        {"short", sim::LineFault::Short}, {"stray", sim::LineFault::Stray},
        {"split-echo", sim::LineFault::SplitEcho}, {"silence", sim::LineFault::Silence},
    };
    for (const auto& kind : kinds) {
        sim::LineOptions o;
        const Taken t = Take({"--line-fault", std::string("0:1:") + kind.first}, o);
        ASSERT_EQ(t.error, "") << kind.first;
        ASSERT_EQ(o.faults.size(), 1u);
        EXPECT_EQ(o.faults[0].fault, kind.second) << kind.first;
        EXPECT_EQ(o.faults[0].header, 0);
    }
}

TEST(LineOptions, BadValuesAreRefusedWithTheReason) {
    const std::pair<Words, std::string> bad[] = {
        {{"--line-speed", "fast"}, "--line-speed takes bits per second, 0..4000000, not fast"},
        {{"--line-speed", "4000001"}, "--line-speed takes bits per second, 0..4000000, not 4000001"},
        {{"--reply-delay", "80-10"}, "--reply-delay takes MS or MIN-MAX, 0..60000 ms, not 80-10"},
        {{"--reply-delay", "-5"}, "--reply-delay takes MS or MIN-MAX, 0..60000 ms, not -5"},
        {{"--reply-delay", "10-"}, "--reply-delay takes MS or MIN-MAX, 0..60000 ms, not 10-"},
        {{"--burst", "1001"}, "--burst takes 0..1000 ms, not 1001"},
        {{"--reply-gap", "0.5"}, "--reply-gap takes CHANCE:MS, a chance 0..1 and 0..60000 ms, not 0.5"},
        {{"--reply-gap", "1.5:10"}, "--reply-gap takes CHANCE:MS, a chance 0..1 and 0..60000 ms, not 1.5:10"},
        {{"--noise", "nan"}, "--noise takes a chance per byte, 0..1, not nan"},
        {{"--noise", "-0.1"}, "--noise takes a chance per byte, 0..1, not -0.1"},
        {{"--noise-seed", "4294967296"}, "--noise-seed takes 0..4294967295, not 4294967296"},
    };
    for (const auto& [words, message] : bad) {
        sim::LineOptions o;
        const Taken t = Take(words, o);
        EXPECT_TRUE(t.mine) << words[0];
        EXPECT_EQ(t.error, message);
    }
    sim::LineOptions o;
    const Taken missing = Take({"--burst"}, o);
    EXPECT_TRUE(missing.mine);
    EXPECT_EQ(missing.error, "--burst needs a value");
}

TEST(LineOptions, BadFaultsAreRefused) {
    for (const char* text : {"254:1", "256:1:late", "254:0:late", "254:x:late", "254:1:loud", "254:1:flip:10",
                             "254:1:late:0", "254:1:gap:x", "254:1:late:60001", ":1:late"}) {
        sim::LineOptions o;
        const Taken t = Take({"--line-fault", text}, o);
        EXPECT_NE(t.error.find("--line-fault takes HEADER:N:KIND"), std::string::npos) << text;
        EXPECT_TRUE(o.faults.empty()) << text;
    }
}

TEST(LineOptions, OtherWordsAreNotTaken) {
    sim::LineOptions o;
    const Taken t = Take({"--seed", "5"}, o);
    EXPECT_FALSE(t.mine);
    EXPECT_EQ(t.next, 0u);
    EXPECT_EQ(t.error, "");
    EXPECT_EQ(o.seed, 1u);
}

TEST(LineOptions, TheHelpNamesEveryOption) {
    const std::string help = sim::LineOptionsHelp();
    for (const char* name : {"--line-speed", "--reply-delay", "--burst", "--reply-gap", "--noise ", "--noise-seed",
                             "--line-fault", "split-echo", "silence"}) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
}

TEST(LineOptions, TheDucatAcceptorsOptionsHandThemOn) {
    sim::DucatSimOptions o;
    const Words words = {"--line-speed", "9600", "--seed", "4", "--noise", "0.5", "--line-fault", "255:2:silence"};
    for (size_t i = 0; i < words.size(); ++i) {
        std::string error;
        ASSERT_EQ(sim::ParseDucatSimOption(words, i, o, error), sim::OptionParse::Taken) << words[i];
    }
    EXPECT_EQ(o.line.bitsPerSecond, 9600u);
    EXPECT_EQ(o.seed, 4u);      // the acceptor's
    EXPECT_EQ(o.line.seed, 1u); // not the line's
    EXPECT_DOUBLE_EQ(o.line.noisePerByte, 0.5);
    ASSERT_EQ(o.line.faults.size(), 1u);
    EXPECT_EQ(o.line.faults[0].header, 255);

    size_t i = 0;
    std::string error;
    EXPECT_EQ(sim::ParseDucatSimOption({"--burst", "x"}, i, o, error), sim::OptionParse::Bad);
    EXPECT_EQ(error, "--burst takes 0..1000 ms, not x");
}

} // namespace
