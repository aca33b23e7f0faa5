#include "link/rs485_address.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace brennix {
namespace {

TEST(Rs485Address, TakesAWholeNumberFromZeroToFifteenWithBlanksAround) {
    const std::pair<std::string, std::optional<uint32_t>> cases[] = {
        {"0", 0},   {"15", 15}, {" 7 ", 7},  {"16", std::nullopt}, {"", {}},  {"   ", {}},
        {"-1", {}}, {"1x", {}}, {"1 5", {}}, {"4294967296", {}},   {" 9", 9}, {"3  ", 3},
    };
    for (const auto& [text, address] : cases) {
        EXPECT_EQ(ParseRs485Address(text), address) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace brennix
