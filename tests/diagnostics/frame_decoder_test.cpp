#include "diagnostics/frame_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace brennix::test {
namespace {

using Bytes = std::vector<uint8_t>;

// The body between the sync byte and its checksum.
Bytes Framed(const Bytes& body) {
    Bytes frame(body.size() + 2);
    frame.front() = kFrameSync;
    std::copy(body.begin(), body.end(), frame.begin() + 1);
    frame.back() = FrameChecksum(body);
    return frame;
}

// A frame of n cells whose every data byte is value.
Bytes Frame(size_t cells, uint8_t value) {
    Bytes body(2 + 9 * cells, value);
    body[0] = static_cast<uint8_t>(cells & 0xFF);
    body[1] = static_cast<uint8_t>(cells >> 8);
    return Framed(body);
}

FrameRules Checked() {
    return FrameRules{.compareChecksum = true};
}

TEST(FrameChecksum, OneZeroCellGivesTheKnownValue) {
    // (2 × 0x57 + 1) doubled six more times, modulo 256.
    EXPECT_EQ(FrameChecksum(Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0xC0);
}

struct RejectCase {
    const char* name;
    Bytes received;
    bool compareChecksum = true;
    bool decodes = false;
    size_t cells = 0;
};

Bytes WithChecksumSpoiled(Bytes frame) {
    frame.back() ^= 0x01;
    return frame;
}

Bytes Cut(Bytes frame, size_t dropped) {
    frame.resize(frame.size() - dropped);
    return frame;
}

Bytes Prefixed(Bytes frame, Bytes prefix) {
    prefix.insert(prefix.end(), frame.begin(), frame.end());
    return prefix;
}

TEST(FrameDecoding, DecodesOrRejectsAsTheFrameDeserves) {
    const RejectCase cases[] = {
        {"NoSyncByte", Bytes(200, 0x41)},
        {"CountOf513", Prefixed(Bytes{0x01, 0x02}, {kFrameSync})},
        {"CountOf513EvenWithAllItsData",
         [] {
             Bytes frame = Frame(512, 3);
             frame[1] = 0x01;
             frame[2] = 0x02;
             frame.insert(frame.end() - 1, 9, 3);
             return frame;
         }(),
         false},
        {"ChecksumByteMissing", Cut(Frame(4, 9), 1)},
        {"CountFieldCutShort", Bytes{0x00, kFrameSync, 0x04}},
        {"WrongChecksum", WithChecksumSpoiled(Frame(4, 9))},
        {"WrongChecksumNotCompared", WithChecksumSpoiled(Frame(4, 9)), false, true, 4},
        {"EmptyProfile", Frame(0, 0), true, true, 0},
        {"EchoBeforeTheSyncIsSkipped", Prefixed(Frame(2, 7), {'A', 'm', 'p', '\r', '\n'}), true,
         true, 2},
        {"PromptAfterTheFrameIsIgnored",
         [] {
             Bytes frame = Frame(512, 200);
             frame.insert(frame.end(), {'\r', '\n', '>'});
             return frame;
         }(),
         true, true, 512},
    };
    for (const RejectCase& c : cases) {
        const auto frame =
            DecodeInstrumentFrame(c.received, FrameRules{.compareChecksum = c.compareChecksum});
        ASSERT_EQ(frame.has_value(), c.decodes) << c.name;
        if (frame) {
            EXPECT_EQ(frame->cells, c.cells) << c.name;
        }
    }
}

// Per beam N amplitudes then N (cosine, sine) pairs, beam after beam.
TEST(FrameDecoding, PutsEveryByteInItsBeamAndCell) {
    Bytes body = {2, 0};
    for (uint8_t beam = 1; beam <= 3; ++beam) {
        for (const int byte :
             {10 * beam, 10 * beam + 1, 100 + beam, 110 + beam, 120 + beam, 130 + beam}) {
            body.push_back(static_cast<uint8_t>(byte));
        }
    }
    const auto decoded = DecodeInstrumentFrame(Framed(body), Checked());
    ASSERT_TRUE(decoded);
    for (size_t beam = 0; beam < 3; ++beam) {
        const auto b = static_cast<uint8_t>(beam + 1);
        EXPECT_EQ(decoded->amplitude[beam][0], 10 * b);
        EXPECT_EQ(decoded->amplitude[beam][1], 10 * b + 1);
        EXPECT_EQ(decoded->cosine[beam][0], 100 + b);
        EXPECT_EQ(decoded->sine[beam][0], 110 + b);
        EXPECT_EQ(decoded->cosine[beam][1], 120 + b);
        EXPECT_EQ(decoded->sine[beam][1], 130 + b);
        EXPECT_EQ(decoded->amplitude[beam][2], 0) << "cells past N stay zero";
    }
}

TEST(CellRange, MetresFollowFrequencyAndSlantCountsDoNot) {
    const FrameRules slow{.frequencyKhz = 1500.0, .slantDegrees = 25.0};
    const FrameRules fast{.frequencyKhz = 3000.0, .slantDegrees = 0.0};
    EXPECT_FLOAT_EQ(CellRange(0, slow), 0.35f);
    EXPECT_NEAR(CellRange(100, slow),
                0.35 + 100 * 750 * std::cos(25 * std::numbers::pi / 180) / 15625, 1e-4);
    EXPECT_NEAR(CellRange(10, fast), 0.35 + 10 * 0.024, 1e-5);
    const FrameRules counts{.travelTime = true};
    EXPECT_FLOAT_EQ(CellRange(0, counts), 24.0f);
    EXPECT_FLOAT_EQ(CellRange(145, counts), 749.0f);
}

}  // namespace
}  // namespace brennix::test
