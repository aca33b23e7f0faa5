#include <gtest/gtest.h>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

TEST(LineRate, MismatchLosesInputAndGarblesOutput) {
    SimHarness sim(Unpaced({.baudRate = 19200}));
    sim.instrument.HostSetBaudRate(9600);
    EXPECT_EQ(sim.Exchange(" \r\n"), "");
    sim.Break();
    const std::string noise = sim.Collect();
    EXPECT_FALSE(noise.empty());
    EXPECT_FALSE(Contains(noise, ">"));
    EXPECT_FALSE(Contains(noise, "OK"));
    sim.instrument.HostSetBaudRate(19200);
    EXPECT_EQ(sim.Exchange(" \r\n"), " \r>");
}

TEST(LineRate, PacingSpacesBytesAtTenBitsEach) {
    SimHarness sim({.baudRate = 9600});
    sim.Send("SaveSetup\r");  // 10 echoed bytes and "OK\r\n>": 15 bytes, 15.6 ms at 9600
    EXPECT_EQ(sim.Collect(), "");
    EXPECT_EQ(sim.Collect(1), "");
    EXPECT_EQ(sim.Collect(1), "S");  // 1.04 ms per byte
    EXPECT_EQ(sim.Collect(8), "aveSetup");
    EXPECT_EQ(sim.Collect(20), "\rOK\r\n>");
}

TEST(LineRate, PacedBytesNeverOvertakeEachOther) {
    SimHarness sim({.baudRate = 300});
    sim.Send("Ver\r");
    sim.tick += 10;
    sim.Send("\r");
    const std::string all = sim.Collect(10'000);
    EXPECT_TRUE(all.starts_with("Ver\r"));
    EXPECT_TRUE(all.ends_with(">\r>"));
}

TEST(Faults, SilentInstrumentAnswersNothingButStillListens) {
    SimHarness sim;
    sim.instrument.GetFaults().silent = true;
    EXPECT_EQ(sim.Exchange("ai 600\r", 1000), "");
    sim.instrument.GetFaults().silent = false;
    EXPECT_EQ(sim.Exchange("ai\r"), "ai\rAI 600\r\n>");
}

TEST(Faults, ExtraDelayHoldsBackTheAnswerButNotTheEcho) {
    SimHarness sim;
    sim.instrument.GetFaults().extraDelayMs = 700;
    EXPECT_EQ(sim.Exchange("SaveSetup\r", 699), "SaveSetup\r");
    EXPECT_EQ(sim.Collect(1), "OK\r\n>");
}

TEST(Faults, GarbledEchoesSpoilWholeLinesOnlyAndCountDown) {
    SimHarness sim;
    sim.instrument.GetFaults().garbleEchoes = 1;
    EXPECT_EQ(sim.Exchange("\r\r"), "\r>\r>");  // no command text: nothing to garble
    EXPECT_EQ(sim.Exchange("cb 1.0\r"), "#b 1.0\rOK\r\n>");
    for (char c : std::string("cb 1.0")) {
        EXPECT_EQ(sim.Exchange(std::string(1, c)), std::string(1, c));
    }
    EXPECT_EQ(sim.instrument.GetFaults().garbleEchoes, 0);
    EXPECT_EQ(sim.Exchange("\r"), "\rOK\r\n>");
    EXPECT_EQ(sim.Exchange("cb\r"), "cb\rCB 1.00\r\n>");
}

TEST(Faults, DropAndCorruptionAreRepeatableForTheSameTraffic) {
    auto run = [] {
        SimHarness sim;
        sim.instrument.GetFaults().dropRate = 0.1;
        sim.instrument.GetFaults().corruptRate = 0.1;
        std::string all;
        for (int i = 0; i < 20; ++i) {
            all += sim.Exchange("Show Conf\r");
        }
        return all;
    };
    const std::string first = run();
    EXPECT_EQ(first, run());

    SimHarness clean;
    std::string expected;
    for (int i = 0; i < 20; ++i) {
        expected += clean.Exchange("Show Conf\r");
    }
    EXPECT_LT(first.size(), expected.size() * 95 / 100);
    EXPECT_GT(first.size(), expected.size() * 85 / 100);
}

}  // namespace
}  // namespace brennix::sim::test
