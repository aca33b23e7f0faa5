// The console finds the unit system the desktop program saved, and never trips over the file.
#include "cli/saved_unit_system.h"

#include <gtest/gtest.h>

#include <string>

#include "cli/setup_listing.h"

namespace brennix::cli {
namespace {

struct TextCase {
    const char* name;
    const char* text;
    UnitSystem units;
};

class SavedUnitSystemText : public testing::TestWithParam<TextCase> {};

TEST_P(SavedUnitSystemText, IsReadAsTheDesktopReadsIt) {
    EXPECT_EQ(UnitSystemFromSettingsText(GetParam().text), GetParam().units);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SavedUnitSystemText,
    testing::Values(TextCase{"Metric", "[Settings]\nUnitSystem=0\n", UnitSystem::kMetric},
                    TextCase{"English", "[Settings]\nUnitSystem=1\n", UnitSystem::kEnglish},
                    TextCase{"EmptyFileIsEnglish", "", UnitSystem::kEnglish},
                    TextCase{"MissingKeyIsEnglish", "[Settings]\nOther=0\n", UnitSystem::kEnglish},
                    TextCase{"OtherGroupsKeyIsNotTaken", "[Terminal]\nUnitSystem=0\n[Settings]\n",
                             UnitSystem::kEnglish},
                    TextCase{"WindowsLineEndsBlanksAndQuotes",
                             "; saved by Brennix\r\n[Settings]\r\n  UnitSystem = \"0\" \r\n",
                             UnitSystem::kMetric},
                    TextCase{"ValueThatIsNoNumberIsEnglish", "[Settings]\nUnitSystem=feet\n",
                             UnitSystem::kEnglish},
                    // As the desktop program: anything but 1 counts as metric.
                    TextCase{"OtherNumbersAreMetric", "[Settings]\nUnitSystem=2\n",
                             UnitSystem::kMetric},
                    TextCase{"NoLineEndAtTheEnd", "[Settings]\nUnitSystem=0", UnitSystem::kMetric}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SavedUnitSystem, FileLivesUnderXdgConfigHomeOrHome) {
    EXPECT_EQ(SettingsFilePath("/x/cfg", "/home/t"), "/x/cfg/Ostrel/Brennix.conf");
    EXPECT_EQ(SettingsFilePath("", "/home/t"), "/home/t/.config/Ostrel/Brennix.conf");
    EXPECT_EQ(SettingsFilePath(nullptr, nullptr), "");
}

TEST(SetupListing, JsonEscapesAndCarriesEightBitTextAsUtf8) {
    SetupListing listing{"Metric",
                         {{"Deploy", {{"File name", "A\"B\\\x01\xE9"}}}, {"Options", {}}},
                         "0.0 days of operation remaining"};
    EXPECT_EQ(ListingJson(listing),
              "{\"units\": \"Metric\", \"Deploy\": {\"File name\": \"A\\\"B\\\\\\u0001\xC3\xA9\", "
              "\"days\": \"0.0 days of operation remaining\"}, \"Options\": {}}\n");
    EXPECT_EQ(ListingText(listing),
              "[Deploy]\nFile name: A\"B\\\x01\xE9\n0.0 days of operation remaining\n[Options]\n");
}

}  // namespace
}  // namespace brennix::cli
