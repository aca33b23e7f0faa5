#include <gtest/gtest.h>

#include <string>

#include "link/output_window.h"

namespace brennix {
namespace {

TEST(TerminalPane, AppliesTheAppendRule) {
    struct Case {
        const char* name;
        std::string before;
        std::string bytes;
        std::string after;
    };
    const std::string kLong(9001, 'L');
    const std::string kFull(9000, 'F');
    for (const Case& c :
         {Case{"BackspaceErasesNewCharacter", "", "ab\bc", "ac"},
          Case{"BackspacesEraseShownCharacters", "xyz", "\b\bx", "xx"},
          Case{"DeleteErasesLikeBackspace", "xy", "\x7f", "x"},
          Case{"ErasingMoreThanShownStopsAtStart", "a", "\b\b\bz", "z"},
          Case{"EotShowsAsBlank", "", "a\x04z", "a z"},
          Case{"TextEndsAtZeroByte", "", std::string("ab\0cd", 5), "ab"},
          Case{"OverNineThousandKeepsLastFourThousand", kLong, "+", std::string(4000, 'L') + "+"},
          Case{"NineThousandIsNotTrimmed", kFull, "+", kFull + "+"},
          Case{"TrimHappensBeforeErasing", kLong, "\b", std::string(3999, 'L')}}) {
        StringTerminalPane pane;
        pane.SetText(c.before);
        pane.Append(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
        EXPECT_EQ(pane.Text(), c.after) << c.name;
    }
}

}  // namespace
}  // namespace brennix
