#include "link/connect_search.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "link/routed_serial_device.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/job.h"
#include "platform/network_port_name.h"
#include "sim/scripted_far_end.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"
#include "support/scripted_ui_host.h"

namespace brennix {
namespace {

// Three ports: "SIM", an instrument at 19200 baud, "COM1:", where nothing answers, and
// "tcp://buoy:4001", a device server that carries bytes only.
class ConnectSearchTest : public ::testing::Test {
  protected:
    ConnectSearchTest() {
        silence.awake = false;
        rawPort.SetCapabilities({false, false, "tcp://buoy:4001 carries bytes only"});
        ports.AddRoute(IsNetworkPortName, rawPort);
        search.SetStatusCallback([this](const std::string& text) {
            statuses.push_back(text);
            statusTicks.push_back(clock.TickCount());
        });
    }

    VirtualClock clock{1000};
    test::ScriptedUiHost ui{clock};
    sim::ScriptedFarEnd silence{clock};
    SimulatedDevice silentPort{silence, clock, "COM1:"};
    SimulatedDevice rawPort{silence, clock, "tcp://buoy:4001"};
    sim::SimulatedInstrument instrument{{.baudRate = 19200}};
    SimulatedDevice simulated{instrument, clock};
    RoutedSerialDevice ports{silentPort, simulated};
    CSerialLink link{ports, clock};
    CConnectSearch search{link, clock};
    StopEvent stop;
    std::vector<std::string> statuses;
    std::vector<uint32_t> statusTicks;
};

std::vector<std::string> Probes(const std::string& port, std::vector<int> rates) {
    std::vector<std::string> lines;
    for (const int rate : rates) {
        lines.push_back("Connecting to " + port + " at " + std::to_string(rate));
    }
    return lines;
}

using Edges = std::vector<sim::ScriptedFarEnd::BreakEdge>;

const std::vector<int> kRateOrder = {9600, 19200, 600, 115200, 57600, 38400, 4800, 2400, 1200, 300};

// Nothing answers: one BREAK at 9600, 4 s, then every rate in its order, each probe taking the
// 150 ms settle pause and the 2000 ms prompt wait (ended one poll step after it is up).
TEST_F(ConnectSearchTest, AutoRateOnASilentPortBreaksAtNineSixHundredThenProbesEveryRate) {
    EXPECT_FALSE(search.Connect("COM1:", CConnectSearch::kAutoRate, stop));

    EXPECT_TRUE(search.Probed());
    EXPECT_EQ(statuses, Probes("COM1:", kRateOrder));
    const uint32_t at = silence.Breaks().at(0).tick;
    EXPECT_EQ(silence.Breaks(), (Edges{{true, at, 9600}, {false, at + 300, 9600}}));
    EXPECT_EQ(statusTicks[0] - (at + 300), 4000u);
    for (size_t i = 1; i < statusTicks.size(); ++i) {
        EXPECT_EQ(statusTicks[i] - statusTicks[i - 1], 150u + 2001) << kRateOrder[i];
    }
    std::string probes;
    for (size_t i = 0; i < kRateOrder.size(); ++i) {
        probes += " \r\n";
    }
    EXPECT_EQ(silence.Wire(), "  \r\n  \r\n<BREAK>" + probes);
}

// "Auto" for both: each port gets a BREAK and 2 s, then the rate search's own BREAK and 4 s,
// before its ten probes. The instrument at 19200 answers the second; the rate is then the port's.
TEST_F(ConnectSearchTest, AutoPortWithAutoRateBreaksEachPortTwiceBeforeItsProbes) {
    search.SetAutoPorts({"Auto", "COM1:", "SIM"});
    ASSERT_TRUE(search.Connect(CConnectSearch::kAutoPort, CConnectSearch::kAutoRate, stop));

    EXPECT_EQ(search.ConnectedPort(), "SIM");
    EXPECT_EQ(search.ConnectedRate(), 19200u);
    std::vector<std::string> expected = Probes("COM1:", kRateOrder);
    for (const std::string& line : Probes("SIM", {9600, 19200})) {
        expected.push_back(line);
    }
    EXPECT_EQ(statuses, expected);
    // Between the BREAKs the pause, then the second BREAK's 100 ms lead-in.
    const uint32_t at = silence.Breaks().at(0).tick;
    EXPECT_EQ(silence.Breaks(), (Edges{{true, at, 9600},
                                       {false, at + 300, 9600},
                                       {true, at + 300 + 2000 + 100, 9600},
                                       {false, at + 2700, 9600}}));
    EXPECT_EQ(statusTicks[0] - (at + 2700), 4000u);
    ASSERT_EQ(simulated.BreakTicks().size(), 2u);
    SerialState state;
    ASSERT_TRUE(link.GetState(state));
    EXPECT_EQ(state.baudRate, 19200u);
    // The search held the link while it ran, and only then.
    EXPECT_FALSE(link.Waits().IsLeased());
}

// A direct connection needs no instrument and sends nothing; it fails on a port that cannot be
// opened or does not keep the rate.
TEST_F(ConnectSearchTest, DirectConnectionSendsNothingAndFailsOnAPortThatIsNotThere) {
    ASSERT_TRUE(search.Connect("COM1:", 4800, stop));
    EXPECT_FALSE(search.Probed());
    EXPECT_EQ(search.ConnectedRate(), 4800u);
    EXPECT_EQ(silence.Wire(), "");
    EXPECT_TRUE(silence.Breaks().empty());

    EXPECT_FALSE(search.Connect("COM7:", 9600, stop));
    const std::string status = "Unable to connect to 'COM7:' (" + std::to_string(ENOENT) + ")";
    EXPECT_EQ(statuses.back(), status);
    EXPECT_EQ(search.OpenFailure(), status + ": " + std::strerror(ENOENT));
    EXPECT_FALSE(link.IsOpen());

    silentPort.SetKeptRate(9600);
    EXPECT_FALSE(search.Connect("COM1:", 128000, stop));
    EXPECT_EQ(statuses.back().rfind("Unable to connect to 'COM1:'", 0), 0u);
}

TEST_F(ConnectSearchTest, AutoPortStopsAtAMissingPortAndOtherwiseBreaksEachUntilOneAnswers) {
    search.SetAutoPorts({"COM1:", "SIM"});
    silentPort.SetVanished(true);
    EXPECT_FALSE(search.Connect(CConnectSearch::kAutoPort, 19200, stop));
    EXPECT_TRUE(simulated.BreakTicks().empty());
    EXPECT_TRUE(statuses.empty());
    EXPECT_EQ(search.OpenFailure().rfind("Unable to connect to 'COM1:'", 0), 0u);

    silentPort.SetVanished(false);
    ASSERT_TRUE(search.Connect(CConnectSearch::kAutoPort, 19200, stop));

    EXPECT_EQ(search.ConnectedPort(), "SIM");
    EXPECT_EQ(statuses, (std::vector<std::string>{"Connecting to COM1: at 19200",
                                                  "Connecting to SIM at 19200"}));
    EXPECT_EQ(silence.Breaks().size(), 2u);  // on and off
    ASSERT_EQ(simulated.BreakTicks().size(), 1u);
    EXPECT_GE(statusTicks[1] - simulated.BreakTicks()[0], 300u + 2000);
}

// "Auto" never sends a BREAK to a device server the user did not name; a named one that carries
// bytes only cannot be searched for a rate, and the reason is its limits.
TEST_F(ConnectSearchTest, AutoLeavesNetworkPortsAloneAndARawOneCannotSearchItsRate) {
    search.SetAutoPorts({"tcp://buoy:4001", "rfc2217://pier:4002", "SIM"});
    ASSERT_TRUE(search.Connect(CConnectSearch::kAutoPort, 19200, stop));
    EXPECT_EQ(search.ConnectedPort(), "SIM");
    EXPECT_EQ(statuses, (std::vector<std::string>{"Connecting to SIM at 19200"}));
    EXPECT_TRUE(silence.Breaks().empty());

    EXPECT_FALSE(search.Connect("tcp://buoy:4001", CConnectSearch::kAutoRate, stop));
    EXPECT_EQ(search.OpenFailure(), rawPort.Capabilities().limits);
    EXPECT_EQ(silence.Wire(), "");
}

// A front end runs the search as a job; its stop ends the search at once, in any wait.
TEST_F(ConnectSearchTest, StopEndsTheSearchAtOnce) {
    struct Case {
        const char* when;
        uint32_t afterMs;
        size_t statusLines;
    };
    for (const Case& c : {Case{"during the pause after the BREAK", 1000, 0},
                          Case{"during the first probe", 4500, 1}}) {
        statuses.clear();
        const uint32_t start = clock.TickCount();
        bool connected = true;
        Job job(clock);
        ASSERT_TRUE(job.Start([&](const StopEvent& jobStop) {
            connected = search.Connect("COM1:", CConnectSearch::kAutoRate, jobStop);
        }));
        clock.Sleep(c.afterMs);
        ASSERT_TRUE(job.StopAndWait(1)) << c.when;

        EXPECT_FALSE(connected) << c.when;
        EXPECT_TRUE(search.Cancelled()) << c.when;
        EXPECT_EQ(statuses.size(), c.statusLines) << c.when;
        EXPECT_LE(clock.TickCount() - start, c.afterMs + 1) << c.when;
    }
}

}  // namespace
}  // namespace brennix
