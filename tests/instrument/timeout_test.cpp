// Every time-out of the exchange, on the virtual clock: a silent far end fails the step exactly
// when its time is up, an answer in the last moment of the wait still counts, and one tick after
// that it does not. Times count from the start of the operation.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/scripted_instrument_line.h"

namespace brennix::test {
namespace {

struct TimeoutCase {
    const char* name;
    // The far end: asleep, or awake with these replies; the answer it sends, or stays silent on.
    bool asleep;
    std::string breakReply;
    std::vector<std::pair<std::string, std::string>> replies;
    std::string answer;
    // Runs the operation; true when it saw the answer.
    std::function<bool(ScriptedInstrumentLine&)> act;
    // The last tick at which an answer still counts: the wait's start plus its time-out plus the
    // one poll step in which the expired wait still reads what has arrived.
    uint32_t lastInTime;
    // When the operation ends with a silent far end; none where it goes on to other steps.
    std::optional<uint32_t> silentEnd;
};

class TimeoutTest : public testing::TestWithParam<TimeoutCase> {};

TEST_P(TimeoutTest, SilentFailsOnTimeLastMomentCountsOneTickLateDoesNot) {
    const TimeoutCase& c = GetParam();
    for (const std::optional<uint32_t> answerAt :
         {std::optional<uint32_t>{}, std::optional{c.lastInTime},
          std::optional{c.lastInTime + 1}}) {
        ScriptedInstrumentLine line;
        line.farEnd.awake = !c.asleep;
        line.farEnd.breakReply = c.breakReply;
        for (const auto& [heard, reply] : c.replies) {
            line.farEnd.Reply(heard, reply);
        }
        if (answerAt) {
            line.farEnd.Send(c.answer, *answerAt);
        }
        EXPECT_EQ(c.act(line), answerAt == c.lastInTime) << answerAt.value_or(0);
        if (!answerAt && c.silentEnd) {
            EXPECT_EQ(line.Elapsed(), *c.silentEnd) << "silent";
        }
    }
}

bool Shown(const ScriptedInstrumentLine& line, const std::string& text) {
    return line.pane.Text().find(text) != std::string::npos;
}

// The wake-up after a BREAK: the first prompt search ends at 1501, the BREAK takes 100 + 300 ms
// and the pause 500 ms, so the prompt wait that follows starts at 2401.
constexpr uint32_t kAfterBreakWaitStart = 1501 + 400 + 500;

const TimeoutCase kTimeoutCases[] = {
    {"PromptSearchBeforeACommand",
     true,
     "",
     {},
     ">",
     [](ScriptedInstrumentLine& line) {
         line.instrument.SendCommand("Ver");
         return line.ui.messages.empty();  // no "FAIL TO LOCATE PROMPT"
     },
     2500 + 1,
     2500 + 1},
    // The echo check starts after the 150 ms pause that follows the command.
    {"EchoCheckAfterTheCommand",
     true,
     "",
     {},
     "Ver",
     [](ScriptedInstrumentLine& line) {
         return line.instrument.SendCommand("Ver", CInstrument::kPrompt, false) &&
                line.farEnd.Wire() == "Ver\r";  // verified without retransmission
     },
     150 + 2000 + 1,
     std::nullopt},
    {"ProbeOfTheConnectSearch",
     true,
     "",
     {},
     ">",
     [](ScriptedInstrumentLine& line) { return CInstrument(line.clock, line.ui).ProbePrompt(line.link); },
     2000 + 1,
     2000 + 1},
    // A silent instrument then gets the plus signs (500 ms), their prompt wait (3001) and the
    // final 2000 ms pause.
    {"PromptAfterTheBreak",
     true,
     "\r\n",
     {},
     ">",
     [](ScriptedInstrumentLine& line) {
         return line.instrument.FindInstrument(false, false) == kKTX &&
                line.farEnd.Wire().find('+') == std::string::npos;
     },
     kAfterBreakWaitStart + 2000 + 1,
     std::nullopt},
    {"CompassReportGetsFifteenSeconds",
     true,
     "Compass calibrating\r\n",
     {},
     ">",
     [](ScriptedInstrumentLine& line) { return line.instrument.FindInstrument(false, false) == kKTX; },
     kAfterBreakWaitStart + 2001 + 15000 + 1,
     kAfterBreakWaitStart + 2001 + 15000 + 1},
    // Without an engine each line waits for its "OK" from the end of the echo check (150).
    {"RunTextWaitsForOk",
     false,
     "",
     {{"wp 1", ""}},
     "\r\nOK\r\n>",
     [](ScriptedInstrumentLine& line) {
         line.instrument.RunText("wp 1");
         return Shown(line, "OK");
     },
     150 + 3000 + 1,
     150 + 3000 + 1},
    // "Ver" and "systemtype" each cost the 150 ms echo pause; the answer is then read as a line.
    {"SystemTypeAnswer",
     false,
     "",
     {{"Ver", "Mirovan MRV 3.2\r\n>"}, {"systemtype", ""}},
     "MRV LMR\r\n>",
     [](ScriptedInstrumentLine& line) {
         return line.instrument.FindInstrument(true, false) == kMirovanAdv;
     },
     300 + 500 + 1,
     std::nullopt},
    // After a short banner the rest of the answer gets 300 ms, after any other 500 ms.
    {"TrailingLineAfterAShortBanner",
     false,
     "",
     {{"Ver", "KTX 1.0\r\n"}},
     "Serial 7\r\n",
     [](ScriptedInstrumentLine& line) {
         return line.instrument.FindInstrument(true, false) == kKTX && Shown(line, "Serial 7");
     },
     150 + 300 + 1,
     std::nullopt},
    {"TrailingLineAfterALongBanner",
     false,
     "",
     {{"Ver", "Crv 2.0\r\n"}},
     "Serial 7\r\n",
     [](ScriptedInstrumentLine& line) {
         return line.instrument.FindInstrument(true, false) == kCorvex && Shown(line, "Serial 7");
     },
     150 + 500 + 1,
     std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Waits, TimeoutTest, testing::ValuesIn(kTimeoutCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brennix::test
