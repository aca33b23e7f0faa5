#include <gtest/gtest.h>

#include <string>

#include "sim/simulated_instrument.h"

namespace brennix::sim {
namespace {

// A simulator serving for days must not keep every byte it was sent.
TEST(ReceivedRecord, KeepsTheMostRecentBytesOnly) {
    SimulatedInstrument instrument;
    const std::string chunk(64 * 1024, 'x');
    for (int i = 0; i < 64; ++i) {
        instrument.HostWrite(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size(),
                             static_cast<uint32_t>(i));
    }
    const std::string last = "the last words";
    instrument.HostWrite(reinterpret_cast<const uint8_t*>(last.data()), last.size(), 100);
    EXPECT_LE(instrument.Received().size(), 1u << 20);
    EXPECT_TRUE(instrument.Received().ends_with(last));
}

}  // namespace
}  // namespace brennix::sim
