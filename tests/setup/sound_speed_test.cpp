// Medwin's equation with the page's precision, in both unit systems.
#include "setup/sound_speed.h"

#include <gtest/gtest.h>

namespace brennix::test {
namespace {

TEST(SoundSpeed, MatchesMedwinWithThePagesFormatInBothUnitSystems) {
    struct Case {
        const char* salinity;
        const char* temperature;
        UnitSystem units;
        const char* shown;
    };
    for (const Case& c : {Case{"35", "10", UnitSystem::kMetric, "1489.99"},
                          Case{"35", "50", UnitSystem::kEnglish, "4888.42"},
                          Case{"0", "0", UnitSystem::kMetric, "1402.30"},
                          Case{"35.00", "20.00", UnitSystem::kMetric, "1521.52"},
                          // (1.34 - 0.01 T)(S - 35) with neither factor vanishing.
                          Case{"30", "10", UnitSystem::kMetric, "1483.79"}}) {
        EXPECT_EQ(SoundSpeedText(c.salinity, c.temperature, c.units), c.shown)
            << c.salinity << " ppt, " << c.temperature;
    }
    EXPECT_FLOAT_EQ(SoundSpeed(35.0f, 10.0f, 100.0f), SoundSpeed(35.0f, 10.0f, 0.0f) + 1.6f);
}

TEST(SoundSpeed, ShowsNothingForTextThatIsNoNumber) {
    EXPECT_EQ(SoundSpeedText("35", "", UnitSystem::kMetric), "");
    EXPECT_EQ(SoundSpeedText("thirty", "10", UnitSystem::kMetric), "");
    EXPECT_EQ(SoundSpeedText("35", "1e999", UnitSystem::kMetric), "");
}

}  // namespace
}  // namespace brennix::test
