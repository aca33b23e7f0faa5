#include "script/terminal_service.h"

#include <gtest/gtest.h>

#include <string>

#include "support/sim_session.h"

namespace brennix::test {
namespace {

struct TerminalServiceTest : ::testing::Test {
    bool Settle() {
        return sim.PumpUntil([this] { return !terminal.IsWorking(); });
    }

    SimSession sim;
    TerminalService terminal{sim.session, sim.relay};
};

// A typed line runs on a job: nothing else may start meanwhile, its answer reaches the owner's
// pane through the relay, and the mode the job's instrument switched to comes back to the
// session's, which the next switch starts from.
TEST_F(TerminalServiceTest, WorkRunsOnAJobAndHandsItsOutputAndModeBack) {
    bool answered = false;
    ASSERT_FALSE(terminal.SendLine("Ver", [&answered](bool ran) { answered = ran; }));
    EXPECT_EQ(terminal.SendLine("Ver", nullptr), std::string(TerminalService::kBusyText));
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(answered);
    EXPECT_NE(sim.terminal.Text().find("Mirovan MRV Version"), std::string::npos);

    ASSERT_FALSE(terminal.SetSdi12Mode(true, nullptr));
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(sim.session.Instrument().IsSdi12Mode());
    const size_t before = sim.instrument.Received().size();
    ASSERT_FALSE(terminal.SetSdi12Mode(false, nullptr));
    ASSERT_TRUE(Settle());
    EXPECT_FALSE(sim.session.Instrument().IsSdi12Mode());
    // Sent in SDI-12 framing, which ends a command with its own "!": the job started in the mode.
    EXPECT_EQ(sim.instrument.Received().substr(before), "?EXIT!!");
}

// Stop ends a text where it waits, the rest is not sent, and the next line is taken.
TEST_F(TerminalServiceTest, StopEndsTheTextAndTheNextLineIsTaken) {
    bool ran = true;
    ASSERT_FALSE(terminal.SendLine("Ver\n#WAIT 20\nShow Conf", [&ran](bool done) { ran = done; }));
    ASSERT_FALSE(sim.PumpUntil([] { return false; }, 2000));
    terminal.Stop();
    ASSERT_TRUE(Settle());
    EXPECT_FALSE(ran);
    EXPECT_LT(sim.clock.TickCount(), 20000u);
    EXPECT_EQ(sim.instrument.Received().find("Show Conf"), std::string::npos);
    ASSERT_FALSE(terminal.SendLine("Ver", nullptr));
    ASSERT_TRUE(Settle());
    EXPECT_NE(sim.instrument.Received().find("Ver\r"), std::string::npos);
}

// A port that went away is said once, and then nothing starts on it.
TEST_F(TerminalServiceTest, ALostPortIsSaidOnceAndRefusesWork) {
    EXPECT_FALSE(terminal.PortLost());
    sim.device.SetVanished(true);
    EXPECT_TRUE(terminal.PortLost());
    EXPECT_FALSE(terminal.PortLost());
    EXPECT_EQ(terminal.SendBreak(nullptr), std::string(TerminalService::kNotConnectedText));
    EXPECT_EQ(TerminalService::OpenFailureText("/dev/ttyS9", 9600, "No such file or directory"),
              "Could not open /dev/ttyS9 at 9600 baud:\nNo such file or directory");
}

}  // namespace
}  // namespace brennix::test
