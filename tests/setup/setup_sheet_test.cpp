// The sheet's pages on the simulator: what goes on the wire when a page is left, the refusals,
// "SaveSetup", the SDI-12 dialog and the deployment sequences.
#include "setup/setup_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instrument/instrument_codes.h"
#include "setup/deployment.h"
#include "sheet_fixture.h"

namespace brennix::test {
namespace {

using Lines = std::vector<std::string>;
using enum SetupControl;

TEST(SetupSheet, LeavingPagesUntouchedSendsNothingInEitherUnitSystem) {
    for (const UnitSystem units : {UnitSystem::kMetric, UnitSystem::kEnglish}) {
        SheetFixture f(Jq3MHz());
        ASSERT_TRUE(f.Open(units));
        const auto before = f.record.Bytes();
        for (int visit = 0; visit < 3; ++visit) {
            EXPECT_FALSE(f.sheet->LeavePage(SetupPage::kDeploy));
            f.sheet->ShowPage(SetupPage::kAdvanced);
            EXPECT_FALSE(f.sheet->LeavePage(SetupPage::kAdvanced));
            f.sheet->ShowPage(SetupPage::kDeploy);
        }
        EXPECT_EQ(f.Sent(), (Lines{"enablewaves"}));
        // The wave option byte aside, the record is as it came.
        EXPECT_EQ(f.record.Bytes(), before);
        EXPECT_FALSE(f.sheet->Modified());
    }
}

TEST(SetupSheet, ChangedValuesGoOutInPageOrderThenSaveSetup) {
    SheetFixture f(Jq3MHz());
    ASSERT_TRUE(f.Open(UnitSystem::kEnglish));
    f.sheet->SetValue(kFileName, "RIVER1");
    f.sheet->SetValue(kCellBegin, "3.28");
    f.sheet->SetValue(kSamplingInterval, "60");
    f.sheet->SetValue(kStartDate, "2026/05/17");
    EXPECT_FALSE(f.sheet->LeavePage(SetupPage::kDeploy));
    EXPECT_EQ(f.Sent(),
              (Lines{"SI 60", "CB 1.00", "SD 2026/05/17", "Deployment RIVER1", "SaveSetup"}));
    EXPECT_FALSE(f.sheet->Modified());
    EXPECT_EQ(f.record.User().CellBegin(), 99);
    EXPECT_EQ(f.record.User().DeploymentName(), "RIVER1");
    const SetupRecord held = f.InstrumentRecord();
    EXPECT_EQ(held.User().SamplingInterval(), 60);
    EXPECT_EQ(held.User().CellBegin(), 100);
    EXPECT_EQ(held.User().GetStartDate(), (StartDate{2026, 5, 17}));
}

TEST(SetupSheet, ARefusedCellBeginStopsTheLaterStepsAndTheNextGoodLeaveSaves) {
    SheetFixture f(Jq3MHz());
    ASSERT_TRUE(f.Open(UnitSystem::kMetric));
    f.sim.instrument.GetFaults().refusedSettings = {"CB"};
    f.sheet->SetValue(kSamplingInterval, "60");
    f.sheet->SetValue(kCellBegin, "1.00");
    f.sheet->SetValue(kCellEnd, "3.00");
    f.sheet->SetValue(kFileName, "RIVER1");
    const std::optional<Refusal> refusal = f.sheet->LeavePage(SetupPage::kDeploy);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->source, Refusal::Source::kInstrument);
    EXPECT_EQ(refusal->control, kCellBegin);
    EXPECT_NE(refusal->message.find("ERROR: invalid value"), std::string::npos) << refusal->message;
    EXPECT_EQ(f.Sent(), (Lines{"SI 60", "CB 1.00"}));
    EXPECT_TRUE(f.sheet->Modified());
    EXPECT_EQ(f.record.User().CellBegin(), 50);
    EXPECT_EQ(f.record.User().SamplingInterval(), 60);

    f.sim.instrument.GetFaults().refusedSettings.clear();
    EXPECT_FALSE(f.sheet->LeavePage(SetupPage::kDeploy));
    EXPECT_EQ(f.Sent(), (Lines{"CB 1.00", "CE 3.00", "Deployment RIVER1", "SaveSetup"}));
}

TEST(SetupSheet, ARuleOfThePageSendsNothing) {
    SheetFixture f(Jq3MHz());
    ASSERT_TRUE(f.Open(UnitSystem::kMetric));
    f.sheet->SetValue(kSamplingInterval, "60");
    f.sheet->SetValue(kCellBegin, "0.19");
    const std::optional<Refusal> refusal = f.sheet->LeavePage(SetupPage::kDeploy);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Cell Begin must be between  0.20 to  5.80 m.");
    EXPECT_EQ(f.Sent(), Lines{});
}

TEST(SetupSheet, AdvancedPageFollowsTheWaveOptionAndWritesItsSteps) {
    for (const bool waves : {false, true}) {
        sim::Settings settings = Jq3MHz();
        settings.waveOption = waves;
        settings.compassInstalled = false;
        SheetFixture f(settings);
        ASSERT_TRUE(f.Open(UnitSystem::kMetric));
        f.sheet->ShowPage(SetupPage::kAdvanced);
        EXPECT_EQ(f.sheet->Enabled(kWaveSpectra), waves);
        EXPECT_TRUE(f.sheet->ReadOnly(kWaterDepth));
        EXPECT_EQ(f.sheet->Choices(kCoordSystem).size(), 2u);
        // The simulator's record says ENU: without a compass the list shows no selection.
        EXPECT_EQ(f.sheet->Value(kCoordSystem), "");
        f.sheet->SetValue(kWaveSpectra, "YES");
        EXPECT_EQ(f.sheet->ReadOnly(kWaterDepth), !waves);
        EXPECT_TRUE(f.sheet->ReadOnly(kTemperature));  // MEASURED
        f.sheet->SetValue(kTempMode, "USER");
        EXPECT_FALSE(f.sheet->ReadOnly(kTemperature));
        f.sheet->SetValue(kTemperature, "15.05");
        f.sheet->SetValue(kSalinity, "35");
        f.sheet->SetValue(kDataFormat, "SHORT");
        EXPECT_FALSE(f.sheet->LeavePage(SetupPage::kAdvanced));
        EXPECT_EQ(f.Sent(), (Lines{"enablewaves", "DataFormat SHORT", "WaveSpectra YES",
                                   "TempMode USER", "Temp 15.05", "SaveSetup"}));
        EXPECT_EQ(f.record.User().Temperature(), 150);
        EXPECT_EQ(f.record.User().Salinity(), 350);
        EXPECT_EQ(f.sheet->Value(kSoundSpeed), "1506.96");
    }
}

TEST(SetupSheet, WavesCountOnlyWhenYesComesWithinASecond) {
    struct Case {
        uint32_t replyDelayMs;
        bool silent;
        bool available;
    };
    for (const Case& c : {Case{600, false, true}, Case{1300, false, false}, Case{0, true, false}}) {
        sim::Settings settings = Jq3MHz();
        settings.waveOption = true;
        SheetFixture f(settings);
        ASSERT_TRUE(f.Open(UnitSystem::kMetric));
        f.sim.instrument.GetFaults().extraDelayMs = c.replyDelayMs;
        f.sim.instrument.GetFaults().silent = c.silent;
        f.sim.ui.messages.clear();
        f.sheet->ShowPage(SetupPage::kAdvanced);
        EXPECT_EQ(f.sheet->WavesAvailable(), c.available) << c.replyDelayMs;
        EXPECT_EQ(f.sheet->Editable(kWaveSpectra), c.available);
    }
}

TEST(SetupSheet, ASilentInstrumentRefusesWithUnknownErrorAndKeepsTheRecord) {
    SheetFixture f;
    ASSERT_TRUE(f.Open(UnitSystem::kMetric));
    f.sim.instrument.GetFaults().silent = true;
    f.sheet->SetValue(kSamplingInterval, "60");
    const std::optional<Refusal> refusal = f.sheet->LeavePage(SetupPage::kDeploy);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->source, Refusal::Source::kInstrument);
    EXPECT_EQ(refusal->message, "Unknown Error ");
    EXPECT_FALSE(f.sheet->Modified());
    EXPECT_EQ(f.record.User().SamplingInterval(), 900);
}

struct Sdi12Case {
    const char* name;
    const char* recordUnits;  // the output format the instrument holds: "of" with this
    const char* address;
    const char* format;
    const char* units;
    std::vector<std::string> sent;
};

class Sdi12Dialog : public testing::TestWithParam<Sdi12Case> {};

TEST_P(Sdi12Dialog, WritesWhatDiffersAndKeepsTheFormatItStored) {
    const Sdi12Case& c = GetParam();
    SheetFixture f;
    std::vector<char> reply(100);
    ASSERT_TRUE(f.sim.session.Instrument().ExecCommand(std::string("of ") + c.recordUnits, reply,
                                                       true, 3000));
    ASSERT_TRUE(f.Open(UnitSystem::kMetric));
    f.sheet->OpenSdi12Dialog();
    f.sheet->SetValue(kSdi12Address, c.address);
    f.sheet->SetValue(kSdi12Format, c.format);
    f.sheet->SetValue(kSdi12Units, c.units);
    EXPECT_FALSE(f.sheet->SaveSdi12Dialog());
    EXPECT_EQ(f.Sent(), c.sent);
    EXPECT_EQ(f.record.Oper().Sdi12Format(), std::string(c.format) == "Tandrel" ? 1 : 0);
    // "SaveSetup" is not sent for this dialog; the sheet still knows something was taken.
    EXPECT_EQ(f.sheet->Modified(), !c.sent.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, Sdi12Dialog,
    testing::Values(
        Sdi12Case{"NothingChanged", "ASCII", "0", "Ostrel", "English", {}},
        Sdi12Case{"NothingChangedInMetric", "Metric", "0", "Ostrel", "Metric", {}},
        Sdi12Case{"Address", "ASCII", "3", "Ostrel", "English", {"Sdi12Address 3"}},
        Sdi12Case{"Tandrel", "ASCII", "0", "Tandrel", "English", {"sdi12format Tandrel"}},
        Sdi12Case{"Metric", "ASCII", "0", "Ostrel", "Metric", {"of Metric"}},
        Sdi12Case{
            "EnglishWhenTheRecordSaysMetric", "Metric", "0", "Ostrel", "English", {"of English"}},
        Sdi12Case{"AllInOrder",
                  "ASCII",
                  "12",
                  "Tandrel",
                  "Metric",
                  {"Sdi12Address 12", "sdi12format Tandrel", "of Metric"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Deployment, StandardAppliesEveryPageThenStartsAndTheInstrumentGoesQuiet) {
    SheetFixture f(Jq3MHz());
    ASSERT_TRUE(f.Open(UnitSystem::kMetric));
    f.sheet->SetValue(kSamplingInterval, "600");
    ASSERT_TRUE(DeployFromSheet(*f.sheet, f));
    const Lines sent = f.Sent();
    const Lines tail(sent.end() - 6, sent.end());
    EXPECT_EQ(tail,
              (Lines{"systemtype", "SI 600", "enablewaves", "SaveSetup", "OF ASCII", "deploy"}));
    EXPECT_EQ(f.activated, (std::vector<SetupPage>{SetupPage::kDeploy, SetupPage::kAdvanced,
                                                   SetupPage::kHardware, SetupPage::kOptions}));
    ASSERT_FALSE(f.sim.ui.messages.empty());
    const auto& message = f.sim.ui.messages.back();
    EXPECT_EQ(message.text,
              "Now disconnect the communication cable from \nthe Mirovan system for deployment.");
    EXPECT_EQ(message.caption, "Mirovan deployment");
    EXPECT_EQ(message.icon, MessageIcon::kInformation);
    // Deployed: the instrument hears nothing until it is woken.
    std::vector<char> reply(100);
    EXPECT_FALSE(f.sim.session.Instrument().ExecCommand("SI", reply, false, 0) &&
                 f.sim.session.Instrument().WaitFor(reply, ">", 1000, false));
}

TEST(Deployment, Sdi12RunsTheDialogThenSample) {
    SheetFixture f;
    ASSERT_TRUE(f.Open(UnitSystem::kMetric));
    f.sheet->SetValue(kMode, "SDI-12");
    f.sdi12Dialog = [](SetupSheet& sheet) {
        sheet.SetValue(kSdi12Address, "3");
        return !sheet.SaveSdi12Dialog();
    };
    ASSERT_TRUE(DeployFromSheet(*f.sheet, f));
    const Lines sent = f.Sent();
    EXPECT_EQ(Lines(sent.end() - 2, sent.end()), (Lines{"Sdi12Address 3", "sample"}));
    EXPECT_EQ(f.sim.ui.messages.back().caption, "Mirovan SDI-12 deployment");
    EXPECT_EQ(f.sim.ui.messages.back().text,
              "Now disconnect the communication cable\n and attach Tandrel SDI-12 converter. "
              "\n\nFor more information please refer to the manual.");
}

TEST(Deployment, RefusalsStopItWithTheirMessage) {
    struct Case {
        const char* name;
        std::function<void(SheetFixture&)> arrange;
        const char* message;
        const char* lastSent;
    };
    const std::vector<Case> cases = {
        {"silent instrument", [](SheetFixture& f) { f.sim.instrument.GetFaults().silent = true; },
         "Failed to connect to the device\nPlease check the cables and try again !", nullptr},
        {"page rule", [](SheetFixture& f) { f.sheet->SetValue(kFileName, " "); },
         "The file name must not be left blank.", "systemtype"},
        {"instrument refuses",
         [](SheetFixture& f) {
             f.sim.instrument.GetFaults().refusedSettings = {"SI"};
             f.sheet->SetValue(kSamplingInterval, "60");
         },
         nullptr, "SI 60"},
        {"SDI-12 dialog cancelled",
         [](SheetFixture& f) {
             f.sheet->SetValue(kMode, "SDI-12");
             f.sdi12Dialog = [](SetupSheet&) { return false; };
         },
         nullptr, "SaveSetup"},
        {"no such mode", [](SheetFixture& f) { f.sheet->SetValue(kMode, "Polled"); },
         "Unsupported deployment mode", "SaveSetup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SheetFixture f(Jq3MHz());
        ASSERT_TRUE(f.Open(UnitSystem::kMetric));
        f.sheet->SetValue(kAveragingInterval, "120");
        c.arrange(f);
        f.sim.ui.messages.clear();
        EXPECT_FALSE(DeployFromSheet(*f.sheet, f));
        const Lines sent = f.Sent();
        if (c.lastSent) {
            ASSERT_FALSE(sent.empty());
            EXPECT_EQ(sent.back(), c.lastSent);
        }
        for (const std::string& line : sent) {
            EXPECT_NE(line, "deploy");
            EXPECT_NE(line, "sample");
        }
        if (c.message) {
            ASSERT_FALSE(f.sim.ui.messages.empty());
            EXPECT_EQ(f.sim.ui.messages.back().text, c.message);
        }
    }
}

TEST(Deployment, ANearlyFullRecorderIsRefusedAfterTheSettingsWereWritten) {
    sim::Settings settings = Jq3MHz();
    settings.recorderCapacity = (4u << 20) + 30000;
    settings.recorderUsed = 4u << 20;
    SheetFixture f(settings);
    ASSERT_TRUE(f.Open(UnitSystem::kMetric));
    f.sheet->SetValue(kSamplingInterval, "60");
    EXPECT_FALSE(DeployFromSheet(*f.sheet, f));
    EXPECT_EQ(f.sim.ui.messages.back().text,
              "Recorder is FULL or NEARLY FULL\nRetrieve data from recorder and then Format it "
              "before proceeding");
    EXPECT_EQ(f.InstrumentRecord().User().SamplingInterval(), 60);
    EXPECT_EQ(f.activated.back(), SetupPage::kDeploy);
}

TEST(SetupSheet, DaysFollowTheIntervalsTypedAndTheRecordersSpace) {
    sim::Settings settings;
    settings.recorderCapacity = 1'000'418;  // a WX Mirovan: 16-byte samples
    settings.recorderSamples = false;       // an empty recorder
    SheetFixture f(settings);
    ASSERT_TRUE(f.Open(UnitSystem::kMetric));
    f.sheet->SetValue(kSamplingInterval, "60");
    // 1,000,000 / 16 = 62500 samples × 60 s.
    EXPECT_EQ(f.sheet->DaysRemaining(), "43.4 days of operation remaining");
    f.sheet->SetValue(kSamplingInterval, "6O");
    EXPECT_EQ(f.sheet->DaysRemaining(), "Days remaining unknown: check the intervals");
    // Typing never asks the recorder again.
    EXPECT_EQ(f.Sent(), Lines{});
}

TEST(SetupSheet, ABlockThatDoesNotArriveIsNamed) {
    SheetFixture f;
    f.sim.instrument.GetFaults().wrongBlockChecksum = true;
    const SetupRecordRead read = ReadSetupRecord(f.sim.session.Instrument());
    EXPECT_FALSE(read.record);
    EXPECT_EQ(read.failure,
              "The instrument's configuration could not be read: no valid answer to \"get "
              "Conf\".\nCheck the cable and try again.");
}

}  // namespace
}  // namespace brennix::test
