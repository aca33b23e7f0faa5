#include <gtest/gtest.h>

#include <string>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

TEST(LineRate, MismatchLosesInputAndGarblesOutputYetBreaksStillWork) {
    SimHarness sim(Unpaced({.baudRate = 19200}));
    sim.instrument.HostSetBaudRate(9600);
    EXPECT_EQ(sim.Exchange(" \r\n"), "");
    sim.Break();
    const std::string noise = sim.Collect();
    EXPECT_FALSE(noise.empty());
    EXPECT_EQ(noise.find_first_of(">OK"), std::string::npos) << noise;
    sim.instrument.HostSetBaudRate(19200);
    EXPECT_EQ(sim.Exchange(" \r\n"), " \r>");
}

TEST(LineRate, PacingSpacesBytesAtTenBitsAndKeepsTheirOrder) {
    SimHarness sim({.baudRate = 9600});
    sim.Send("SaveSetup\r");  // 10 echoed bytes and "OK\r\n>": 1.04 ms each at 9600
    EXPECT_EQ(sim.Collect(1), "");
    EXPECT_EQ(sim.Collect(1), "S");
    EXPECT_EQ(sim.Collect(8), "aveSetup");
    sim.Send("\r");
    EXPECT_EQ(sim.Collect(20), "\rOK\r\n>\r>");
}

TEST(LineRate, DropAndCorruptionAreRepeatableForTheSameTraffic) {
    const auto run = [](double rate) {
        SimHarness sim;
        sim.instrument.GetFaults().dropRate = rate;
        sim.instrument.GetFaults().corruptRate = rate;
        std::string all;
        for (int i = 0; i < 20; ++i)
            all += sim.Exchange("Show Conf\r");
        return all;
    };
    const std::string first = run(0.1);
    EXPECT_EQ(first, run(0.1));
    const size_t clean = run(0).size();
    EXPECT_LT(first.size(), clean * 95 / 100);
    EXPECT_GT(first.size(), clean * 85 / 100);
}

}  // namespace
}  // namespace brennix::sim::test
