// Every time-out of the exchange, on the virtual clock: a silent far end fails the step exactly
// when its time is up, an answer in the last moment of the wait still counts, and one tick after
// that it does not. Times count from the start of the operation; a wait that starts later says
// where it starts.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "instrument_line.h"

namespace brennix::test {
namespace {

struct TimeoutCase {
    const char* name;
    // The far end, answering at that tick after the operation starts, or never.
    std::function<void(InstrumentLine&, std::optional<uint32_t> answerAt)> arrange;
    // Runs the operation; true when it saw the answer.
    std::function<bool(InstrumentLine&)> act;
    // The last tick at which an answer still counts: the wait's start plus its time-out plus the
    // one poll step in which the expired wait still reads what has arrived.
    uint32_t lastInTime;
    // When the operation ends with a silent far end; none where it goes on to other steps.
    std::optional<uint32_t> silentEnd;
};

class TimeoutTest : public testing::TestWithParam<TimeoutCase> {};

TEST_P(TimeoutTest, SilentFailsOnTimeLastMomentCountsOneTickLateDoesNot) {
    const TimeoutCase& c = GetParam();
    {
        InstrumentLine line;
        c.arrange(line, std::nullopt);
        EXPECT_FALSE(c.act(line)) << "silent";
        if (c.silentEnd) {
            EXPECT_EQ(line.Elapsed(), *c.silentEnd) << "silent";
        }
    }
    {
        InstrumentLine line;
        c.arrange(line, c.lastInTime);
        EXPECT_TRUE(c.act(line)) << "answer at " << c.lastInTime;
    }
    {
        InstrumentLine line;
        c.arrange(line, c.lastInTime + 1);
        EXPECT_FALSE(c.act(line)) << "answer at " << c.lastInTime + 1;
    }
}

// An asleep far end hears nothing and says nothing but what the test queues.
auto Asleep(std::string answer) {
    return [answer](InstrumentLine& line, std::optional<uint32_t> at) {
        line.farEnd.awake = false;
        if (at) {
            line.farEnd.Send(answer, *at);
        }
    };
}

bool Shown(const InstrumentLine& line, const std::string& text) {
    return line.pane.Text().find(text) != std::string::npos;
}

bool NoPlusSigns(InstrumentLine& line) {
    return line.farEnd.Wire().find('+') == std::string::npos;
}

// The wake-up after a BREAK: the first prompt search ends at 1501, the BREAK takes 100 + 300 ms
// and the pause 500 ms, so the prompt wait that follows starts at 2401.
constexpr uint32_t kAfterBreakWaitStart = 1501 + 400 + 500;

const TimeoutCase kTimeoutCases[] = {
    {"PromptSearchBeforeACommand", Asleep(">"),
     [](InstrumentLine& line) {
         line.instrument.SendCommand("Ver");
         return line.ui.messages.empty();  // no "FAIL TO LOCATE PROMPT"
     },
     2500 + 1, 2500 + 1},
    // The echo check starts after the 150 ms pause that follows the command.
    {"EchoCheckAfterTheCommand", Asleep("Ver"),
     [](InstrumentLine& line) {
         return line.instrument.SendCommand("Ver", CInstrument::kPrompt, false) &&
                line.farEnd.Wire() == "Ver\r";  // verified without retransmission
     },
     150 + 2000 + 1, std::nullopt},
    {"ProbeOfTheConnectSearch", Asleep(">"),
     [](InstrumentLine& line) {
         CInstrument probe(line.clock, line.ui);
         return probe.ProbePrompt(line.link);
     },
     2000 + 1, 2000 + 1},
    // A silent instrument then gets the plus signs (500 ms), their prompt wait (3001) and the
    // final 2000 ms pause.
    {"PromptAfterTheBreak",
     [](InstrumentLine& line, std::optional<uint32_t> at) {
         line.farEnd.awake = false;
         line.farEnd.breakReply = "\r\n";
         if (at) {
             line.farEnd.Send(">", *at);
         }
     },
     [](InstrumentLine& line) {
         return line.instrument.FindInstrument(false, false) == kKTX && NoPlusSigns(line);
     },
     kAfterBreakWaitStart + 2000 + 1, std::nullopt},
    {"CompassReportGetsFifteenSeconds",
     [](InstrumentLine& line, std::optional<uint32_t> at) {
         line.farEnd.awake = false;
         line.farEnd.breakReply = "Compass calibrating\r\n";
         if (at) {
             line.farEnd.Send(">", *at);
         }
     },
     [](InstrumentLine& line) { return line.instrument.FindInstrument(false, false) == kKTX; },
     kAfterBreakWaitStart + 2001 + 15000 + 1, kAfterBreakWaitStart + 2001 + 15000 + 1},
    // Without an engine each line waits for its "OK" from the end of the echo check (150).
    {"RunTextWaitsForOk",
     [](InstrumentLine& line, std::optional<uint32_t> at) {
         line.farEnd.Reply("wp 1", at ? "\r\nOK\r\n>" : "", at.value_or(0));
     },
     [](InstrumentLine& line) {
         line.instrument.RunText("wp 1");
         return Shown(line, "OK");
     },
     150 + 3000 + 1, 150 + 3000 + 1},
    // "Ver" and "systemtype" each cost the 150 ms echo pause; the answer is then read as a line.
    {"SystemTypeAnswer",
     [](InstrumentLine& line, std::optional<uint32_t> at) {
         line.farEnd.Reply("Ver", "Mirovan MRV 3.2\r\n>");
         line.farEnd.Reply("systemtype", at ? "MRV LMR\r\n>" : "", at.value_or(150) - 150);
     },
     [](InstrumentLine& line) {
         return line.instrument.FindInstrument(true, false) == kMirovanAdv;
     },
     300 + 500 + 1, std::nullopt},
    // After a short banner the rest of the answer gets 300 ms, after any other 500 ms.
    {"TrailingLineAfterAShortBanner",
     [](InstrumentLine& line, std::optional<uint32_t> at) {
         line.farEnd.Reply("Ver", "KTX 1.0\r\n");
         if (at) {
             line.farEnd.Send("Serial 7\r\n", *at);
         }
     },
     [](InstrumentLine& line) {
         return line.instrument.FindInstrument(true, false) == kKTX && Shown(line, "Serial 7");
     },
     150 + 300 + 1, std::nullopt},
    {"TrailingLineAfterALongBanner",
     [](InstrumentLine& line, std::optional<uint32_t> at) {
         line.farEnd.Reply("Ver", "Crv 2.0\r\n");
         if (at) {
             line.farEnd.Send("Serial 7\r\n", *at);
         }
     },
     [](InstrumentLine& line) {
         return line.instrument.FindInstrument(true, false) == kCorvex && Shown(line, "Serial 7");
     },
     150 + 500 + 1, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Waits, TimeoutTest, testing::ValuesIn(kTimeoutCases),
                         [](const auto& info) { return std::string(info.param.name); });

class PauseTest : public testing::Test, public InstrumentLine {};

// An echo that comes at once is looked for only after the 150 ms pause.
TEST_F(PauseTest, EchoIsLookedForAfterTheSettlePause) {
    farEnd.awake = false;
    farEnd.Send("Ver", 1);
    EXPECT_TRUE(instrument.SendCommand("Ver", CInstrument::kPrompt, false));
    EXPECT_EQ(Elapsed(), 150u);
}

// A silent wake-up: 1501 for the first prompt, the BREAK and the pause (900), the plus signs'
// pause (500), their prompt (3001) and the final pause (2000).
TEST_F(PauseTest, SilentWakeUpCostsEveryStepExactly) {
    farEnd.awake = false;
    EXPECT_EQ(instrument.FindInstrument(false, false), kKTX);
    EXPECT_EQ(Elapsed(), 1501u + 900 + 500 + 3001 + 2000);
}

}  // namespace
}  // namespace brennix::test
