// The Deploy page's rules: cell limits in single precision, the averaging interval where the
// instrument needs it, the file name, and values that must never reach a command.
#include "setup/deploy_rules.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <tuple>

#include "record_builder.h"
#include "setup/page_content.h"

namespace brennix::test {
namespace {

constexpr uint8_t kJq3MHz = 0x20;
constexpr uint8_t kJq1500kHz = 0x21;
constexpr uint8_t kWx1500kHz = 0x41;

struct RuleCase {
    const char* name;
    uint8_t systemCode;
    UnitSystem units;
    SetupControl control;
    const char* typed;
    const char* message;  // "" when the page passes
    SetupControl focus = SetupControl::kCellBegin;
};

using enum SetupControl;
constexpr UnitSystem kMetric = UnitSystem::kMetric;
constexpr UnitSystem kEnglish = UnitSystem::kEnglish;

TEST(DeployPageRules, PassOrNameTheProblemAndTheControl) {
    for (const RuleCase& c :
         {// The lower limit is widened by 1 cm...
          RuleCase{"Begin0195Passes", kJq3MHz, kMetric, kCellBegin, "0.195", ""},
          RuleCase{"Begin018Fails", kJq3MHz, kMetric, kCellBegin, "0.18",
                   "Cell Begin must be between  0.20 to  5.80 m.", kCellBegin},
          // ...but 0.19 is held as 0.18999999761 and the limit as 0.20000000298 - 0.01.
          RuleCase{"Begin019FailsInSinglePrecision", kJq3MHz, kMetric, kCellBegin, "0.19",
                   "Cell Begin must be between  0.20 to  5.80 m.", kCellBegin},
          RuleCase{"SpanTooShortAt3MHz", kJq3MHz, kMetric, kCellEnd, "1.1",
                   "Cell End must be  0.20 m more than Cell Begin.", kCellEnd},
          RuleCase{"SpanTooShortAt1500kHz", kJq1500kHz, kMetric, kCellEnd, "1.4",
                   "Cell End must be  0.50 m more than Cell Begin.", kCellEnd},
          RuleCase{"Begin19PassesItsRangeNotTheSpan", kJq1500kHz, kMetric, kCellBegin, "19.0",
                   "Cell End must be  0.50 m more than Cell Begin.", kCellEnd},
          RuleCase{"EnglishLimitsInFeet", kJq3MHz, kEnglish, kCellBegin, "0.5",
                   "Cell Begin must be between  0.66 to 19.03 ft.", kCellBegin},
          RuleCase{"EnglishSpanInFeet", kJq1500kHz, kEnglish, kCellEnd, "4.0",
                   "Cell End must be  1.64 ft more than Cell Begin.", kCellEnd},
          RuleCase{"OtherSystemTypesAreNotChecked", kWx1500kHz, kMetric, kCellBegin, "99", ""},
          RuleCase{"CellThatIsNoNumber", kJq3MHz, kMetric, kCellBegin, "1.0m",
                   "Cell Begin must be a number.", kCellBegin},
          RuleCase{"BlankFileName", kWx1500kHz, kMetric, kFileName, "   ",
                   "The file name must not be left blank.", kFileName},
          RuleCase{"IntervalWithTrailingText", kWx1500kHz, kMetric, kSamplingInterval, "60abc",
                   "The sampling interval must be a whole number.", kSamplingInterval},
          RuleCase{"NoSampling", kWx1500kHz, kMetric, kSamplingInterval, "0",
                   "The sampling interval must be at least 1 second.", kSamplingInterval},
          RuleCase{"NoAveraging", kWx1500kHz, kMetric, kAveragingInterval, "0",
                   "The averaging interval must be at least 1 second.", kAveragingInterval}}) {
        SCOPED_TRACE(c.name);
        const SetupRecord record = RecordBuilder()
                                       .Conf(25, c.systemCode)
                                       .User(25, 60)    // averaging 60 s
                                       .User(29, 60)    // sampling 60 s
                                       .User(248, 100)  // cell begin 1.00 m
                                       .User(250, 200)  // cell end 2.00 m
                                       .User(49, 'D')
                                       .Build();
        const ControlValues shown = LoadDeployPage(record, c.units);
        ControlValues typed = shown;
        typed[c.control] = c.typed;
        const std::optional<Refusal> refusal = ValidateDeployPage(typed, shown, record, c.units);
        if (std::string(c.message).empty()) {
            EXPECT_FALSE(refusal) << refusal->message;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(refusal->control, c.focus);
        EXPECT_EQ(refusal->source, Refusal::Source::kPageRule);
    }
}

TEST(DeployPageRules, AveragingIntervalIsCheckedOnlyWhereTheInstrumentNeedsIt) {
    struct Case {
        RecordBuilder record;
        bool checked;
    };
    for (const Case& c : {Case{RecordBuilder().Conf(25, kWx1500kHz), false},
                          Case{RecordBuilder().Conf(25, kWx1500kHz).Conf(90, 1), true},
                          Case{RecordBuilder().Conf(25, kJq1500kHz).Conf(92, 1), true},
                          Case{RecordBuilder().Conf(25, 0x11).Conf(92, 1), false}}) {
        RecordBuilder builder = c.record;
        const SetupRecord record =
            builder.User(29, 60).User(49, 'D').User(248, 100).User(250, 250).Build();
        const ControlValues shown = LoadDeployPage(record, kMetric);
        for (const auto& [typed, inRange] :
             {std::pair{"9", false}, {"10", true}, {"3600", true}, {"3601", false}}) {
            ControlValues values = shown;
            values[kAveragingInterval] = typed;
            const std::optional<Refusal> refusal =
                ValidateDeployPage(values, shown, record, kMetric);
            EXPECT_EQ(refusal.has_value(), c.checked && !inRange) << typed;
            if (refusal) {
                EXPECT_EQ(refusal->message,
                          "The averaging interval should be between 10 and 3600 seconds");
                EXPECT_EQ(refusal->control, kAveragingInterval);
                EXPECT_TRUE(refusal->selectText);
            }
        }
    }
}

// A start a second before now is refused, now itself passes; a start no calendar has (what an
// instrument never set up holds) is said to be not set.
TEST(DeployPageRules, AStartThatIsNotSetOrHasPassedIsRefused) {
    std::tm noon{};
    noon.tm_year = 2026 - 1900;
    noon.tm_mon = 4;
    noon.tm_mday = 17;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const std::time_t now = std::mktime(&noon);
    const std::string passed = "The start date and time must not be in the past.";
    const std::string unset = "The start date is not set: the instrument holds ";
    for (const auto& [date, time, refusal] : {std::tuple{"2026/05/17", "11:59:59", passed},
                                              {"2025/12/31", "23:00:00", passed},
                                              {"2026/05/17", "12:00:00", std::string()},
                                              {"2026/5/18", "0:00:00", std::string()},
                                              {"0000/00/00", "00:00:00", unset},
                                              {"2026/02/30", "08:00:00", unset},
                                              {"2026/05/18", "24:00:00", unset},
                                              {"17.05.2026", "11:00:00", unset}}) {
        SCOPED_TRACE(std::string(date) + " " + time);
        const std::optional<Refusal> refused = CheckStart(date, time, now);
        ASSERT_EQ(refused.has_value(), !refusal.empty());
        if (refused) {
            EXPECT_TRUE(refused->message.starts_with(refusal)) << refused->message;
            EXPECT_EQ(refused->control, kStartDate);
        }
    }
    EXPECT_EQ(CheckStart("0000/00/00", "00:00:00", now)->message,
              "The start date is not set: the instrument holds 0000/00/00 , 00:00:00.\nChoose "
              "when the deployment starts before deploying.");
}

}  // namespace
}  // namespace brennix::test
