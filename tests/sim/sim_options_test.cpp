#include "sim/sim_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brennix::sim::test {
namespace {

TEST(SimOptions, EveryOptionIsRead) {
    std::string error;
    ASSERT_TRUE(ParseSimArguments({}, error));
    const std::optional<Settings> all =
        ParseSimArguments({"--baud", "19200", "--model", "mirovanadv", "--asleep", "--sdi12",
                           "--rs485", "15", "--compass"},
                          error);
    ASSERT_TRUE(all) << error;
    EXPECT_EQ(all->baudRate, 19200u);
    EXPECT_EQ(all->model, Model::kMirovanAdv);
    EXPECT_TRUE(all->asleep && all->sdi12Mode && all->reportsCompass);
    EXPECT_EQ(all->rs485Address, 15u);
}

TEST(SimOptions, BadArgumentsAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {"--baud"},         {"--baud", "9601"},  {"--baud", "96OO"},   {"--model", "Nortex"},
        {"--rs485", "0"},   {"--rs485", "16"},   {"--rs485", "-1"},    {"--verbose"},
        {"--noise", "1.5"}, {"--noise", "-0.1"}, {"--noise", "1e-3x"}, {"--seed", "-3"}};
    for (const std::vector<std::string>& args : bad) {
        std::string error;
        EXPECT_FALSE(ParseSimArguments(args, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace brennix::sim::test
