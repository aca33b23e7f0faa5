// Each step turns what a control holds into the command sent and the value stored, and leaves
// alone what the technician did not touch.
#include "setup/setting_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "record_builder.h"
#include "setup/control_table.h"
#include "setup/page_content.h"

namespace brennix::test {
namespace {

struct StepCase {
    const char* name;
    UnitSystem units;
    SetupControl control;
    const char* typed;
    const char* command;  // "" when nothing is sent
    int64_t stored;       // what the record field holds once the instrument accepted
};

// Cell begin 50 cm, cell end 500 cm, 20.0 deg C, 35.0 ppt, depth 10 m, coordinates XYZ, SDI-12
// output Ostrel with English units, compass fitted.
SetupRecord Record() {
    return RecordBuilder()
        .Conf(31, 1)
        .User(248, {50, 0, 0xF4, 0x01})
        .User(12, {200, 0, 0x5E, 0x01})
        .User(256, {0xE8, 0x03})
        .User(43, 1)
        .Build();
}

ControlValues Shown(SetupRecord& record, UnitSystem units) {
    ControlValues shown = LoadDeployPage(record, units);
    shown.merge(LoadAdvancedPage(record, units));
    shown.merge(LoadSdi12Dialog(record));
    return shown;
}

using enum SetupControl;
constexpr UnitSystem kMetric = UnitSystem::kMetric;
constexpr UnitSystem kEnglish = UnitSystem::kEnglish;

// What the step makes of text typed into a control.
std::variant<Refusal, StepPlan> Plan(SetupRecord& record, SetupControl control, const char* typed,
                                     UnitSystem units = kMetric) {
    return PlanStep(SpecOf(control), typed, Shown(record, units).at(control), record, units,
                    ControlChoices(control, record));
}

TEST(SettingStepPlan, SendsWhatChangedAndStoresItInTheRecordsUnits) {
    for (const StepCase& c :
         {// In feet the shown 1.64 would come back as 49 cm: untouched, it is not sent at all.
          StepCase{"UntouchedFeetAreNotResent", kEnglish, kCellBegin, "1.64", "", 50},
          StepCase{"UntouchedFahrenheitIsNotResent", kEnglish, kTemperature, "68.00", "", 200},
          // The record keeps what was sent, rounded to the centimetre as the command is.
          StepCase{"FeetStoredAsSent", kEnglish, kCellBegin, "3.28", "CB 1.00", 100},
          StepCase{"CentimetresStoredAsSent", kMetric, kCellBegin, "0.29", "CB 0.29", 29},
          StepCase{"RetypedSameValueIsNotSent", kMetric, kCellBegin, "0.5", "", 50},
          StepCase{"HalfAMetre", kMetric, kCellEnd, "0.5", "CE 0.50", 50},
          StepCase{"Salinity", kMetric, kSalinity, "35.5", "Sal 35.50", 355},
          StepCase{"SalinityIsNeverConverted", kEnglish, kSalinity, "30", "Sal 30.00", 300},
          StepCase{"TemperatureTruncated", kMetric, kTemperature, "15.05", "Temp 15.05", 150},
          StepCase{"TemperatureFromFahrenheit", kEnglish, kTemperature, "50", "Temp 10.00", 100},
          StepCase{"WaterDepthFromFeet", kEnglish, kWaterDepth, "41.01", "WD 12.50", 1250},
          StepCase{"NegativeTemperatureTruncated", kMetric, kTemperature, "-1.55", "Temp -1.55",
                   -15},
          StepCase{"Interval", kMetric, kSamplingInterval, " 60 ", "SI 60", 60},
          StepCase{"ListEntryText", kMetric, kCoordSystem, "ENU", "CoordSystem ENU", 2},
          StepCase{"ListEntryBackToTheRecord", kMetric, kCoordSystem, "XYZ", "", 1},
          StepCase{"Sdi12AddressZeroIsNotSent", kMetric, kSdi12Address, "00", "", 0},
          StepCase{"Sdi12Address", kMetric, kSdi12Address, "3", "Sdi12Address 3", 0},
          StepCase{"Sdi12Format", kMetric, kSdi12Format, "Tandrel", "sdi12format Tandrel", 1},
          // The record keeps the units taken, for the dialog's next opening.
          StepCase{"Sdi12Units", kMetric, kSdi12Units, "Metric", "of Metric", 1}}) {
        SCOPED_TRACE(c.name);
        SetupRecord record = Record();
        const ControlSpec& spec = SpecOf(c.control);
        const auto planned = Plan(record, c.control, c.typed, c.units);
        ASSERT_TRUE(std::holds_alternative<StepPlan>(planned))
            << std::get<Refusal>(planned).message;
        const StepPlan& plan = std::get<StepPlan>(planned);
        EXPECT_EQ(plan.write ? plan.command : "", c.command);
        if (plan.write && plan.store) {
            plan.store(record);
        }
        if (spec.step.field.read) {
            EXPECT_EQ(spec.step.field.read(record), c.stored);
        }
    }
}

TEST(SettingStepPlan, DateTimeAndNameGoOutInTheirFormats) {
    SetupRecord record = Record();
    struct Case {
        SetupControl control;
        const char* typed;
        const char* command;
    };
    for (const Case& c :
         {Case{kStartDate, "2026/5/7", "SD 2026/05/07"}, Case{kStartTime, "8:05:09", "ST 08:05:09"},
          Case{kFileName, "RIVER1", "Deployment RIVER1"}}) {
        const auto planned = Plan(record, c.control, c.typed);
        ASSERT_TRUE(std::holds_alternative<StepPlan>(planned)) << c.typed;
        const StepPlan& plan = std::get<StepPlan>(planned);
        EXPECT_TRUE(plan.write);
        EXPECT_EQ(plan.command, c.command);
        plan.store(record);
    }
    EXPECT_EQ(record.User().GetStartDate(), (StartDate{2026, 5, 7}));
    EXPECT_EQ(record.User().GetStartTime(), (StartTime{8, 5, 9}));
    EXPECT_EQ(record.User().DeploymentName(), "RIVER1");
}

// The calendar's and the clock's edges: month lengths, the leap years of the Gregorian rule,
// the last second of a day.
TEST(SettingStepPlan, AStartIsADayOfTheCalendarAndATimeOfDay) {
    SetupRecord record = Record();
    for (const char* day :
         {"2024/02/29", "2028/02/29", "2000/02/29", "2026/01/31", "2026/08/31", "2026/12/31"}) {
        EXPECT_TRUE(std::holds_alternative<StepPlan>(Plan(record, kStartDate, day))) << day;
    }
    for (const char* day : {"2026/02/29", "2026/02/30", "2100/02/29", "2026/04/31", "2026/01/32",
                            "2026/00/10", "2026/05/00"}) {
        EXPECT_TRUE(std::holds_alternative<Refusal>(Plan(record, kStartDate, day))) << day;
    }
    EXPECT_TRUE(std::holds_alternative<StepPlan>(Plan(record, kStartTime, "23:59:59")));
}

TEST(SettingStepPlan, GarbageNeverBecomesACommand) {
    SetupRecord record = Record();
    struct Case {
        SetupControl control;
        const char* message;
        std::vector<const char*> typed;
    };
    for (const Case& c : {
             Case{kCellBegin, "Cell Begin must be a number.", {"", "nan", "0x10"}},
             Case{kCellBegin, "Cell Begin is out of range.", {"400"}},
             Case{kTemperature, "Def Water Temp is out of range.", {"1e30"}},
             Case{kSamplingInterval,
                  "The sampling interval must be a whole number.",
                  {"6O", "60.5"}},
             Case{kSamplingInterval,
                  "The sampling interval must be from 1 to 2147483647 seconds.",
                  {"99999999999", "-3000000000"}},
             Case{kCoordSystem, "The coordinate system must be one of: Beam, XYZ, ENU.", {"Polar"}},
             Case{kSdi12Address, "The SDI-12 address must be a whole number.", {"three"}},
             Case{kSdi12Address, "The SDI-12 address must be one digit, 0 to 9.", {"99"}},
             Case{kStartDate,
                  "The start date must be a date (YYYY/MM/DD).",
                  {"2026/13/01", "2026/05/17x"}},
             Case{kStartTime,
                  "The start time must be a time of day (HH:MM:SS).",
                  {"12:60:00", "24:00:00"}},
             Case{kFileName,
                  "The file name must not contain %, #, / or characters other than plain letters, "
                  "digits and punctuation.",
                  {"TAB\tNAME", "A%B"}},
         }) {
        for (const char* typed : c.typed) {
            const auto planned = Plan(record, c.control, typed);
            ASSERT_TRUE(std::holds_alternative<Refusal>(planned)) << typed;
            EXPECT_EQ(std::get<Refusal>(planned).message, c.message);
            EXPECT_EQ(std::get<Refusal>(planned).control, c.control);
        }
    }
}

}  // namespace
}  // namespace brennix::test
