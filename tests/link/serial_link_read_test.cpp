#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "fake_line.h"

namespace brennix::test {
namespace {

constexpr char kGuard = 0x55;
constexpr size_t kGuardBytes = 4;

// A buffer of the given size followed by guard bytes that no read may touch.
struct GuardedBuffer {
    explicit GuardedBuffer(size_t size) : size(size), bytes(size + kGuardBytes, kGuard) {}
    std::span<char> Span() { return {bytes.data(), size}; }
    std::string Text() const { return size > 0 ? std::string(bytes.data()) : std::string(); }
    bool GuardIntact() const {
        return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(size), bytes.end(),
                           [](char c) { return c == kGuard; });
    }
    size_t size;
    std::vector<char> bytes;
};

struct ReadUntilCase {
    const char* name;
    std::string input;
    size_t bufferSize;
    std::string token;
    char stopChar;
    bool result;
    std::string text;
    uint32_t leftWaiting;
};

class ReadUntilTest : public testing::TestWithParam<ReadUntilCase> {};

TEST_P(ReadUntilTest, StoresEchoesAndEndsAsGiven) {
    const ReadUntilCase& c = GetParam();
    FakeLine line;
    line.device.Arrive(c.input);
    GuardedBuffer buffer(c.bufferSize);

    EXPECT_EQ(line.link.ReadUntil(buffer.Span(), c.token, 200, c.stopChar, true), c.result);
    EXPECT_EQ(buffer.Text(), c.text);
    EXPECT_EQ(line.pane.Text(), c.text);
    EXPECT_EQ(line.link.BytesWaiting(), c.leftWaiting);
    EXPECT_TRUE(buffer.GuardIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReadUntilTest,
    testing::Values(
        ReadUntilCase{"PromptAfterLine", "abc\r\n>", 64, ">", 0, true, "abc\r\n>", 0},
        ReadUntilCase{"StopCharEndsFailedReply", "ERR\r\n>", 64, "OK", '>', false, "ERR\r\n", 0},
        ReadUntilCase{"TokenTestedBeforeStopChar", "OK\r\n>", 64, "OK", '>', true, "OK", 3},
        ReadUntilCase{"StopCharInsideReplyIgnored", "a>b>OK", 64, "OK", '>', true, "a>b>OK", 0},
        ReadUntilCase{"SizeOneReadsNothing", "abc", 1, "a", 0, false, "", 3},
        ReadUntilCase{"SizeTwoByteCompletesToken", "ab", 2, "a", 0, true, "a", 1},
        ReadUntilCase{"SizeTwoFullWithoutToken", "ab", 2, "b", 0, false, "a", 1},
        ReadUntilCase{"FullBufferFails", "abcdef", 4, ">", 0, false, "abc", 3},
        ReadUntilCase{"TokenFoundPastZeroByte", std::string("x\0OK", 4), 64, "OK", 0, true, "x", 0},
        ReadUntilCase{"TimesOutWithWhatCame", "abc", 64, ">", 0, false, "abc", 0}),
    [](const auto& info) { return info.param.name; });

struct ReadLineCase {
    const char* name;
    std::string input;
    size_t bufferSize;
    bool skipBlankFirstLine;
    bool result;
    std::string text;
    uint32_t leftWaiting;
};

class ReadLineTest : public testing::TestWithParam<ReadLineCase> {};

TEST_P(ReadLineTest, StoresEchoesAndEndsAsGiven) {
    const ReadLineCase& c = GetParam();
    FakeLine line;
    line.device.Arrive(c.input);
    GuardedBuffer buffer(c.bufferSize);

    EXPECT_EQ(line.link.ReadLine(buffer.Span(), 200, c.skipBlankFirstLine), c.result);
    EXPECT_EQ(buffer.Text(), c.text);
    EXPECT_EQ(line.pane.Text(), c.text);
    EXPECT_EQ(line.link.BytesWaiting(), c.leftWaiting);
    EXPECT_TRUE(buffer.GuardIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadLineTest,
    testing::Values(
        ReadLineCase{"KeepsLineEnd", "abc\r\ndef", 64, false, true, "abc\r\n", 3},
        ReadLineCase{"SkipsBlankFirstLine", "\r\nabc\r\n", 64, true, true, "\r\nabc\r\n", 0},
        ReadLineCase{"BlankFirstLineWithoutSkip", "\r\nabc\r\n", 64, false, true, "\r\n", 5},
        ReadLineCase{"ZeroByteEndsLine", std::string("abc\0def", 7), 64, false, true, "abc", 3},
        ReadLineCase{"SizeOneReadsNothing", "ab", 1, false, false, "", 2},
        ReadLineCase{"SizeTwoStoresOneByte", "ab", 2, false, true, "a", 1},
        ReadLineCase{"LongLineCut", "abcdef\r\n", 4, false, true, "abc", 5},
        ReadLineCase{"TimesOutWithWhatCame", "abc", 64, false, false, "abc", 0},
        ReadLineCase{"NothingCameEchoesNothing", "", 64, false, false, "", 0}),
    [](const auto& info) { return info.param.name; });

TEST(SerialLinkRead, ImmediateReadIsOneBoundedDeviceRead) {
    FakeLine line;
    line.device.Arrive("ab");
    std::vector<uint8_t> buffer(8);
    size_t done = 0;

    EXPECT_TRUE(line.link.Read(buffer, done, 0, true));
    EXPECT_EQ(done, 2u);
    EXPECT_EQ(line.device.readCalls, 1);
    EXPECT_EQ(line.pane.Text(), "ab");
}

TEST(SerialLinkRead, ReadGathersBytesArrivingInPieces) {
    FakeLine line;
    const uint32_t start = line.clock.TickCount();
    line.device.Arrive("abc");
    line.device.Arrive("de", start + 5);
    line.device.Arrive("fgh", start + 9);
    std::vector<uint8_t> buffer(6);
    size_t done = 0;

    EXPECT_TRUE(line.link.Read(buffer, done, 100, true));
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "abcdef");
    EXPECT_EQ(line.pane.Text(), "abcdef");
    EXPECT_EQ(line.link.BytesWaiting(), 2u);
}

TEST(SerialLinkRead, ReadCharEchoesNoZeroByte) {
    FakeLine line;
    line.device.Arrive(std::string("\0A", 2));
    uint8_t byte = 0xFF;

    EXPECT_TRUE(line.link.ReadChar(byte, 10, true));
    EXPECT_EQ(byte, 0);
    EXPECT_TRUE(line.link.ReadChar(byte, 10, true));
    EXPECT_EQ(byte, 'A');
    EXPECT_EQ(line.pane.Text(), "A");
}

TEST(SerialLinkRead, WaitsGoThroughTheWaitCallback) {
    FakeLine line;
    uint32_t waited = 0;
    line.link.SetWaitCallback([&](uint32_t ms) {
        waited += ms;
        line.clock.Sleep(ms);
    });
    uint8_t byte = 0;

    EXPECT_FALSE(line.link.ReadChar(byte, 30, false));
    EXPECT_EQ(waited, 31u);
    EXPECT_TRUE(static_cast<bool>(line.link.SetWaitCallback(nullptr)));
}

TEST(SerialLinkRead, LostPortEndsReadAtItsTimeout) {
    FakeLine line;
    line.device.lost = true;
    const uint32_t start = line.clock.TickCount();
    std::array<char, 16> buffer{};

    EXPECT_FALSE(line.link.ReadUntil(buffer, ">", 40, 0, true));
    EXPECT_EQ(line.clock.TickCount() - start, 41u);
}

// Time-outs: each operation is given kTimeout ms. Whatever arrives by the last tick the operation
// still polls at is taken; one tick later it has given up. The start ticks put the tick counter's
// wrap inside the time-out.
enum class Operation { kReadChar, kRead, kReadLine, kReadUntil, kWriteChar, kWrite };
constexpr uint32_t kTimeout = 20;

struct TimedOperation {
    Operation operation;
    uint32_t lastTakenOffset;  // ms after the start
};

bool RunOperation(FakeLine& line, Operation operation) {
    uint8_t byte = 0;
    size_t done = 0;
    std::array<uint8_t, 1> one{};
    std::array<char, 16> text{};
    switch (operation) {
        case Operation::kReadChar:
            return line.link.ReadChar(byte, kTimeout, false);
        case Operation::kRead:
            return line.link.Read(one, done, kTimeout, false);
        case Operation::kReadLine:
            return line.link.ReadLine(text, kTimeout, false);
        case Operation::kReadUntil:
            return line.link.ReadUntil(text, "\n", kTimeout, 0, false);
        case Operation::kWriteChar:
            return line.link.WriteChar('x', kTimeout);
        case Operation::kWrite:
            return line.link.Write("ab", kTimeout, true);
    }
    return false;
}

// Makes the far end answer (or accept writes) from start + offset on.
void AnswerAt(FakeLine& line, Operation operation, uint32_t tick) {
    if (operation == Operation::kWriteChar || operation == Operation::kWrite) {
        line.device.RefuseWritesUntil(tick);
    } else {
        line.device.Arrive("\r\n", tick);
    }
}

class TimeoutTest : public testing::TestWithParam<std::tuple<TimedOperation, uint32_t>> {};

TEST_P(TimeoutTest, AnswerAtLastPollIsTaken) {
    const auto [timed, startTick] = GetParam();
    FakeLine line(startTick);
    AnswerAt(line, timed.operation, startTick + timed.lastTakenOffset);
    EXPECT_TRUE(RunOperation(line, timed.operation));
}

TEST_P(TimeoutTest, AnswerOneTickLaterIsTooLate) {
    const auto [timed, startTick] = GetParam();
    FakeLine line(startTick);
    AnswerAt(line, timed.operation, startTick + timed.lastTakenOffset + 1);
    EXPECT_FALSE(RunOperation(line, timed.operation));
    EXPECT_EQ(line.clock.TickCount(), startTick + kTimeout + 1);
}

INSTANTIATE_TEST_SUITE_P(
    AcrossTickWrap, TimeoutTest,
    testing::Combine(testing::Values(TimedOperation{Operation::kReadChar, kTimeout + 1},
                                     TimedOperation{Operation::kRead, kTimeout},
                                     TimedOperation{Operation::kReadLine, kTimeout + 1},
                                     TimedOperation{Operation::kReadUntil, kTimeout + 1},
                                     TimedOperation{Operation::kWriteChar, kTimeout + 1},
                                     TimedOperation{Operation::kWrite, kTimeout + 1}),
                     testing::Values(1000u, 0xFFFFFFF0u, 0xFFFFFFFFu - kTimeout)));

}  // namespace
}  // namespace brennix::test
