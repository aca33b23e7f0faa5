// The bus scan on virtual time: three simulated instruments share one RS-485 pair.
#include "instrument/bus_scan_job.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/queued_job_relay.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_device.h"

namespace brennix {
namespace {

constexpr const char* kNoAddress = "\xF0\xF0\xF0\xF0";

std::vector<sim::Settings> Bus() {
    return {{.model = sim::Model::kMirovan, .rs485Address = 2},
            {.model = sim::Model::kKtx, .rs485Address = 5},
            {.model = sim::Model::kPelorin, .rs485Address = 9}};
}

class BusScanTest : public testing::Test, protected BusScanListener {
  protected:
    BusScanTest() { link.Open(SimulatedDevice::kPortName, 9600); }

    void OnScanning(uint32_t address) override { visited.push_back(address); }
    void OnEntry(const BusScanEntry& entry) override { entries.push_back(entry); }
    void OnScanEnded(bool wasStopped) override {
        stopped = wasStopped;
        endedAt = clock.TickCount();
    }

    // Runs the reports until done(), moving the clock a step at a time; false after limitMs.
    template <typename Done>
    bool PumpUntil(Done done, uint32_t limitMs = 600000) {
        const uint32_t start = clock.TickCount();
        for (relay.Pump(); !done(); relay.Pump()) {
            if (clock.TickCount() - start > limitMs) {
                return false;
            }
            clock.Sleep(kStepMs);
        }
        return true;
    }

    static constexpr uint32_t kStepMs = 10;
    VirtualClock clock{1000};
    sim::SimulatedBus bus{Bus()};
    SimulatedDevice device{bus, clock};
    CSerialLink link{device, clock};
    QueuedJobRelay relay{clock};
    BusScanJob job{link, relay, *this};
    std::vector<uint32_t> visited;
    std::vector<BusScanEntry> entries;
    std::optional<bool> stopped;
    uint32_t endedAt = 0;
};

// Every address in order: the three instruments with their models and "Ver" lines, the rest
// silent, and the line left with no address selected, so nobody answers what follows.
TEST_F(BusScanTest, ListsEachAddressServedWithItsModelAndTheOthersSilent) {
    ASSERT_TRUE(job.Start({1, 15}));
    ASSERT_TRUE(PumpUntil([this] { return stopped.has_value(); }));

    EXPECT_FALSE(*stopped);
    ASSERT_EQ(entries.size(), 15u);
    std::string found;
    for (size_t i = 0; i < entries.size(); ++i) {
        const BusScanEntry& entry = entries[i];
        EXPECT_EQ(entry.address, i + 1);
        EXPECT_EQ(entry.silent, !IsInstrument(entry.code)) << entry.address;
        if (!entry.silent) {
            found += std::to_string(entry.address) + " " + BusScanOutcome(entry) + " " +
                     entry.versionLine + "\n";
        }
    }
    EXPECT_EQ(found,
              "2 kMirovan Ostrel Mirovan MRV Version 3.8\n"
              "5 kKTX Ostrel KTX Version 2.4\n"
              "9 kPelorin Ostrel Pelorin PLR Version 2.0\n");
    for (const auto& instrument : bus.Instruments()) {
        EXPECT_TRUE(instrument->Received().ends_with(kNoAddress));
    }
    link.Write("Ver", 1000, true);
    clock.Sleep(1000);
    EXPECT_EQ(link.BytesWaiting(), 0u);
}

// Stopped while waking the silent address after the second instrument: the wake-up ends at
// once, that address is not reported, and no address stays selected.
TEST_F(BusScanTest, StopEndsTheScanAtOnceWithNoAddressSelected) {
    ASSERT_TRUE(job.Start({1, 15}));
    ASSERT_TRUE(PumpUntil([this] { return visited.size() == 3; }));
    clock.Sleep(3000);
    relay.Pump();
    const uint32_t stopAt = clock.TickCount();
    job.RequestStop();
    ASSERT_TRUE(PumpUntil([this] { return stopped.has_value(); }));

    EXPECT_TRUE(*stopped);
    EXPECT_LE(endedAt - stopAt, 2 * kStepMs + 4 * 100);  // the four selection bytes at most
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(BusScanOutcome(entries[1]), "kMirovan");
    for (const auto& instrument : bus.Instruments()) {
        EXPECT_TRUE(instrument->Received().ends_with(kNoAddress));
    }
}

TEST(AddressRange, FirstToLastWithinOneToFifteen) {
    struct Case {
        const char* text;
        std::optional<std::pair<uint32_t, uint32_t>> range;
    };
    for (const Case& c : {Case{"1-15", std::pair{1u, 15u}}, Case{"4", std::pair{4u, 4u}},
                          Case{"3-3", std::pair{3u, 3u}}, Case{"0-5", {}}, Case{"5-4", {}},
                          Case{"1-16", {}}, Case{"1-", {}}, Case{"x", {}}}) {
        const std::optional<AddressRange> range = ParseAddressRange(c.text);
        ASSERT_EQ(range.has_value(), c.range.has_value()) << c.text;
        if (range) {
            EXPECT_EQ(std::pair(range->first, range->last), *c.range) << c.text;
        }
    }
}

}  // namespace
}  // namespace brennix
