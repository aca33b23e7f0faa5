#include "platform/registry_settings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace brennix {
namespace {

// A key of the run's own below HKEY_CURRENT_USER (the suite runs in a wine prefix of its own).
std::string FreshKey() {
    return "Software\\Ostrel\\BrennixTest" + std::to_string(std::random_device()());
}

constexpr IntSetting kRate{"Recorder/DownoadRate", 57600};
constexpr TextSetting kPort{"Connect settings/Port", "COM1:"};

// Laid out as Qt's store lays it out on Windows, so that both programs read the same values:
// "Section/Name" is the value Name of the subkey Section.
TEST(RegistrySettings, KeepsEachSettingAsAValueOfItsSectionsSubkey) {
    const std::string key = FreshKey();
    RegistrySettings store(key);
    EXPECT_FALSE(store.Contains(kRate.key));
    EXPECT_EQ(store.Read(kRate), 57600);
    EXPECT_EQ(store.Read(kPort), "COM1:");

    store.Write(kRate, 115200);
    store.Write(kPort, "COM12");
    RegistrySettings again(key);
    EXPECT_TRUE(again.Contains(kRate.key));
    EXPECT_EQ(again.Read(kRate), 115200);
    EXPECT_EQ(again.Read(kPort), "COM12");

    RegistrySettings section(key + "\\Connect settings");
    EXPECT_EQ(section.Read(TextSetting{"Port", ""}), "COM12");
}

// An earlier program may have kept a number as text; text that is no number reads as the default.
TEST(RegistrySettings, ReadsANumberKeptAsText) {
    RegistrySettings store(FreshKey());
    store.Write(TextSetting{kRate.key, ""}, "19200");
    EXPECT_EQ(store.Read(kRate), 19200);
    store.Write(TextSetting{kRate.key, ""}, "fast");
    EXPECT_EQ(store.Read(kRate), 57600);
    store.Write(kRate, 9600);
    EXPECT_EQ(store.Read(TextSetting{kRate.key, ""}), "9600");
}

}  // namespace
}  // namespace brennix
