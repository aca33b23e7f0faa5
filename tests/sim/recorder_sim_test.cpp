// The simulated recorder where the recorder service's tests do not meet it: what a format
// answers, the rates refused, and a folder served as the recorder (brennix-sim --recorder-dir).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "sim/sim_harness.h"
#include "sim/sim_recorder.h"

namespace brennix::sim::test {
namespace {

TEST(SimRecorder, FormatAsksThenWorksWithDotsAndErasesOnlyOnYes) {
    for (const bool yes : {false, true}) {
        SimHarness sim(Unpaced({.recorderSamples = false}));
        sim.instrument.Recorder().AddFile({"LOG.000", "data"});
        EXPECT_EQ(sim.Exchange("format\r"),
                  "format\r\r\nErase all files on the recorder? YES or NO\r\n");
        if (!yes) {
            EXPECT_EQ(sim.Exchange("no\r"), "no\r\r\nFormat aborted\r\n>");
            EXPECT_EQ(sim.instrument.Recorder().Files().size(), 1u);
            continue;
        }
        EXPECT_EQ(sim.Exchange("yes\r"), "yes\r\r\nFormatting");
        EXPECT_EQ(sim.Exchange("bbb \r", 2500), "..");  // busy: not even echoed
        EXPECT_EQ(sim.instrument.Recorder().Files().size(), 1u);
        EXPECT_EQ(sim.Collect(500), "\r\nOK\r\n>");
        EXPECT_TRUE(sim.instrument.Recorder().Files().empty());
    }
}

// Only the rates the instrument lists, for port 0, are taken (the switch itself is met through
// the recorder service's tests).
TEST(SimRecorder, BaudRefusesRatesTheInstrumentDoesNotTake) {
    SimHarness sim;
    for (const char* refused : {"BAUD 0 14400\r", "BAUD 1 9600\r", "BAUD 0\r"}) {
        EXPECT_NE(sim.Exchange(refused).find("ERROR"), std::string::npos) << refused;
    }
    EXPECT_EQ(sim.instrument.GetSettings().baudRate, 9600u);
}

TEST(SimRecorder, ServesAFolderSortedByNameDatedByModificationLeavingOutLongNames) {
    char pattern[] = "/tmp/brennix-recorder-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path folder(pattern);
    std::ofstream(folder / "B.000") << "second";
    std::ofstream(folder / "A.000") << "first";
    std::ofstream(folder / "MUCH_TOO_LONG.000") << "left out";
    std::filesystem::create_directory(folder / "SUB");
    // 2006-05-17 13:45:09 local time
    std::tm local{};
    std::istringstream("2006-05-17 13:45:09") >> std::get_time(&local, "%Y-%m-%d %H:%M:%S");
    local.tm_isdst = -1;
    const timespec times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (folder / "A.000").c_str(), times, 0), 0);

    SimulatedInstrument instrument({.recorderFolder = folder.string()});
    const SimRecorder& recorder = instrument.Recorder();
    EXPECT_TRUE(recorder.FolderError().empty());
    ASSERT_EQ(recorder.Files().size(), 2u);
    const RecorderFile& a = recorder.Files()[0];
    EXPECT_EQ(std::tie(a.name, a.data, a.year, a.month, a.hour),
              std::make_tuple("A.000", "first", 2006, 5, 13));
    EXPECT_EQ(recorder.SkippedNames(), std::vector<std::string>{"MUCH_TOO_LONG.000"});
    std::filesystem::remove_all(folder);

    SimulatedInstrument gone({.recorderFolder = folder.string()});
    EXPECT_NE(gone.Recorder().FolderError().find(folder.string()), std::string::npos);
}

}  // namespace
}  // namespace brennix::sim::test
