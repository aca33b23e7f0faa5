#include <gtest/gtest.h>

#include <string>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

TEST(Settings, AreAcceptedWithOkAndReportedInTheirOwnForm) {
    struct Case {
        const char* set;
        const char* show;
        const char* shown;
    };
    for (const Case& c :
         {Case{"ai 600", "AI", "AI 600"}, Case{"cb 1.0", "CellBegin", "CB 1.00"},
          Case{"Temp 12.5", "temp", "Temp 12.5"}, Case{"cy xyz", "CoordSystem", "CoordSystem XYZ"},
          Case{"tm 0", "TempMode", "TempMode USER"},
          Case{"SD 2026/05/17", "StartDate", "SD 2026/05/17"},
          Case{"ST 08:30:00", "st", "ST 08:30:00"}, Case{"of Metric", "of", "of METRIC"},
          Case{"Comments two words", "Comments", "Comments two words"}}) {
        SimHarness sim;
        const std::string set = std::string(c.set) + "\r";
        EXPECT_EQ(sim.Exchange(set), set + "OK\r\n>");
        const std::string show = std::string(c.show) + "\r";
        EXPECT_EQ(sim.Exchange(show), show + c.shown + "\r\n>");
    }
}

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
