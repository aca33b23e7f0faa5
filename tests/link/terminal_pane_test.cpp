#include <gtest/gtest.h>

#include <string>

#include "link/output_window.h"

namespace brennix {
namespace {

struct AppendCase {
    const char* name;
    std::string before;
    std::string bytes;
    std::string after;
};

class TerminalAppendTest : public testing::TestWithParam<AppendCase> {};

TEST_P(TerminalAppendTest, AppliesTheAppendRule) {
    const AppendCase& c = GetParam();
    StringTerminalPane pane;
    pane.SetText(c.before);
    pane.Append(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
    EXPECT_EQ(pane.Text(), c.after);
}

const std::string kLong(9001, 'L');
const std::string kFull(9000, 'F');

INSTANTIATE_TEST_SUITE_P(
    Bytes, TerminalAppendTest,
    testing::Values(AppendCase{"BackspaceErasesNewCharacter", "", "ab\bc", "ac"},
                    AppendCase{"BackspacesEraseShownCharacters", "xyz", "\b\bx", "xx"},
                    AppendCase{"DeleteErasesLikeBackspace", "xy", "\x7f", "x"},
                    AppendCase{"ErasingMoreThanShownStopsAtStart", "a", "\b\b\bz", "z"},
                    AppendCase{"EotShowsAsBlank", "", "a\x04z", "a z"},
                    AppendCase{"TextEndsAtZeroByte", "", std::string("ab\0cd", 5), "ab"},
                    AppendCase{"OverNineThousandKeepsLastFourThousand", kLong, "+",
                               std::string(4000, 'L') + "+"},
                    AppendCase{"NineThousandIsNotTrimmed", kFull, "+", kFull + "+"},
                    AppendCase{"TrimHappensBeforeErasing", kLong, "\b", std::string(3999, 'L')}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace brennix
