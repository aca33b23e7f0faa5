#include "platform/calendar_time.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "support/time_zone.h"

namespace brennix {
namespace {

// Rules written out as POSIX TZ strings, so the test needs no zone database.
class CalendarTimeTest : public testing::Test {
  protected:
    void TearDown() override { InZone(saved_ ? saved_->c_str() : nullptr); }

    static void InZone(const char* zone) { testing_support::UseTimeZone(zone); }

  private:
    std::optional<std::string> saved_ =
        std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

constexpr std::time_t kNewYear2026 = 1767225600;    // 2026-01-01 00:00:00 UTC
constexpr std::time_t kMidsummer2026 = 1782043200;  // 2026-06-21 12:00:00 UTC

TEST_F(CalendarTimeTest, OffsetIsWorkedOutEastWestAndAcrossSummerTime) {
    InZone("IST-5:30");
    EXPECT_EQ(UtcOffsetSeconds(kNewYear2026), 5 * 3600 + 30 * 60);
    EXPECT_EQ(LocalCalendarTime(kNewYear2026).tm_hour, 5);
    InZone("NST3:30");
    EXPECT_EQ(UtcOffsetSeconds(kNewYear2026), -(3 * 3600 + 30 * 60));
    // The day before in local time: the offset must not come out a day wrong.
    EXPECT_EQ(LocalCalendarTime(kNewYear2026).tm_mday, 31);
    InZone("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(UtcOffsetSeconds(kNewYear2026), 3600);
    EXPECT_EQ(UtcOffsetSeconds(kMidsummer2026), 7200);
    EXPECT_EQ(UtcCalendarTime(kMidsummer2026).tm_hour, 12);
}

}  // namespace
}  // namespace brennix
