#include <gtest/gtest.h>

#include <array>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

constexpr std::array<std::string_view, 6> kModelTokens = {"KTX",  "PLR", "MRV",
                                                          "Fndl", "Crv", "LMR"};

struct ModelCase {
    Model model;
    std::string_view token;
    bool systemTypeHoldsLmr;
};

class ModelIdentity : public ::testing::TestWithParam<ModelCase> {
  protected:
    SimHarness sim{Unpaced({.model = GetParam().model})};
};

TEST_P(ModelIdentity, BannerCarriesExactlyItsOwnToken) {
    const std::string banner = sim.Exchange("Ver\r");
    ASSERT_TRUE(banner.starts_with("Ver\r"));
    ASSERT_TRUE(banner.ends_with("\r\n>"));
    for (std::string_view token : kModelTokens) {
        EXPECT_EQ(Contains(banner, token), token == GetParam().token) << token << " in " << banner;
    }
}

// The host reads the first line after the echoed command word: the answer must be on it.
TEST_P(ModelIdentity, SystemTypeAnswersOnTheLineAfterTheEcho) {
    const std::string reply = sim.Exchange("systemtype\r");
    const std::string firstLine = reply.substr(0, reply.find("\r\n"));
    EXPECT_EQ(Contains(firstLine, "LMR"), GetParam().systemTypeHoldsLmr) << reply;
    EXPECT_TRUE(reply.ends_with("\r\n>"));
}

INSTANTIATE_TEST_SUITE_P(Models, ModelIdentity,
                         ::testing::Values(ModelCase{Model::kKtx, "KTX", false},
                                           ModelCase{Model::kLmr, "LMR", true},
                                           ModelCase{Model::kMirovan, "MRV", false},
                                           ModelCase{Model::kFendrel, "Fndl", false},
                                           ModelCase{Model::kMirovanAdv, "MRV", true},
                                           ModelCase{Model::kCorvex, "Crv", false},
                                           ModelCase{Model::kPelorin, "PLR", false}));

TEST(Identification, BannerLeadByteComesRightAfterTheEcho) {
    SimHarness sim(Unpaced({.bannerLeadByte = true}));
    const std::string banner = sim.Exchange("Ver\r");
    EXPECT_TRUE(banner.starts_with("Ver\r\xE8Ostrel Mirovan MRV"));
}

TEST(Identification, ConfigurationBlockMatchesTheModel) {
    SimHarness sim(Unpaced({.model = Model::kMirovanAdv}));
    const std::string frame = sim.Exchange("get Conf\r");
    const std::string block = frame.substr(std::string("get Conf\rOK\r\n").size() + 2, 96);
    EXPECT_EQ(static_cast<uint8_t>(block[12]), 55);      // CPU software 5.5
    EXPECT_EQ(static_cast<uint8_t>(block[25]) / 16, 5);  // system type LMR
    EXPECT_EQ(std::string(block.c_str() + 15), "M2468");
}

}  // namespace
}  // namespace brennix::sim::test
