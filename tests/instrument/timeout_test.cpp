// Every time-out of the exchange, on the virtual clock: a silent far end fails the step exactly
// when its time is up, an answer in the last moment of the wait still counts, and one tick after
// that it does not. Times count from the start of the operation.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "support/scripted_instrument_line.h"

namespace brennix::test {
namespace {

struct TimeoutCase {
    const char* name;
    bool asleep;
    std::string answer;  // what the far end sends, or stays silent on
    // The last tick at which an answer still counts: the wait's start plus its time-out plus the
    // one poll step in which the expired wait still reads what has arrived.
    uint32_t lastInTime;
    // When the operation ends with a silent far end; none where it goes on to other steps.
    std::optional<uint32_t> silentEnd;
    // Gives the far end its other replies, runs the operation; true when it saw the answer.
    std::function<bool(ScriptedInstrumentLine&)> act;
};

bool Shown(const ScriptedInstrumentLine& line, const std::string& text) {
    return line.pane.Text().find(text) != std::string::npos;
}

// The wake-up after a BREAK: the first prompt search ends at 1501, the BREAK takes 100 + 300 ms
// and the pause 500 ms, so the prompt wait that follows starts at 2401.
constexpr uint32_t kAfterBreakWaitStart = 1501 + 400 + 500;

const TimeoutCase kTimeoutCases[] = {
    {"PromptSearchBeforeACommand", true, ">", 2500 + 1, 2500 + 1,
     [](ScriptedInstrumentLine& line) {
         line.instrument.SendCommand("Ver");
         return line.ui.messages.empty();  // no "FAIL TO LOCATE PROMPT"
     }},
    // The echo check starts after the 150 ms pause that follows the command.
    {"EchoCheckAfterTheCommand", true, "Ver", 150 + 2000 + 1, std::nullopt,
     [](ScriptedInstrumentLine& line) {
         return line.instrument.SendCommand("Ver", CInstrument::kPrompt, false) &&
                line.farEnd.Wire() == "Ver\r";  // verified without retransmission
     }},
    {"ProbeOfTheConnectSearch", true, ">", 2000 + 1, 2000 + 1,
     [](ScriptedInstrumentLine& line) {
         return CInstrument(line.clock, line.ui).ProbePrompt(line.link);
     }},
    // A silent instrument then gets the plus signs (500 ms), their prompt wait (3001) and the
    // final 2000 ms pause.
    {"PromptAfterTheBreak", true, ">", kAfterBreakWaitStart + 2000 + 1, std::nullopt,
     [](ScriptedInstrumentLine& line) {
         line.farEnd.breakReply = "\r\n";
         return line.instrument.FindInstrument(false, false) == kKTX &&
                line.farEnd.Wire().find('+') == std::string::npos;
     }},
    {"CompassReportGetsFifteenSeconds", true, ">", kAfterBreakWaitStart + 2001 + 15000 + 1,
     kAfterBreakWaitStart + 2001 + 15000 + 1,
     [](ScriptedInstrumentLine& line) {
         line.farEnd.breakReply = "Compass calibrating\r\n";
         return line.instrument.FindInstrument(false, false) == kKTX;
     }},
    // Without an engine each line waits for its "OK" from the end of the echo check (150).
    {"RunTextWaitsForOk", false, "\r\nOK\r\n>", 150 + 3000 + 1, 150 + 3000 + 1,
     [](ScriptedInstrumentLine& line) {
         line.farEnd.Reply("wp 1", "");
         line.instrument.RunText("wp 1");
         return Shown(line, "OK");
     }},
    // "Ver" and "systemtype" each cost the 150 ms echo pause; the answer is then read as a line.
    {"SystemTypeAnswer", false, "MRV LMR\r\n>", 300 + 500 + 1, std::nullopt,
     [](ScriptedInstrumentLine& line) {
         line.farEnd.Reply("Ver", "Mirovan MRV 3.2\r\n>");
         line.farEnd.Reply("systemtype", "");
         return line.instrument.FindInstrument(true, false) == kMirovanAdv;
     }},
    // After a short banner the rest of the answer gets 300 ms, after any other 500 ms.
    {"TrailingLineAfterAShortBanner", false, "Serial 7\r\n", 150 + 300 + 1, std::nullopt,
     [](ScriptedInstrumentLine& line) {
         line.farEnd.Reply("Ver", "KTX 1.0\r\n");
         return line.instrument.FindInstrument(true, false) == kKTX && Shown(line, "Serial 7");
     }},
    {"TrailingLineAfterALongBanner", false, "Serial 7\r\n", 150 + 500 + 1, std::nullopt,
     [](ScriptedInstrumentLine& line) {
         line.farEnd.Reply("Ver", "Crv 2.0\r\n");
         return line.instrument.FindInstrument(true, false) == kCorvex && Shown(line, "Serial 7");
     }},
};

TEST(Timeouts, SilentFailsOnTimeLastMomentCountsOneTickLateDoesNot) {
    for (const TimeoutCase& c : kTimeoutCases) {
        SCOPED_TRACE(c.name);
        for (const std::optional<uint32_t> answerAt :
             {std::optional<uint32_t>{}, std::optional{c.lastInTime},
              std::optional{c.lastInTime + 1}}) {
            ScriptedInstrumentLine line;
            line.farEnd.awake = !c.asleep;
            if (answerAt) {
                line.farEnd.Send(c.answer, *answerAt);
            }
            EXPECT_EQ(c.act(line), answerAt == c.lastInTime) << answerAt.value_or(0);
            if (!answerAt && c.silentEnd) {
                EXPECT_EQ(line.Elapsed(), *c.silentEnd) << "silent";
            }
        }
    }
}

}  // namespace
}  // namespace brennix::test
