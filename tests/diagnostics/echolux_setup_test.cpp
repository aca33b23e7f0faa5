// Which cell size and which frame rules the set-up chooses for the hardware the Conf block
// describes.
#include "diagnostics/echolux_setup.h"

#include <gtest/gtest.h>

#include <array>

#include "instrument/instrument_codes.h"

namespace brennix::test {
namespace {

struct Hardware {
    uint8_t version = 38;
    uint8_t systemCode = 0x41;
    int16_t slant = 250;
};

ConfBlock Conf(const Hardware& hardware) {
    std::array<uint8_t, ConfBlock::kSize> bytes{};
    bytes[12] = hardware.version;
    bytes[25] = hardware.systemCode;
    bytes[28] = static_cast<uint8_t>(hardware.slant & 0xFF);
    bytes[29] = static_cast<uint8_t>(hardware.slant >> 8);
    return ConfBlock(bytes);
}

struct RulesCase {
    const char* name;
    Hardware hardware;
    int model;
    bool compared;
    bool travelTime;
};

TEST(FrameRulesForHardware, TrustTheChecksumFromTheFirmwareThatComputesIt) {
    for (const RulesCase& c :
         {RulesCase{"Mirovan56", {56, 0x41}, kMirovan, false, false},
          RulesCase{"Mirovan57", {57, 0x41}, kMirovan, true, false},
          RulesCase{"FendrelOfAnyVersion", {20, 0x21}, kFendrel, true, false},
          RulesCase{"SystemType5At115", {115, 0x51}, kFendrel, false, true},
          RulesCase{"SystemType5At116", {116, 0x51}, kFendrel, true, true},
          RulesCase{"CorvexCountsTravelTime", {12, 0x31}, kCorvex, true, true}}) {
        const FrameRules rules = FrameRulesFor(Conf(c.hardware), c.model);
        EXPECT_EQ(rules.compareChecksum, c.compared) << c.name;
        EXPECT_EQ(rules.travelTime, c.travelTime) << c.name;
    }
}

struct CellSizeCase {
    const char* name;
    Hardware hardware;
    const char* command;
    uint32_t timeoutMs;
};

TEST(CellSizeForHardware, FinerCellsFromVersion49BelowA26DegreeSlant) {
    for (const CellSizeCase& c :
         {CellSizeCase{"Fine1500kHz", {49, 0x41, 259}, "CSset 21", 1000},
          CellSizeCase{"OldFirmware1500kHz", {48, 0x41, 250}, "CSset 15", 1000},
          CellSizeCase{"SteepSlant1500kHz", {60, 0x41, 260}, "CSset 15", 1000},
          CellSizeCase{"Fine3000kHz", {60, 0x40, 200}, "CSset 10.5", 3000},
          CellSizeCase{"Coarse3000kHzHasTwoBlanks", {38, 0x40, 250}, "CSset  7", 3000}}) {
        const CellSizeCommand command = CellSizeCommandFor(Conf(c.hardware));
        EXPECT_EQ(command.command, c.command) << c.name;
        EXPECT_EQ(command.timeoutMs, c.timeoutMs) << c.name;
    }
}

// What the instrument answers to a bare "OF", as the set-up notes it to put it back later.
TEST(ReportedOutputFormat, IsTheWordAfterTheSettingsName) {
    EXPECT_EQ(ReportedOutputFormat("\r\nof METRIC\r\n>"), "METRIC");
    EXPECT_EQ(ReportedOutputFormat("OF\rOF ASCII\r\n>"), "ASCII");
    EXPECT_EQ(ReportedOutputFormat("\rERROR: unknown command\r\n>"), std::nullopt);
    EXPECT_EQ(ReportedOutputFormat("\r\nof\r\n>"), std::nullopt);
}

}  // namespace
}  // namespace brennix::test
