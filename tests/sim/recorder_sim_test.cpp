// A folder served as the simulated recorder (brennix-sim --recorder-dir); the recorder service's
// tests meet the rest of it.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "sim/sim_recorder.h"
#include "sim/simulated_instrument.h"
#include "support/temporary_folder.h"

namespace brennix::sim::test {
namespace {

TEST(SimRecorder, ServesAFolderSortedByNameDatedByModificationLeavingOutLongNames) {
    const std::filesystem::path folder = testing_support::MakeTemporaryFolder("brennix-recorder");
    std::ofstream(folder / "B.000") << "second";
    std::ofstream(folder / "A.000") << "first";
    std::ofstream(folder / "MUCH_TOO_LONG.000") << "left out";
    std::filesystem::create_directory(folder / "SUB");
    // 2006-05-17 13:45:09 local time
    std::tm local{};
    std::istringstream("2006-05-17 13:45:09") >> std::get_time(&local, "%Y-%m-%d %H:%M:%S");
    local.tm_isdst = -1;
    std::filesystem::last_write_time(
        folder / "A.000", std::chrono::file_clock::from_sys(
                              std::chrono::system_clock::from_time_t(std::mktime(&local))));

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
