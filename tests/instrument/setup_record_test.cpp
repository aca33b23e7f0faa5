// The record's fields at their offsets, byte by byte, and the fields whose size is a trap.
#include "instrument/setup_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace brennix::test {
namespace {

std::vector<uint8_t> Pattern() {
    std::vector<uint8_t> bytes(SetupRecord::kSize);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    return bytes;
}

TEST(SetupRecord, KeepsEveryByteItDoesNotInterpretAndOnlyTouchesAFieldsOwnBytes) {
    const std::vector<uint8_t> original = Pattern();
    SetupRecord record = *SetupRecord::FromBytes(original);
    const auto bytes = record.Bytes();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), original.begin()));

    // The odd-offset fields, written and read back at their record offsets.
    record.User().SetAveragingInterval(0x11223344);
    record.User().SetSamplingInterval(-2);
    record.User().SetCellBegin(-300);
    record.User().SetWaterDepth(0x1234);
    record.Oper().SetSdi12Format(1);
    const auto changed = record.Bytes();
    // AI and SI (user offsets 25 and 29), CB (248), WD (256), the SDI-12 format (oper offset 56),
    // each at its record offset, with the neighbours of the first two untouched.
    const auto at = [&changed](size_t offset, size_t count) {
        return std::vector<uint8_t>(changed.begin() + offset, changed.begin() + offset + count);
    };
    EXPECT_EQ(at(120, 10), (std::vector<uint8_t>{original[120], 0x44, 0x33, 0x22, 0x11, 0xFE, 0xFF,
                                                 0xFF, 0xFF, original[129]}));
    EXPECT_EQ(at(344, 2), (std::vector<uint8_t>{0xD4, 0xFE}));
    EXPECT_EQ(at(352, 2), (std::vector<uint8_t>{0x34, 0x12}));
    EXPECT_EQ(at(410, 1), std::vector<uint8_t>{0x01});
    size_t differing = 0;
    for (size_t i = 0; i < changed.size(); ++i) {
        differing += changed[i] != original[i] ? 1 : 0;
    }
    EXPECT_LE(differing, 13u);
    EXPECT_EQ(record.User().AveragingInterval(), 0x11223344);
    EXPECT_EQ(record.User().SamplingInterval(), -2);
    EXPECT_EQ(record.User().CellBegin(), -300);
}

TEST(SetupRecord, ReadsSignedAndUnsignedFieldsAsTheInstrumentWroteThem) {
    std::vector<uint8_t> bytes(SetupRecord::kSize, 0);
    const size_t user = SetupRecord::kUserOffset;
    const auto put = [&bytes](size_t offset, std::initializer_list<uint8_t> values) {
        std::copy(values.begin(), values.end(), bytes.begin() + static_cast<long>(offset));
    };
    put(user + 12, {0x38, 0xFF});  // temperature -200 tenths
    put(user + 35, {0x00, 0x80});  // burst sampling 0x8000: unsigned
    put(user + 41, {0xFF, 0xFF});  // samples per burst 65535
    // Start 2026, day 17, month 5, 08:30:45; the hundredths (99) are never read, never written.
    put(user + 58, {0xEA, 0x07, 17, 5, 30, 8, 99, 45});
    put(SetupRecord::kOperOffset + 53, {0xF6});  // -10 cells
    SetupRecord record = *SetupRecord::FromBytes(bytes);
    EXPECT_EQ(record.User().Temperature(), -200);
    EXPECT_EQ(record.User().BurstSampling(), 0x8000);
    EXPECT_EQ(record.User().SamplesPerBurst(), 65535);
    EXPECT_EQ(record.User().GetStartDate(), (StartDate{2026, 5, 17}));
    EXPECT_EQ(record.User().GetStartTime(), (StartTime{8, 30, 45}));
    EXPECT_EQ(record.Oper().ProfileCells(), -10);

    record.User().SetStartTime({23, 59, 58});
    record.User().SetStartDate({1999, 12, 31});
    EXPECT_EQ(record.Bytes()[user + 64], 99);
    EXPECT_EQ(record.User().GetStartDate(), (StartDate{1999, 12, 31}));
    EXPECT_EQ(record.User().GetStartTime(), (StartTime{23, 59, 58}));
}

TEST(SetupRecord, TextFieldsNeverReachPastTheirBytes) {
    std::vector<uint8_t> bytes(SetupRecord::kSize, 'X');
    std::copy_n("0123456789", 10, bytes.begin() + 15);  // serial number without a terminator
    std::copy_n("ABCDEFGHI", 9, bytes.begin() + SetupRecord::kUserOffset + 49);
    SetupRecord record = *SetupRecord::FromBytes(bytes);
    EXPECT_EQ(record.Conf().SerialNumber(), "0123456789");
    EXPECT_EQ(record.User().DeploymentName(), "ABCDEFGHI");

    EXPECT_FALSE(record.User().SetDeploymentName("NINECHARS"));
    EXPECT_EQ(record.User().DeploymentName(), "ABCDEFGHI");
    EXPECT_TRUE(record.User().SetDeploymentName("RIVER1"));
    EXPECT_EQ(record.User().DeploymentName(), "RIVER1");
    // The field's tail is cleared; the byte after it belongs to the start date.
    EXPECT_EQ(record.Bytes()[SetupRecord::kUserOffset + 57], 0);
    EXPECT_EQ(record.Bytes()[SetupRecord::kUserOffset + 58], 'X');
}

}  // namespace
}  // namespace brennix::test
