// What the pages show for a record: hardware texts, option flags, the loads in both unit systems
// and the lists an instrument offers.
#include "setup/page_content.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "record_builder.h"
#include "setup/setup_sheet.h"
#include "setup/setup_texts.h"

namespace brennix::test {
namespace {

std::string Row(const std::vector<InfoRow>& rows, const std::string& label) {
    for (const InfoRow& row : rows) {
        if (row.label == label) {
            return row.text;
        }
    }
    return "<no row " + label + ">";
}

struct HardwareCase {
    const char* name;
    RecordBuilder record;
    const char* label;
    const char* shown;
};

TEST(HardwarePage, ShowsTheConfBlockAsThePageDoes) {
    for (const HardwareCase& c :
         {HardwareCase{"Code0x51IsLmr", RecordBuilder().Conf(25, 0x51), "System Type:", "LMR"},
          HardwareCase{"Code0x51Is1500kHz", RecordBuilder().Conf(25, 0x51),
                       "System Frequency:", "1.5 MHz"},
          HardwareCase{"TypeAboveFiveHasNoName", RecordBuilder().Conf(25, 0x71),
                       "System Type:", "Unknown (7)"},
          // 0x91 is -111: C division gives type -6 and frequency -15.
          HardwareCase{"NegativeCodeHasNoName", RecordBuilder().Conf(25, 0x91),
                       "System Frequency:", "Unknown (-15)"},
          HardwareCase{"CpuVersionRightAligned", RecordBuilder().Conf(12, 38),
                       "CPU Software Version:", "MRV   3.8"},
          HardwareCase{"NegativeSlantIsWider", RecordBuilder().Conf(28, 0x38).Conf(29, 0xFF),
                       "Slant Angle (deg):", "-20.0"},
          HardwareCase{"FlagOtherThanZeroOrOne", RecordBuilder().Conf(92, 2),
                       "Vertical Beam:", "Unknown (2)"},
          HardwareCase{"Orientation", RecordBuilder().Conf(30, 2), "Sensor Orientation:", "SIDE"},
          HardwareCase{"BeamGeometry", RecordBuilder().Conf(27, 2),
                       "Beam Geometry:", "4_BEAMS_ONE_VERTICAL"}}) {
        EXPECT_EQ(Row(HardwareRows(c.record.Build()), c.label), c.shown) << c.name;
    }
}

// Each sensor has a byte of its own: with one set, only its row says YES.
TEST(OptionsPage, EachSensorIsReadFromItsOwnByte) {
    using Sensor = std::pair<size_t, std::string>;
    const std::vector<Sensor> sensors = {Sensor{31, "Compass:"}, Sensor{32, "Recorder:"},
                                         Sensor{33, "Temperature Sensor:"},
                                         Sensor{34, "Pressure Sensor:"}, Sensor{35, "CTD Sensor:"}};
    for (const auto& [offset, label] : sensors) {
        SetupRecord record = RecordBuilder().Conf(12, 60).Conf(offset, 1).Build();
        const std::vector<InfoRow> rows = LoadOptionsPage(record);
        for (const auto& [other, otherLabel] : sensors) {
            EXPECT_EQ(Row(rows, otherLabel), other == offset ? "YES" : "NO") << label;
        }
    }
}

TEST(OptionsPage, FirmwareBefore54ClearsTheLateSensorsForTheWholeSheet) {
    for (const auto& [cpu, shown] : {std::pair{53, "NO"}, {54, "YES"}}) {
        SetupRecord record =
            RecordBuilder().Conf(12, static_cast<uint8_t>(cpu)).Conf(89, 1).Conf(90, 1).Build();
        const std::vector<InfoRow> rows = LoadOptionsPage(record);
        EXPECT_EQ(Row(rows, "YSI Sensor:"), shown) << cpu;
        EXPECT_EQ(Row(rows, "Ext. Press. Sensor:"), shown) << cpu;
        EXPECT_EQ(record.Conf().YsiSensorInstalled() != 0, std::string(shown) == "YES") << cpu;
        EXPECT_EQ(record.Conf().ExternalPressureSensorInstalled() != 0,
                  std::string(shown) == "YES");
    }
}

TEST(OptionsPage, ShowsBitZeroOfTheOptionBytes) {
    for (const auto& [waves, shown] : {std::pair{2, "NO"}, {3, "YES"}}) {
        SetupRecord record = RecordBuilder()
                                 .Conf(12, 60)
                                 .User(255, static_cast<uint8_t>(waves))
                                 .Conf(93, static_cast<uint8_t>(waves))
                                 .Build();
        const std::vector<InfoRow> rows = LoadOptionsPage(record);
        EXPECT_EQ(Row(rows, "Wave Option:"), shown);
        EXPECT_EQ(Row(rows, "SDI-12:"), shown);
    }
}

TEST(PageLoads, ConvertForDisplayInEnglishUnits) {
    // Cell begin 50 cm, cell end 500 cm, 15.0 deg C, 35.0 ppt, water depth 1000 cm.
    SetupRecord record = RecordBuilder()
                             .User(248, {50, 0, 0xF4, 0x01})
                             .User(12, {150, 0, 0x5E, 0x01})
                             .User(256, {0xE8, 0x03})
                             .Build();
    const ControlValues metric = LoadDeployPage(record, UnitSystem::kMetric);
    EXPECT_EQ(metric.at(SetupControl::kCellBegin), "0.50");
    EXPECT_EQ(metric.at(SetupControl::kCellEnd), "5.00");
    const ControlValues english = LoadDeployPage(record, UnitSystem::kEnglish);
    EXPECT_EQ(english.at(SetupControl::kCellBegin), "1.64");
    EXPECT_EQ(english.at(SetupControl::kCellEnd), "16.40");

    const ControlValues advanced = LoadAdvancedPage(record, UnitSystem::kEnglish);
    EXPECT_EQ(advanced.at(SetupControl::kTemperature), "59.00");
    EXPECT_EQ(advanced.at(SetupControl::kSalinity), "35.00");
    EXPECT_EQ(advanced.at(SetupControl::kWaterDepth), "32.81");
    EXPECT_EQ(ControlLabel(SetupControl::kWaterDepth, UnitSystem::kEnglish), "Water depth (ft):");
    EXPECT_EQ(ControlLabel(SetupControl::kCellBegin, UnitSystem::kMetric), "Cell begin (m):");
}

TEST(PageLoads, StartOnShowsThePickersFormat) {
    // 2026, day 7, month 3, 09:05, hundredths 0, 1 s.
    SetupRecord record = RecordBuilder().User(58, {0xEA, 0x07, 7, 3, 5, 9, 0, 1}).Build();
    const ControlValues values = LoadDeployPage(record, UnitSystem::kMetric);
    EXPECT_EQ(StartOnText(values.at(SetupControl::kStartDate), values.at(SetupControl::kStartTime)),
              "2026/03/07 , 09:05:01");
}

TEST(PageLoads, AWaveOptionByteOfThreeShowsYesAndHoldsOneAfterTheAdvancedPage) {
    SetupRecord record = RecordBuilder().User(255, 3).Build();
    EXPECT_EQ(LoadAdvancedPage(record, UnitSystem::kMetric).at(SetupControl::kWaveSpectra), "YES");
    EXPECT_EQ(record.User().WaveOptions(), 1);
}

TEST(PageLoads, CodesWithoutAListEntryShowNoSelection) {
    // ENU on an instrument without compass, a data format of 7, a temperature mode of -1.
    SetupRecord record = RecordBuilder().User(43, 2).User(254, 7).User(24, 0xFF).Build();
    const ControlValues values = LoadAdvancedPage(record, UnitSystem::kMetric);
    EXPECT_EQ(values.at(SetupControl::kCoordSystem), "");
    EXPECT_EQ(values.at(SetupControl::kDataFormat), "");
    EXPECT_EQ(values.at(SetupControl::kTempMode), "");
}

TEST(PageLoads, DynamicBoundaryAdjustmentIsByte247OfTheUserBlock) {
    SetupRecord record = RecordBuilder().User(247, 1).Build();
    EXPECT_EQ(LoadAdvancedPage(record, UnitSystem::kMetric).at(SetupControl::kDynBoundAdj), "YES");
}

TEST(PageChoices, FollowTheInstrumentsOptions) {
    using Entries = std::vector<std::string_view>;
    const SetupRecord bare = RecordBuilder().Build();
    EXPECT_EQ(ControlChoices(SetupControl::kCoordSystem, bare), (Entries{"Beam", "XYZ"}));
    EXPECT_EQ(ControlChoices(SetupControl::kMode, bare), (Entries{"Standard"}));
    const SetupRecord fitted = RecordBuilder().Conf(31, 1).Conf(93, 2).Build();
    EXPECT_EQ(ControlChoices(SetupControl::kCoordSystem, fitted), (Entries{"Beam", "XYZ", "ENU"}));
    // The Deploy page offers SDI-12 for any non-zero option byte, not only bit 0.
    EXPECT_EQ(ControlChoices(SetupControl::kMode, fitted), (Entries{"Standard", "SDI-12"}));
}

TEST(PageLoads, Sdi12DialogStartsAtAddressZeroAndTheRecordsFormats) {
    for (const auto& [outputFormat, units] : {std::pair{3, "Metric"}, {2, "English"}}) {
        const SetupRecord record =
            RecordBuilder().User(45, static_cast<uint8_t>(outputFormat)).Oper(56, 1).Build();
        const ControlValues values = LoadSdi12Dialog(record);
        EXPECT_EQ(values.at(SetupControl::kSdi12Address), "0");
        EXPECT_EQ(values.at(SetupControl::kSdi12Format), "Tandrel");
        EXPECT_EQ(values.at(SetupControl::kSdi12Units), units);
    }
}

// A greyed control names itself in the page's units and says why; one that takes input says
// nothing.
TEST(LockedControls, SayWhyTheyAreGreyed) {
    const SetupSheet qz(RecordBuilder().Conf(25, 0x00).Build(), UnitSystem::kEnglish);
    EXPECT_EQ(LockedText(qz, SetupControl::kCellEnd),
              "Cell end (ft) cannot be changed: the instrument takes no cell positions; only VW "
              "and JQ instruments do.");
    const SetupSheet jq(RecordBuilder().Conf(25, 0x20).Build(), UnitSystem::kMetric);
    EXPECT_EQ(LockedText(jq, SetupControl::kCellEnd), "");
    EXPECT_EQ(LockedText(jq, SetupControl::kSoundSpeed),
              "Def Speed of Sound (m/s) cannot be changed: the page works it out from the "
              "temperature and the salinity.");
}

}  // namespace
}  // namespace brennix::test
