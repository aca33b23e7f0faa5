#include "instrument/block_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brennix {
namespace {

struct FrameCase {
    const char* name;
    std::vector<uint8_t> bytes;
    size_t maxData;
    FrameStatus status;
    std::vector<uint8_t> data = {};
};

TEST(BlockFrame, DecodesOrSaysWhatIsWrong) {
    using enum FrameStatus;
    for (const FrameCase& c : {
             // An empty frame ends a list; its checksum is the seed alone.
             FrameCase{"EmptyFrame", {0x04, 0x00, 0x96, 0xA5}, 28, kOk, {}},
             FrameCase{"TwoBytes", {0x06, 0x00, 0x01, 0x02, 0x99, 0xA5}, 28, kOk, {1, 2}},
             FrameCase{"ChecksumOffByOne", {0x06, 0x00, 0x01, 0x02, 0x98, 0xA5}, 28, kBadChecksum},
             FrameCase{
                 "ChecksumBytesSwapped", {0x06, 0x00, 0x01, 0x02, 0xA5, 0x99}, 28, kBadChecksum},
             FrameCase{"LongerThanAllowed", {0x07, 0x00, 1, 2, 3, 0x9C, 0xA5}, 2, kTooLong},
             // A length word below 4 announces 65532 and more bytes, never a negative count.
             FrameCase{"LengthBelowFraming", {0x02, 0x00, 0x96, 0xA5}, 1024, kTooLong},
             FrameCase{"CutInTheData", {0x06, 0x00, 0x01}, 28, kTruncated},
             FrameCase{"CutInTheChecksum", {0x06, 0x00, 0x01, 0x02, 0x99}, 28, kTruncated},
             FrameCase{"NoLengthWord", {0x06}, 28, kTruncated},
         }) {
        const DecodedFrame frame = DecodeBlockFrame(c.bytes, c.maxData);
        EXPECT_EQ(frame.status, c.status) << c.name;
        EXPECT_EQ(std::vector<uint8_t>(frame.data.begin(), frame.data.end()), c.data) << c.name;
        if (c.status == kOk) {
            EXPECT_EQ(frame.frameSize, c.data.size() + 4) << c.name;
        }
    }
}

// 0xA596 + 91 × 0xFF = 0x1003B: the sum wraps at 16 bits.
TEST(BlockFrame, TheChecksumWrapsAtSixteenBits) {
    std::vector<uint8_t> frame = {95, 0};
    frame.insert(frame.end(), 91, 0xFF);
    frame.insert(frame.end(), {0x3B, 0x00});
    EXPECT_EQ(DecodeBlockFrame(frame, 91).status, FrameStatus::kOk);
}

}  // namespace
}  // namespace brennix
