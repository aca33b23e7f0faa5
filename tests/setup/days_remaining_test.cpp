// One sample's size and the days the recorder lasts, where a wrong figure sends a technician out
// with too little space.
#include "setup/days_remaining.h"

#include <gtest/gtest.h>

#include <string>

#include "record_builder.h"
#include "setup/sample_size.h"

namespace brennix::test {
namespace {

struct SizeCase {
    const char* name;
    RecordBuilder record;
    int64_t bytes;
};

// Conf 12 CPU version, 25 system code, 26 beams, 35 CTD, 89 YSI; User 254 data format, 255 wave
// flags; Oper 52 profiling, 53 cells.
TEST(SampleSize, FollowsTypeFormatFirmwareAndAdditions) {
    for (const SizeCase& c :
         {SizeCase{"LongOnLmrWithCurrentFirmware", RecordBuilder().Conf(12, 55).Conf(25, 0x50), 45},
          SizeCase{"LongOnVwBeforeFirmware55", RecordBuilder().Conf(12, 40).Conf(25, 0x10), 42},
          SizeCase{"LongBeforeFirmware38", RecordBuilder().Conf(12, 37).Conf(25, 0x50), 40},
          SizeCase{"ShortOnJq", RecordBuilder().Conf(12, 60).Conf(25, 0x20).User(254, 1), 28},
          SizeCase{"WxIs16WhateverFormatAndFirmware",
                   RecordBuilder().Conf(12, 20).Conf(25, 0x40).User(254, 1), 16},
          SizeCase{"ProfilingReplacesTheBase",
                   RecordBuilder().Conf(25, 0x40).Conf(26, 3).Oper(52, 1).Oper(53, 10), 180},
          SizeCase{"SensorsAndWavesAdd",
                   RecordBuilder().Conf(12, 60).Conf(25, 0x50).Conf(35, 1).Conf(89, 5).User(255, 3),
                   45 + 16 + 5 + 24 + 2048},
          SizeCase{"WaveBurstOnUnversionedFirmware",
                   RecordBuilder().Conf(12, 0).Conf(25, 0x40).User(255, 2), 16 + 3072},
          SizeCase{"ProfilingWithoutCellsIsEmpty", RecordBuilder().Conf(26, 3).Oper(52, 1), 0}}) {
        EXPECT_EQ(BytesPerSample(c.record.Build()), c.bytes) << c.name;
    }
}

// A long sample of 45 bytes (LMR, firmware 5.5) with burst sampling as given.
SetupRecord LongSampleRecord(uint16_t burst = 0, int32_t burstInterval = 0,
                             uint16_t samplesPerBurst = 0) {
    RecordBuilder builder;
    builder.Conf(12, 55).Conf(25, 0x50);
    builder.User(35, static_cast<uint8_t>(burst)).User(36, static_cast<uint8_t>(burst >> 8));
    for (int i = 0; i < 4; ++i) {
        builder.User(static_cast<size_t>(37 + i), static_cast<uint8_t>(burstInterval >> (8 * i)));
    }
    builder.User(41, static_cast<uint8_t>(samplesPerBurst))
        .User(42, static_cast<uint8_t>(samplesPerBurst >> 8));
    return builder.Build();
}

TEST(DaysRemaining, GivesTheFigureOrSaysWhyThereIsNone) {
    const SetupRecord plain = LongSampleRecord();
    const SetupRecord bursts = LongSampleRecord(1, 3000, 100);
    const SetupRecord small = RecordBuilder().Conf(25, 0x40).Build();  // 16-byte samples
    const SetupRecord noSize = RecordBuilder().Oper(52, 1).Build();
    const SetupRecord noBurstSamples = LongSampleRecord(1, 3600, 0);
    struct Case {
        std::optional<uint64_t> space;
        const SetupRecord& record;
        const char* averaging;
        const char* sampling;
        const char* text;
    };
    for (const Case& c : {
             // The record's own 418 bytes are kept back: on a small recorder at an hourly
             // interval they are nine samples, over a third of a day. (11,218 - 418) / 45 = 240
             // samples × 3600 s = 10.0 days; without the reserve 10.4.
             Case{11'218, plain, "0", "3600", "10.0 days of operation remaining"},
             // 1,000,000 usable bytes / 45 = 22222 samples × 60 s = 1,333,320 s = 15.43 days.
             Case{1'000'418, plain, "0", "60", "15.4 days of operation remaining"},
             // Bursts count only when an average fits the burst interval: 22222 samples / 100
             // per burst = 222 bursts × 3000 s = 7.7 days.
             Case{1'000'418, bursts, "50", "60", "7.7 days of operation remaining"},
             Case{1'000'418, bursts, "51", "60", "15.4 days of operation remaining"},
             // 4 GB / 16-byte samples × 3600 s would wrap 32 bits many times over.
             Case{4'294'967'295u, small, "0", "3600", "11184809.5 days of operation remaining"},
             // A full recorder is a figure, not an unknown.
             Case{0, plain, "0", "60", "0.0 days of operation remaining"},
             // One record's worth is held back: 582 bytes are 36 samples of 16 bytes, a day each;
             // below one record's worth the space is not reduced any further.
             Case{1000, small, "0", "86400", "36.0 days of operation remaining"},
             Case{400, small, "0", "86400", "25.0 days of operation remaining"},
             Case{std::nullopt, plain, "0", "60",
                  "Days remaining unknown: recorder space not read"},
             Case{1000, noSize, "0", "60", "Days remaining unknown: no sample size"},
             Case{1'000'418, noBurstSamples, "60", "60",
                  "Days remaining unknown: 0 samples per burst"},
             Case{1'000'418, plain, "0", "6O", "Days remaining unknown: check the intervals"},
             Case{1'000'418, plain, "0", "-60", "Days remaining unknown: check the intervals"},
         }) {
        EXPECT_EQ(DaysRemainingText(c.space, c.record, c.averaging, c.sampling), c.text)
            << c.averaging << " " << c.sampling;
    }
}

}  // namespace
}  // namespace brennix::test
