// The simulated recorder where the recorder service's tests do not meet it: a folder served as
// the recorder (what brennix-sim --recorder-dir serves).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_recorder.h"

namespace brennix::sim::test {
namespace {

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
    EXPECT_EQ(recorder.Files()[0].name, "A.000");
    EXPECT_EQ(recorder.Files()[0].data, "first");
    EXPECT_EQ(recorder.Files()[0].year, 2006);
    EXPECT_EQ(recorder.Files()[0].month, 5);
    EXPECT_EQ(recorder.Files()[0].hour, 13);
    EXPECT_EQ(recorder.SkippedNames(), std::vector<std::string>{"MUCH_TOO_LONG.000"});
    std::filesystem::remove_all(folder);

    SimulatedInstrument gone({.recorderFolder = folder.string()});
    EXPECT_NE(gone.Recorder().FolderError().find(folder.string()), std::string::npos);
}

}  // namespace
}  // namespace brennix::sim::test
