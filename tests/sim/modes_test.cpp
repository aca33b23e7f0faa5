#include <gtest/gtest.h>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

constexpr std::string_view kNotice = "System is in SDI-12 Mode\r\n";

TEST(Sdi12Mode, AnswersWakeUpTrafficWithTheNoticeAndNoPrompt) {
    SimHarness sim(Unpaced({.sdi12Mode = true}));
    EXPECT_EQ(sim.Exchange(" \r\n"), kNotice);
    sim.Break();
    EXPECT_EQ(sim.Collect(), kNotice);
    EXPECT_EQ(sim.Exchange("++++++++++"), kNotice);
    EXPECT_EQ(sim.Exchange("Ver\r"), "");
}

TEST(Sdi12Mode, AnswersSdi12CommandsWithoutEcho) {
    SimHarness sim(Unpaced({.sdi12Mode = true}));
    EXPECT_EQ(sim.Exchange("?!"), "0\r\n");
    EXPECT_TRUE(sim.Exchange("0I!").starts_with("013OSTREL  MRV"));
}

TEST(Sdi12Mode, LeavesOnExitCommandFollowedByTerminator) {
    SimHarness sim(Unpaced({.sdi12Mode = true}));
    EXPECT_EQ(sim.Exchange("?EXIT!"), "");
    EXPECT_FALSE(Contains(sim.Exchange("!"), "SDI-12"));
    EXPECT_EQ(sim.Exchange(" \r\n"), " \r>");
}

TEST(Sdi12Mode, ExitCommandAloneDoesNotLeave) {
    SimHarness sim(Unpaced({.sdi12Mode = true}));
    sim.Exchange("?EXIT!?!");
    EXPECT_EQ(sim.Exchange(" \r\n"), kNotice);
}

TEST(Sdi12Mode, SwitchedOnFromTheCommandLine) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange("sdi12\r"), "sdi12\rSDI12 OFF\r\n>");
    EXPECT_EQ(sim.Exchange("SDI12 ON\r"), "SDI12 ON\rOK\r\n");
    EXPECT_EQ(sim.Exchange(" \r\n"), kNotice);
    sim.Exchange("?EXIT!!");
    EXPECT_EQ(sim.Exchange(" \r\n"), " \r>");
}

constexpr std::string_view kSelect3 = "\xF0\xF0\xF0\xF3";
constexpr std::string_view kSelect5 = "\xF0\xF0\xF0\xF5";

TEST(Rs485, IgnoresTrafficUntilSelectedAndDoesNotEchoTheSelection) {
    SimHarness sim(Unpaced({.rs485Address = 3}));
    EXPECT_EQ(sim.Exchange(" \r\n"), "");
    sim.Break();
    EXPECT_EQ(sim.Collect(), "");
    EXPECT_EQ(sim.Exchange(std::string(kSelect3) + " \r\n"), " \r>");
}

TEST(Rs485, SelectingAnotherAddressDeselects) {
    SimHarness sim(Unpaced({.rs485Address = 3}));
    sim.Send(kSelect3);
    sim.Send(kSelect5);
    EXPECT_EQ(sim.Exchange("Ver\r"), "");
    sim.Send(kSelect3);
    EXPECT_EQ(sim.Exchange("\r"), "\r>");
}

TEST(Rs485, IncompleteSelectionDoesNotSelect) {
    SimHarness sim(Unpaced({.rs485Address = 3}));
    EXPECT_EQ(sim.Exchange("\xF0\xF0\xF3\r"), "");
}

TEST(Rs485, PlainRs232TreatsSelectionBytesAsData) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange(kSelect3), kSelect3);
}

}  // namespace
}  // namespace brennix::sim::test
