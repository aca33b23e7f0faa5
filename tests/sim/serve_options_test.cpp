#include "sim/serve_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brennix::sim::test {
namespace {

// The serving options come out of the arguments and leave the instrument's own behind; the bus
// makes one instrument per entry with its address and model.
TEST(ServeOptions, BusListenAndTranscriptAreTakenOut) {
    std::vector<std::string> arguments = {"--baud",           "19200",    "--bus",
                                          "2:kMirovan,5:KTX", "--listen", "rfc2217:0",
                                          "--transcript",     "wire.txt"};
    std::string error;
    const std::optional<ServeOptions> serve = TakeServeOptions(arguments, error);
    ASSERT_TRUE(serve) << error;
    EXPECT_EQ(arguments, (std::vector<std::string>{"--baud", "19200"}));
    EXPECT_EQ(serve->listenProtocol, NetworkProtocol::kRfc2217);
    EXPECT_EQ(serve->transcriptPath, "wire.txt");
    const std::vector<Settings> instruments = InstrumentsToServe({.baudRate = 19200}, *serve);
    ASSERT_EQ(instruments.size(), 2u);
    EXPECT_EQ(instruments[1].rs485Address, 5u);
    EXPECT_EQ(instruments[1].model, Model::kKtx);
    EXPECT_EQ(instruments[1].baudRate, 19200u);
}

TEST(ServeOptions, BadBusOrListenIsRefusedWithAReason) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--bus", "2"},
                                               {"--bus", "0:kKTX"},
                                               {"--bus", "16:kKTX"},
                                               {"--bus", "2:kKTX,2:kLMR"},
                                               {"--bus", "2:kNortex"},
                                               {"--bus", ""},
                                               {"--listen", "udp:7000"},
                                               {"--listen", "tcp:70000"},
                                               {"--listen", "tcp"},
                                               {"--listen"}}) {
        std::vector<std::string> arguments = bad;
        std::string error;
        EXPECT_FALSE(TakeServeOptions(arguments, error)) << bad.back();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace brennix::sim::test
