// A folder served as the simulated recorder (brennix-sim --recorder-dir); the recorder service's
// tests meet the rest of it.
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

#include "sim/sim_recorder.h"
#include "sim/simulated_instrument.h"

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
