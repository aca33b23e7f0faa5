#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "link/link_lease.h"
#include "support/scripted_line.h"
#include "support/scripted_ui_host.h"

namespace brennix::test {
namespace {

// One reply read: ReadUntil when a token is given, ReadLine otherwise.
struct ReplyCase {
    const char* name;
    std::string input;
    size_t bufferSize;
    const char* token;  // nullptr: ReadLine
    char stopChar;      // ReadLine: non-zero skips a blank first line
    bool result;
    std::string text;  // in the buffer and in the pane
    uint32_t leftWaiting;
};

class ReplyReadTest : public testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyReadTest, StoresEchoesAndEndsAsGiven) {
    const ReplyCase& c = GetParam();
    ScriptedLine line;
    line.farEnd.Send(c.input);
    constexpr char kGuard = 0x55;  // no read may touch the bytes past the buffer
    std::vector<char> bytes(c.bufferSize + 4, kGuard);
    const std::span<char> buffer(bytes.data(), c.bufferSize);

    EXPECT_EQ(c.token ? line.link.ReadUntil(buffer, c.token, 200, c.stopChar, true)
                      : line.link.ReadLine(buffer, 200, c.stopChar != 0),
              c.result);
    EXPECT_EQ(std::string(bytes.data()), c.text);
    EXPECT_EQ(line.pane.Text(), c.text);
    EXPECT_EQ(line.link.BytesWaiting(), c.leftWaiting);
    EXPECT_TRUE(
        std::all_of(bytes.begin() + c.bufferSize, bytes.end(), [](char b) { return b == kGuard; }));
}

const std::string kZeroInside("x\0OK", 4);

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyReadTest,
    testing::Values(
        ReplyCase{"UntilPromptAfterLine", "abc\r\n>", 64, ">", 0, true, "abc\r\n>", 0},
        ReplyCase{"UntilStopCharEndsFailedReply", "ERR\r\n>", 64, "OK", '>', false, "ERR\r\n", 0},
        ReplyCase{"UntilTokenTestedBeforeStopChar", "OK\r\n>", 64, "OK", '>', true, "OK", 3},
        ReplyCase{"UntilStopCharInsideReplyIgnored", "a>b>OK", 64, "OK", '>', true, "a>b>OK", 0},
        ReplyCase{"UntilSizeOneReadsNothing", "abc", 1, "a", 0, false, "", 3},
        ReplyCase{"UntilSizeTwoByteCompletesToken", "ab", 2, "a", 0, true, "a", 1},
        ReplyCase{"UntilFullBufferFails", "abcdef", 4, ">", 0, false, "abc", 3},
        ReplyCase{"UntilTokenFoundPastZeroByte", kZeroInside, 64, "OK", 0, true, "x", 0},
        ReplyCase{"UntilTimesOutWithWhatCame", "abc", 64, ">", 0, false, "abc", 0},
        ReplyCase{"LineKeepsLineEnd", "abc\r\ndef", 64, nullptr, 0, true, "abc\r\n", 3},
        ReplyCase{"LineSkipsBlankFirstLine", "\r\nabc\r\n", 64, nullptr, 1, true, "\r\nabc\r\n", 0},
        ReplyCase{"LineBlankFirstLineWithoutSkip", "\r\nabc\r\n", 64, nullptr, 0, true, "\r\n", 5},
        ReplyCase{"LineZeroByteEndsLine", kZeroInside, 64, nullptr, 0, true, "x", 2},
        ReplyCase{"LineSizeOneReadsNothing", "ab", 1, nullptr, 0, false, "", 2},
        ReplyCase{"LineLongLineCut", "abcdef\r\n", 4, nullptr, 0, true, "abc", 5}),

    [](const auto& info) { return info.param.name; });

TEST(SerialLinkRead, ImmediateReadIsOneDeviceReadTimedReadGathersPiecesWithoutDriverWaits) {
    ScriptedLine line;
    line.farEnd.Send("ab");
    std::array<uint8_t, 6> buffer{};
    size_t done = 0;
    EXPECT_TRUE(line.link.Read(buffer, done, 0, true));
    EXPECT_EQ(done, 2u);
    EXPECT_EQ(line.clock.TickCount(), 1000 + SimulatedDevice::kReadTimeoutMs);

    const uint32_t start = line.clock.TickCount();
    line.farEnd.Send("abc");
    line.farEnd.Send("de", 5);
    line.farEnd.Send("fgh", 9);
    EXPECT_TRUE(line.link.Read(buffer, done, 100, true));
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "abcdef");
    EXPECT_EQ(line.pane.Text(), "ababcdef");
    EXPECT_EQ(line.link.BytesWaiting(), 2u);
    EXPECT_LT(line.clock.TickCount() - start, SimulatedDevice::kReadTimeoutMs);
}

TEST(SerialLinkRead, LostPortEndsAtTheTimeOutPumpingALeaseHoldersWindow) {
    ScriptedLine line;
    line.device.SetVanished(true);
    test::ScriptedUiHost window(line.clock);
    const LinkLease lease(line.link, nullptr, &window);
    std::array<char, 16> buffer{};
    EXPECT_FALSE(line.link.ReadUntil(buffer, ">", 40, 0, true));
    EXPECT_EQ(window.pumpedMs, 41);
    EXPECT_EQ(line.clock.TickCount(), 1041u);
}

// Between polls the link sleeps on the port, which wakes it the moment a byte arrives; while a
// script runs it pumps instead, and a port that cannot wait leaves it to the clock.
TEST(SerialLinkRead, WaitsOnThePortBetweenPollsUnlessAScriptPumps) {
    struct Case {
        bool portWaits;
        bool scriptRuns;
        int portWaitsExpected;
        int pumpsExpected;
    };
    for (const Case c :
         {Case{true, false, 5, 0}, Case{true, true, 0, 5}, Case{false, false, 0, 0}}) {
        ScriptedLine line;
        line.device.SetWaitsForInput(c.portWaits);
        test::ScriptedUiHost window(line.clock);
        std::optional<LinkLease> lease;
        if (c.scriptRuns) {
            lease.emplace(line.link, nullptr, &window);
        }
        line.farEnd.Send("x", 5);
        std::array<uint8_t, 1> buffer{};
        size_t done = 0;
        EXPECT_TRUE(line.link.Read(buffer, done, 100, false));
        EXPECT_EQ(line.device.InputWaits(), c.portWaitsExpected);
        EXPECT_EQ(window.pumpedMs, c.pumpsExpected);
        EXPECT_EQ(line.clock.TickCount(), 1005u);
    }
}

// Each operation is given 20 ms. Whatever arrives (or is accepted) by the last tick it still
// polls at is taken; one tick later it has given up. Start ticks put the 32-bit wrap inside.
struct TimedCase {
    const char* name;
    uint32_t lastTakenOffset;
    std::function<bool(CSerialLink&)> run;
    bool writes;
};

constexpr uint32_t kTimeout = 20;
// Where the operations below put what they read.
std::array<char, 16> text;
std::array<uint8_t, 1> one;
uint8_t byte;
size_t done;

const TimedCase kTimedCases[] = {
    {"ReadChar", 21, [](CSerialLink& l) { return l.ReadChar(byte, kTimeout, false); }, false},
    {"Read", 20, [](CSerialLink& l) { return l.Read(one, done, kTimeout, false); }, false},
    {"ReadLine", 21, [](CSerialLink& l) { return l.ReadLine(text, kTimeout, false); }, false},
    {"ReadUntil", 21, [](CSerialLink& l) { return l.ReadUntil(text, "\n", kTimeout, 0, false); },
     false},
    {"WriteChar", 21, [](CSerialLink& l) { return l.WriteChar('x', kTimeout); }, true},
    {"Write", 21, [](CSerialLink& l) { return l.Write("ab", kTimeout, true); }, true},
};

class TimeoutTest : public testing::TestWithParam<std::tuple<TimedCase, uint32_t>> {};

TEST_P(TimeoutTest, AnswerAtTheLastPollIsTakenOneTickLaterIsTooLate) {
    const auto& [c, start] = GetParam();
    for (uint32_t late : {0u, 1u}) {
        ScriptedLine line(start);
        const uint32_t answerMs = c.lastTakenOffset + late;
        if (c.writes) {
            line.device.SetWritesRefusedUntil(start + answerMs);
        } else {
            line.farEnd.Send("\r\n", answerMs);
        }
        EXPECT_EQ(c.run(line.link), late == 0);
        if (late) {
            EXPECT_EQ(line.clock.TickCount(), start + kTimeout + 1);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AcrossTickWrap, TimeoutTest,
                         testing::Combine(testing::ValuesIn(kTimedCases),
                                          testing::Values(1000u, 0xFFFFFFF0u, 0xFFFFFFEBu)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "From" +
                                    std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace brennix::test
