#include <gtest/gtest.h>

#include "sim/sim_options.h"

namespace brennix::sim::test {
namespace {

TEST(SimOptions, DefaultsToAnAwakeMirovanAt9600) {
    std::string error;
    const std::optional<Settings> settings = ParseSimArguments({}, error);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->model, Model::kMirovan);
    EXPECT_EQ(settings->baudRate, 9600u);
    EXPECT_FALSE(settings->asleep);
}

TEST(SimOptions, ReadsEveryOption) {
    std::string error;
    const std::optional<Settings> settings =
        ParseSimArguments({"--baud", "19200", "--model", "mirovanadv", "--asleep", "--sdi12",
                           "--rs485", "15", "--compass"},
                          error);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(settings->baudRate, 19200u);
    EXPECT_EQ(settings->model, Model::kMirovanAdv);
    EXPECT_TRUE(settings->asleep);
    EXPECT_TRUE(settings->sdi12Mode);
    EXPECT_EQ(settings->rs485Address, 15u);
    EXPECT_TRUE(settings->reportsCompass);
}

class BadArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadArguments, AreRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(ParseSimArguments(GetParam(), error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BadArguments,
                         ::testing::Values(std::vector<std::string>{"--baud"},
                                           std::vector<std::string>{"--baud", "9601"},
                                           std::vector<std::string>{"--baud", "96OO"},
                                           std::vector<std::string>{"--model", "Nortex"},
                                           std::vector<std::string>{"--rs485", "0"},
                                           std::vector<std::string>{"--rs485", "16"},
                                           std::vector<std::string>{"--rs485", "-1"},
                                           std::vector<std::string>{"--verbose"}));

}  // namespace
}  // namespace brennix::sim::test
