#include <gtest/gtest.h>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

constexpr std::string_view kWakeText = "\r\nOstrel Mirovan\r\nCommand mode\r\n>";

Settings Asleep(Settings settings = {}) {
    settings.asleep = true;
    return Unpaced(settings);
}

TEST(WakeUp, AsleepInstrumentIgnoresCommandsAndBlankLines) {
    SimHarness sim(Asleep());
    EXPECT_EQ(sim.Exchange("Ver\r", 1000), "");
    EXPECT_EQ(sim.Exchange(" \r\n", 1000), "");
}

TEST(WakeUp, BreakWakesItWithAShortTextAndThePrompt) {
    SimHarness sim(Asleep());
    sim.Break();
    EXPECT_EQ(sim.Collect(), kWakeText);
    EXPECT_EQ(sim.Exchange(" \r\n"), " \r>");
}

TEST(WakeUp, BreakWorksAtAnyRate) {
    SimHarness sim(Asleep());
    sim.instrument.HostSetBaudRate(19200);
    sim.Break();
    sim.Collect();
    sim.instrument.HostSetBaudRate(9600);
    EXPECT_EQ(sim.Exchange(" \r\n"), " \r>");
}

TEST(WakeUp, TheLinesBeforeABreakWakeItOnALineThatCannotCarryOne) {
    SimHarness sim(Asleep());
    EXPECT_EQ(sim.Exchange(" \r\n  \r\n"), "");
    EXPECT_EQ(sim.Exchange("  \r\n"), kWakeText);
}

TEST(WakeUp, ABreakRightAfterTheLinesDoesNotWakeItTwice) {
    SimHarness sim(Asleep());
    sim.Send("  \r\n  \r\n");
    sim.tick += 100;
    sim.Break();
    EXPECT_EQ(sim.Collect(), kWakeText);
    sim.tick += 5000;
    sim.Break();
    EXPECT_EQ(sim.Collect(), kWakeText);
}

TEST(WakeUp, TenPlusSignsWakeIt) {
    SimHarness sim(Asleep());
    EXPECT_EQ(sim.Exchange("+++++++++"), "");
    EXPECT_EQ(sim.Exchange("+"), kWakeText);
}

TEST(WakeUp, PlusSignsToAnAwakeInstrumentDiscardTheLine) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange("ai++++++++++"), "ai++++++++++\r\n>");
    EXPECT_EQ(sim.Exchange("\r"), "\r>");
}

TEST(WakeUp, BreakToAnAwakeInstrumentReturnsItToTheCommandLine) {
    SimHarness sim;
    sim.Send("ai 6");
    sim.Break();
    EXPECT_EQ(sim.Collect(), std::string("ai 6") + std::string(kWakeText));
    EXPECT_EQ(sim.Exchange("\r"), "\r>");
}

TEST(WakeUp, CompassReportGivesThePromptOnlyAfterTheDelay) {
    Settings settings = Asleep();
    settings.reportsCompass = true;
    settings.compassDelayMs = 5000;
    SimHarness sim(settings);
    sim.Break();
    const std::string first = sim.Collect(10);
    EXPECT_TRUE(Contains(first, "Compass"));
    EXPECT_FALSE(Contains(first, ">"));
    EXPECT_EQ(sim.Collect(4980), "");
    EXPECT_EQ(sim.Collect(20), ">");
}

TEST(WakeUp, DeployStartsMeasuringAndTheInstrumentStopsAnswering) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange("deploy\r"), "deploy\rOK\r\n>");
    EXPECT_EQ(sim.Exchange(" \r\n", 2000), "");
    sim.Break();
    EXPECT_EQ(sim.Collect(), kWakeText);
}

TEST(WakeUp, IdleTimeOutSendsItToSleepOnlyWhenSet) {
    Settings settings = Unpaced();
    settings.idleSleepMs = 60000;
    SimHarness sim(settings);
    EXPECT_EQ(sim.Exchange(" \r", 59000), " \r>");
    EXPECT_EQ(sim.Exchange(" \r", 60001), " \r>");
    EXPECT_EQ(sim.Exchange(" \r"), "");

    SimHarness neverSleeps;
    neverSleeps.tick += 10'000'000;
    EXPECT_EQ(neverSleeps.Exchange(" \r"), " \r>");
}

TEST(WakeUp, TickWrapAroundIsHarmless) {
    Settings settings = Asleep();
    settings.reportsCompass = true;
    settings.compassDelayMs = 1000;
    SimHarness sim(settings);
    sim.tick = 0xFFFFFF00u;
    sim.Break();  // ends at 0x0000002C
    EXPECT_FALSE(Contains(sim.Collect(), ">"));
    EXPECT_EQ(sim.Collect(1001), ">");
}

}  // namespace
}  // namespace brennix::sim::test
