#include <gtest/gtest.h>

#include <string>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

TEST(Settings, InvalidValuesAreRefusedAndChangeNothing) {
    for (const char* value : {"ai ten", "ai 1e30", "cb 400", "nc 300", "cy polar", "SD 2026/13/01",
                              "ST 25:00:00", "Deployment NINECHARS", "Temp 12,5", "Temp 500"}) {
        SimHarness sim;
        const std::string before = sim.Exchange("Show Setup\r");
        const std::string line = std::string(value) + "\r";
        EXPECT_EQ(sim.Exchange(line), line + "ERROR: invalid value\r\n>");
        EXPECT_EQ(sim.Exchange("Show Setup\r"), before);
    }
}

}  // namespace
}  // namespace brennix::sim::test
