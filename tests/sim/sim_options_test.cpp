// brennix-sim's command line: the instrument's options, its faults and how it is served.
#include "sim/sim_options.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "sim/serving/serve_options.h"
#include "support/words.h"

namespace brennix::sim::test {
namespace {

using Arguments = std::vector<std::string>;
using brennix::test::Words;

// The serving options come out of the arguments and leave the instrument's own behind; the bus
// makes one instrument per entry with its address and model.
TEST(SimOptions, BusListenAndTranscriptAreTakenOut) {
    Arguments arguments =
        Words("--baud 19200 --bus 2:kMirovan,5:KTX --listen rfc2217:0 --transcript wire.txt");
    std::string error;
    const std::optional<ServeOptions> serve = TakeServeOptions(arguments, error);
    ASSERT_TRUE(serve) << error;
    EXPECT_EQ(arguments, Words("--baud 19200"));
    EXPECT_EQ(serve->listenProtocol, NetworkProtocol::kRfc2217);
    EXPECT_EQ(serve->transcriptPath, "wire.txt");
    const std::vector<Settings> instruments = InstrumentsToServe({.baudRate = 19200}, *serve);
    ASSERT_EQ(instruments.size(), 2u);
    EXPECT_EQ(std::tie(instruments[1].rs485Address, instruments[1].baudRate),
              std::make_tuple(5u, 19200u));
    EXPECT_EQ(instruments[1].model, Model::kKtx);
}

TEST(SimOptions, BadArgumentsAreRefusedWithAReason) {
    for (const char* bad :
         {"--baud", "--baud 9601", "--baud 96OO", "--model Nortex", "--rs485 0", "--rs485 16",
          "--verbose", "--noise 1.5", "--noise 1e-3x", "--seed -3", "--firmware 256",
          "--frequency 600", "--fault smoke", "--recorder-dir", "--drop-block -1"}) {
        const Arguments arguments = Words(bad);
        std::string error;
        EXPECT_FALSE(ParseSimArguments(arguments, error)) << bad;
        // The reason names the option or the value refused.
        EXPECT_TRUE(error.find(arguments.front()) != std::string::npos ||
                    error.find("'" + arguments.back() + "'") != std::string::npos)
            << error;
    }
    for (const char* bad : {"--bus 2", "--bus 16:kKTX", "--bus 2:kKTX,2:kLMR", "--bus 2:kNortex",
                            "--listen udp:7000", "--listen tcp:70000", "--listen"}) {
        Arguments arguments = Words(bad);
        std::string error;
        EXPECT_FALSE(TakeServeOptions(arguments, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace brennix::sim::test
