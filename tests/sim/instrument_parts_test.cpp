// The simulator's diagnostic frames, driven as a host would (its compass is met through the
// compass service's tests).
#include <gtest/gtest.h>

#include <string>

#include "sim/diagnostic_frame.h"
#include "sim/sim_diagnostics.h"
#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

TEST(SimDiagnostics, AmpNeedsBinaryOutputAndAnswersOneFrame) {
    SimHarness sim(Unpaced({.cpuVersion = 60}));
    EXPECT_EQ(sim.Exchange("OF ASCII\r"), "OF ASCII\rOK\r\n>");
    EXPECT_NE(sim.Exchange("Amp\r").find("ERROR"), std::string::npos);
    sim.Exchange("OF Binary\r");
    const std::string reply = sim.Exchange("Amp\r", SimDiagnostics::kPingMs);
    ASSERT_TRUE(reply.starts_with("Amp\r\xB2"));
    // The echo, one frame of 498 cells, the prompt (its checksum: the diagnostics service's tests).
    EXPECT_EQ(reply.size(), 4 + (4 + 9 * 498) + 3u);
    EXPECT_TRUE(reply.ends_with("\r\n>"));
}

// Old firmware leaves the checksum byte as noise: the host must not trust it there.
TEST(SimFrames, FollowTheConfBlock) {
    struct Case {
        const char* name;
        Settings settings;
        size_t cells;
        bool checksum;
    };
    for (const Case& c :
         {Case{"Mirovan38", {}, 498, false}, Case{"Mirovan57", {.cpuVersion = 57}, 498, true},
          Case{"Mirovan3000kHz", {.cpuVersion = 57, .frequencyCode = 0}, 512, true},
          Case{"Fendrel", {.model = Model::kFendrel}, 498, true},
          Case{"MirovanAdvType5", {.model = Model::kMirovanAdv}, 146, false},
          Case{"Type5At116", {.model = Model::kLmr, .cpuVersion = 116}, 146, true}}) {
        SCOPED_TRACE(c.name);
        const std::string frame = DiagnosticFrame::Build(c.settings.model, ConfigBlocks(c.settings),
                                                         1, FrameFault::kNone);
        EXPECT_EQ(frame.size(), 4 + 9 * c.cells);
        const bool matches = static_cast<uint8_t>(frame.back()) ==
                             DiagnosticFrame::Checksum(frame.substr(1, frame.size() - 2));
        EXPECT_EQ(matches, c.checksum);
    }
}

}  // namespace
}  // namespace brennix::sim::test
