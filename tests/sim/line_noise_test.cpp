// The simulator's noisy line (a mismatched rate is met through the connect search's tests and
// the console's, its pacing through the recorder service's and the pseudo-terminal's).
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <utility>

#include "sim/sim_harness.h"
#include "sim/sim_options.h"
#include "sim/sim_recorder.h"

namespace brennix::sim::test {
namespace {

// A download of 40 blocks through the noisy line: what came before the transfer (the command's
// echo and its answer) and the transfer itself.
std::pair<std::string, std::string> NoisyDownload(const std::vector<std::string>& options) {
    std::string error;
    Faults faults;
    std::optional<Settings> settings = ParseSimArguments(options, error, &faults);
    EXPECT_TRUE(settings) << error;
    settings->paceAtLineRate = false;
    settings->recorderSamples = false;
    SimHarness sim(*settings);
    sim.instrument.GetFaults() = faults;
    sim.instrument.Recorder().AddFile({"BIG.DAT", std::string(40 * 1024, '\x5A'), 2026, 1, 2});
    std::pair<std::string, std::string> run{sim.Exchange("download big.dat\r"), ""};
    for (int block = 0; block < 42; ++block) {
        run.second += sim.Exchange("a");
    }
    return run;
}

int FlippedBits(const std::string& a, const std::string& b) {
    EXPECT_EQ(a.size(), b.size());
    int flipped = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        flipped += std::popcount(static_cast<uint8_t>(a[i] ^ b[i]));
    }
    return flipped;
}

TEST(LineNoise, NoiseFlipsBitsOfTheRecorderFramesAtTheRateOrOfEverything) {
    const auto clean = NoisyDownload({});
    const auto noisy = NoisyDownload({"--noise", "0.002", "--seed", "7"});
    EXPECT_EQ(noisy.first, clean.first);
    const double bits = 8.0 * static_cast<double>(clean.second.size());
    EXPECT_NEAR(FlippedBits(noisy.second, clean.second), bits * 0.002, bits * 0.0002);
    EXPECT_EQ(NoisyDownload({"--noise", "0.002", "--seed", "7"}), noisy);
    EXPECT_NE(NoisyDownload({"--noise", "0.002", "--seed", "8"}).second, noisy.second);

    const auto everything = NoisyDownload({"--noise", "0.05", "--noise-all"});
    EXPECT_GT(FlippedBits(everything.first, clean.first), 0);
    EXPECT_NEAR(FlippedBits(everything.second, clean.second), bits * 0.05, bits * 0.005);
}

}  // namespace
}  // namespace brennix::sim::test
