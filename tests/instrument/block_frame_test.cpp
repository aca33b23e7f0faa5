#include "instrument/block_frame.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "instrument/instrument_codes.h"

namespace brennix {
namespace {

TEST(BlockFrameTest, ChecksumIsTheSeedPlusTheByteSumModulo65536) {
    EXPECT_EQ(BlockChecksum(std::vector<uint8_t>(96, 0)), 0xA596);
    EXPECT_EQ(BlockChecksum({}), 0xA596);
    const std::array<uint8_t, 3> small = {1, 2, 3};
    EXPECT_EQ(BlockChecksum(small), 0xA59C);
    // 258 bytes of 0xFF sum to 0x100FE: the checksum wraps.
    EXPECT_EQ(BlockChecksum(std::vector<uint8_t>(258, 0xFF)), (0xA596 + 258 * 0xFF) & 0xFFFF);
}

TEST(BlockFrameTest, LengthFieldCountsTheDataAndFourFramingBytes) {
    EXPECT_EQ(BlockLengthField(96), 100);
    EXPECT_EQ(BlockLengthField(258), 262);
    const std::array<uint8_t, 2> field = {0x06, 0x01};
    EXPECT_EQ(ReadLittleEndian16(field.data()), 262);
}

TEST(InstrumentCodesTest, NamesEveryCode) {
    EXPECT_STREQ(InstrumentCodeName(kFailToWakeUpInstrument5), "kFailToWakeUpInstrument5");
    EXPECT_STREQ(InstrumentCodeName(-2), "kFailToWakeUpInstrument1");
    EXPECT_STREQ(InstrumentCodeName(kSystemIsInSDI12Mode), "kSystemIsInSDI12Mode");
    EXPECT_STREQ(InstrumentCodeName(kNoResponce), "kNoResponce");
    EXPECT_STREQ(InstrumentCodeName(kMirovan), "kMirovan");
    EXPECT_STREQ(InstrumentCodeName(kMirovanAdv), "kMirovanAdv");
    EXPECT_STREQ(InstrumentCodeName(kPelorin), "kPelorin");
    EXPECT_STREQ(InstrumentCodeName(9), "unknown");
    EXPECT_STREQ(InstrumentCodeName(-7), "unknown");
}

}  // namespace
}  // namespace brennix
