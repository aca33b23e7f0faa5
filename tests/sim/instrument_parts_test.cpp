// The simulator's compass calibration and diagnostic frames, driven as a host would.
#include <gtest/gtest.h>

#include <string>

#include "sim/diagnostic_frame.h"
#include "sim/sim_compass.h"
#include "sim/sim_diagnostics.h"
#include "sim/sim_harness.h"
#include "sim/sim_options.h"

namespace brennix::sim::test {
namespace {

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(SimCompass, CalibrationStreamsTurningLinesUntilALineEnd) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange("compass init\r", SimCompass::kInitMs), "compass init\rOK\r\n>");
    sim.Exchange("compass cal\r");
    const std::string first = sim.Collect(1000);
    const std::string later = sim.Collect(30000);
    EXPECT_EQ(Count(first, "Heading= "), 2u) << first;
    EXPECT_EQ(Count(later, "Heading= "), 75u);
    EXPECT_NE(first.substr(first.rfind("Heading")), later.substr(later.rfind("Heading")));
    EXPECT_EQ(sim.Exchange(" \r\n"), "\r\nCalibration score: H 2 V 2 M 23.4\r\n>");
    EXPECT_EQ(sim.Collect(2000), "") << "the stream has ended";
}

TEST(SimCompass, ABreakEndsTheCalibrationWithoutScores) {
    SimHarness sim;
    sim.Exchange("compass cal\r", 1000);
    sim.Break();
    const std::string reply = sim.Collect(100);
    EXPECT_EQ(reply.find("score"), std::string::npos) << reply;
    EXPECT_NE(reply.find("Command mode"), std::string::npos) << reply;
}

TEST(SimDiagnostics, AmpNeedsBinaryOutputAndAnswersOneFrame) {
    SimHarness sim(Unpaced({.cpuVersion = 60}));
    EXPECT_EQ(sim.Exchange("OF ASCII\r"), "OF ASCII\rOK\r\n>");
    EXPECT_NE(sim.Exchange("Amp\r").find("ERROR"), std::string::npos);
    sim.Exchange("OF Binary\r");
    const std::string reply = sim.Exchange("Amp\r", SimDiagnostics::kPingMs);
    ASSERT_TRUE(reply.starts_with("Amp\r\xB2"));
    const std::string frame = reply.substr(4, reply.size() - 7);
    EXPECT_EQ(frame.size(), 1 + 2 + 9 * 498 + 1u);
    EXPECT_EQ(frame[1], static_cast<char>(498 & 0xFF));
    EXPECT_EQ(static_cast<uint8_t>(frame.back()),
              DiagnosticFrame::Checksum(frame.substr(1, frame.size() - 2)));
    EXPECT_TRUE(reply.ends_with("\r\n>"));
}

struct FrameCase {
    const char* name;
    Settings settings;
    size_t cells;
    bool checksum;
};

class SimFrames : public testing::TestWithParam<FrameCase> {};

// Old firmware leaves the checksum byte as noise: the host must not trust it there.
TEST_P(SimFrames, FollowTheConfBlock) {
    const FrameCase& c = GetParam();
    const ConfigBlocks blocks(c.settings);
    const std::string frame =
        DiagnosticFrame::Build(c.settings.model, blocks, 1, FrameFault::kNone);
    EXPECT_EQ(frame.size(), 4 + 9 * c.cells);
    const bool matches = static_cast<uint8_t>(frame.back()) ==
                         DiagnosticFrame::Checksum(frame.substr(1, frame.size() - 2));
    EXPECT_EQ(matches, c.checksum);
}

INSTANTIATE_TEST_SUITE_P(
    Hardware, SimFrames,
    testing::Values(FrameCase{"Mirovan38", {}, 498, false},
                    FrameCase{"Mirovan57", {.cpuVersion = 57}, 498, true},
                    FrameCase{"Mirovan3000kHz", {.cpuVersion = 57, .frequencyCode = 0}, 512, true},
                    FrameCase{"Fendrel", {.model = Model::kFendrel}, 498, true},
                    FrameCase{"MirovanAdvType5", {.model = Model::kMirovanAdv}, 146, false},
                    FrameCase{"Type5At116", {.model = Model::kLmr, .cpuVersion = 116}, 146, true}),
    [](const testing::TestParamInfo<FrameCase>& info) { return info.param.name; });

TEST(SimOptions, HardwareAndFaultsAreRead) {
    std::string error;
    Faults faults;
    const auto settings = ParseSimArguments({"--firmware", "60", "--frequency", "3000", "--fault",
                                             "no-compass", "--fault", "frame-truncated"},
                                            error, &faults);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(settings->cpuVersion, 60);
    EXPECT_EQ(settings->frequencyCode, 0);
    EXPECT_TRUE(faults.noCompass);
    EXPECT_EQ(faults.frameFault, FrameFault::kTruncated);
    for (const auto& bad : std::vector<std::vector<std::string>>{{"--firmware", "0"},
                                                                 {"--firmware", "256"},
                                                                 {"--frequency", "600"},
                                                                 {"--fault", "smoke"},
                                                                 {"--fault"}}) {
        EXPECT_FALSE(ParseSimArguments(bad, error)) << bad.back();
    }
}

}  // namespace
}  // namespace brennix::sim::test
