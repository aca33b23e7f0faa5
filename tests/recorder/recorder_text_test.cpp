// What the recorder shows and how a download names and counts its files.
#include <gtest/gtest.h>

#include <string>

#include "instrument/instrument_codes.h"
#include "instrument/recorder_listing.h"
#include "recorder/display_text.h"
#include "recorder/download_naming.h"
#include "recorder/download_progress.h"

namespace brennix::test {
namespace {

TEST(RecorderListing, FreeBytesNeverUnderflow) {
    EXPECT_EQ((RecorderListing{{}, 4000, 1000}.FreeBytes()), 0u);
    EXPECT_EQ((RecorderListing{{}, 1000, 4000}.FreeBytes()), 3000u);
}

TEST(FormatSize, SwitchesUnitAtEachPowerOf1024) {
    using Size = std::pair<int64_t, const char*>;
    for (const auto& [bytes, text] :
         {Size{0, "0 b"}, Size{-5, "-5 b"}, Size{1023, "1023 b"}, Size{1024, " 1.0 kB"},
          Size{1536, " 1.5 kB"}, Size{1048575, "1024.0 kB"}, Size{1048576, "1.00 MB"},
          Size{1073741823, "1024.00 MB"}, Size{1073741824, "1.00 GB"},
          Size{int64_t{5} << 40, "5120.00 GB"}}) {
        EXPECT_EQ(FormatSize(bytes), text) << bytes;
    }
}

TEST(FormatDuration, CountsWholeSecondsAndLetsHoursGrow) {
    using Duration = std::pair<uint64_t, const char*>;
    for (const auto& [ms, text] :
         {Duration{0, "00:00:00"}, Duration{999, "00:00:00"}, Duration{3723004, "01:02:03"},
          Duration{86399999, "23:59:59"}, Duration{uint64_t{100} * 3600000, "100:00:00"}}) {
        EXPECT_EQ(FormatDuration(ms), text) << ms;
    }
}

TEST(DownloadProgress, MovesInThreeHundredStepsAndEstimatesFromThePaceSoFar) {
    DownloadProgress progress(3000, 0xFFFFFF00u);  // the tick wraps during the download
    EXPECT_EQ(progress.TimeLeftMs(0xFFFFFF00u), 0u);
    progress.Count(9);
    EXPECT_FALSE(progress.TakeMove());  // 0.9 of a step
    progress.Count(1);
    EXPECT_TRUE(progress.TakeMove());
    EXPECT_EQ(progress.Position(), 1);
    EXPECT_FALSE(progress.TakeMove());
    progress.Count(990);  // a third in 1000 ms: two thirds left
    EXPECT_EQ(progress.Position(), 100);
    EXPECT_EQ(progress.TimeLeftMs(0xFFFFFF00u + 1000), 2000u);
}

TEST(DownloadProgress, NoTotalOrMoreThanTheTotalKeepsTheBarFullAndNothingLeft) {
    DownloadProgress empty(0, 0);
    EXPECT_EQ(empty.Position(), DownloadProgress::kSteps);
    empty.Count(1024);
    EXPECT_EQ(empty.Position(), DownloadProgress::kSteps);
    EXPECT_EQ(empty.TimeLeftMs(500), 0u);

    DownloadProgress over(100, 0);
    over.Count(250);
    EXPECT_EQ(over.Position(), DownloadProgress::kSteps);
    EXPECT_EQ(over.TimeLeftMs(500), 0u);
}

// The models' own extensions: ModelExtensionTest.
TEST(DownloadNaming, CodesThatAreNoModelHaveNoExtension) {
    for (const int code : {int{kFailToWakeUp}, int{kNoResponce}, int{kSystemIsInSDI12Mode}, 9}) {
        EXPECT_EQ(DownloadExtension(code), nullptr) << code;
    }
}

TEST(DownloadNaming, OnlyPlainNamesAreUsedAsFileNames) {
    for (const char* usable : {"DEP1.000", "A..B", ".HIDDEN", "x", "NAME WITH.SP"}) {
        EXPECT_TRUE(IsUsableFileName(usable)) << usable;
    }
    for (const std::string& unusable :
         {std::string(""), std::string("."), std::string(".."), std::string("../EVIL"),
          std::string("A/B"), std::string("C\\D"), std::string("C:X"), std::string("X\x01Y"),
          std::string("TAB\t"), std::string("DEL\x7F"), std::string("\xC9T\xC9.000")}) {
        EXPECT_FALSE(IsUsableFileName(unusable)) << PrintableName(unusable);
    }
    EXPECT_EQ(PrintableName(std::string("A\x01/\xFF", 4)), "A\\x01/\\xFF");
}

}  // namespace
}  // namespace brennix::test
