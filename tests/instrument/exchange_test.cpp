#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

#include "support/scripted_instrument_line.h"

namespace brennix::test {
namespace {

class ExchangeTest : public ::testing::Test, public ScriptedInstrumentLine {};

TEST_F(ExchangeTest, SendCommandFindsThePromptVerifiesTheEchoAndRefusesWhatIsTooLong) {
    EXPECT_FALSE(instrument.SendCommand(std::string(511, 'a')));
    EXPECT_FALSE(instrument.CommandOk(std::string(100, 'a'), 1000));
    EXPECT_EQ(farEnd.Wire(), "");
    EXPECT_TRUE(instrument.SendCommand("cb 5"));
    EXPECT_TRUE(instrument.SendCommand("", CInstrument::kPrompt, false));
    EXPECT_EQ(farEnd.Wire(), "\r\rcb 5\r\r");
    farEnd.ClearWire();
    const std::string longest(510, 'a');
    EXPECT_TRUE(instrument.SendCommand(longest));
    EXPECT_EQ(farEnd.Wire(), "\r\r" + longest + "\r");
    EXPECT_TRUE(ui.messages.empty());
}

// A caller that shows ExecCommand's reply after a failure shows "Unknown Error ". The probe that
// looks for the prompt binds the instrument object to the link it is given.
TEST_F(ExchangeTest, ProbeBindsTheLinkAndWithoutAPromptNothingIsSent) {
    CInstrument probe(clock, ui);
    EXPECT_TRUE(probe.ProbePrompt(link));
    EXPECT_EQ(probe.GetLink(), &link);
    EXPECT_EQ(farEnd.Wire(), " \r\n");
    farEnd.ClearWire();
    farEnd.awake = false;
    EXPECT_FALSE(probe.ProbePrompt(link));
    std::array<char, 14> reply{};  // one short of "Unknown Error " and its NUL
    EXPECT_FALSE(instrument.ExecCommand("wp 1", reply, true, 3000));
    EXPECT_STREQ(reply.data(), "Unknown Error");
    EXPECT_EQ(farEnd.Wire(), " \r\n\r\r");
    ExpectMessage("FAIL TO LOCATE PROMPT");
}

struct RetransmitCase {
    const char* name;
    std::string command;
    int garbledEchoes;
    bool expected;
    int repeats;  // how often the command goes out again, verified character by character
    int failingPurge = 0;
    const char* message = "";
};

const RetransmitCase kRetransmitCases[] = {
    {"GarbledEchoIsRepaired", "Ver", 1, true, 1},
    {"GivesUpAfterTenAttempts", "Ver", 1000, false, 10},
    {"LongestRetransmittedCommand", std::string(199, 'b'), 1, true, 1},
    {"TooLongToRetransmit", std::string(200, 'a'), 1, false, 0},
    {"TransmitPurgeFails", "Ver", 1, false, 0, 1, "FAIL TO CLEAR TRANSMIT BUFFER"},
    {"ReceivePurgeFails", "Ver", 1, false, 0, 2, "FAIL TO CLEAR RECEIVE BUFFER"},
    {"QuietLinePurgeFails", "Ver", 1, false, 0, 3, "FAIL TO CLEAR RECEIVE BUFFER 2"},
};

class RetransmitTest : public ::testing::TestWithParam<RetransmitCase>,
                       public ScriptedInstrumentLine {};

// The line's CR is not sent again: the caller goes on to wait for the command's answer.
TEST_P(RetransmitTest, SendsTheCommandAgainWithoutItsCr) {
    const RetransmitCase& test = GetParam();
    farEnd.garbledEchoes = test.garbledEchoes;
    device.FailPurge(test.failingPurge);
    EXPECT_EQ(instrument.SendCommand(test.command), test.expected);
    std::string expected = "\r\r" + test.command + "\r";
    for (int i = 0; i < test.repeats; ++i) {
        expected += test.command;
    }
    EXPECT_EQ(farEnd.Wire(), expected);
    ExpectMessage(test.message);
}

INSTANTIATE_TEST_SUITE_P(Cases, RetransmitTest, ::testing::ValuesIn(kRetransmitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExchangeTest, RetransmissionWaitsForAQuietLineButNotForever) {
    farEnd.garbledEchoes = 1;
    // An instrument that streams data: the line never falls quiet.
    for (uint32_t tick = 0; tick < 60000; tick += 50) {
        farEnd.Send("x", tick);
    }
    EXPECT_FALSE(instrument.SendCommand("Ver", CInstrument::kPrompt, false));
    EXPECT_LT(Elapsed(), 20000u);
}

// CommandOk gives up each line (three and the extra one) after 1500 ms.
TEST_F(ExchangeTest, ExecCommandStopsAtThePromptOrWaitsForOkAndCommandOkForItsLines) {
    farEnd.Reply("xyz", "ERR\r\n>");
    farEnd.Reply("wp 1", "\r\nOK\r\n>");
    farEnd.Reply("bdir", "");
    std::array<char, 64> reply{};
    EXPECT_FALSE(instrument.ExecCommand("xyz", reply, true, 10000));
    EXPECT_LT(Elapsed(), 500u);
    EXPECT_STREQ(reply.data(), "ERR\r\n");
    EXPECT_TRUE(instrument.ExecCommand("wp 1", reply, true, 3000));
    EXPECT_STREQ(reply.data(), "\r\nOK");
    const uint32_t start = clock.TickCount();
    EXPECT_FALSE(instrument.CommandOk("bdir", 3000));
    EXPECT_GE(Elapsed(start), 4 * 1500u);
    EXPECT_LE(Elapsed(start), 4 * 1502u + 200);
}

// About one line per second of the time-out (at least two), then one more line is taken in.
TEST(CommandOk, ReadsItsLinesAndOneMore) {
    struct Case {
        uint32_t timeoutMs;
        std::string answer;
        bool expected;
        std::string unread;
    };
    const Case cases[] = {
        {3000, "1\r\n2\r\nOK\r\n>", true, ">"},                   // OK on the third line
        {3000, "1\r\n2\r\n3\r\nOK\r\n>", false, ">"},             // on the extra one: not counted
        {3000, "1\r\n2\r\n3\r\n4\r\nOK\r\n>", false, "OK\r\n>"},  // after the extra one
        {1000, "1\r\nDefault\r\n>", true, ">"},                   // "Default" counts as OK
        {1000, "1\r\n2\r\n3\r\nOK\r\n>", false, "OK\r\n>"},       // one second still reads two
        {4499, "1\r\n2\r\n3\r\nOK\r\n>", true, ">"},              // rounded to the nearest second
        {4500, "1\r\n2\r\n3\r\n4\r\nOK\r\n>", true, ">"},         // a half second rounds up
    };
    for (const Case& c : cases) {
        ScriptedInstrumentLine line;
        line.farEnd.Reply("bdir", c.answer);
        EXPECT_EQ(line.instrument.CommandOk("bdir", c.timeoutMs), c.expected) << c.timeoutMs;
        EXPECT_EQ(line.Unread(), c.unread) << c.timeoutMs << " " << c.answer;
    }
}

// The frame "get Conf" answers with after the echo; the checksum is the byte sum plus 0xA596.
std::string Frame(const std::vector<uint8_t>& data, int checksumDelta = 0) {
    const size_t length = data.size() + 4;
    const int checksum = std::accumulate(data.begin(), data.end(), 0xA596) + checksumDelta;
    std::string frame = "\r\nOK\r\n";
    frame += {static_cast<char>(length & 0xFF), static_cast<char>(length >> 8)};
    frame.append(data.begin(), data.end());
    frame += {static_cast<char>(checksum & 0xFF), static_cast<char>((checksum >> 8) & 0xFF)};
    return frame + "\r\n>";
}

// Sums past 16 bits with the checksum's seed.
const std::vector<uint8_t> kData = [] {
    std::vector<uint8_t> data(96);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(0xFF - i % 7);
    }
    return data;
}();

// A good frame is read. Another length is refused before the block is read, so no frame reaches
// past the caller's buffer; a wrong checksum, a short block and a missing OK are refused too, the
// last two once their time is up.
TEST_F(ExchangeTest, ReadBlockTakesOnlyAGoodFrameOfItsLength) {
    struct Case {
        std::string reply;
        uint32_t timeoutMs;
        uint32_t minMs;
        std::optional<size_t> unread;  // checked where the length decides
    };
    const Case cases[] = {
        {Frame(std::vector<uint8_t>(95, 0x55)), 15000, 0, 100},
        {Frame(std::vector<uint8_t>(97, 0x55)), 15000, 0, 102},
        {Frame(std::vector<uint8_t>(3996, 0x55)), 15000, 0, 4001},
        {Frame(kData, 1), 15000, 0, {}},
        {Frame(kData).substr(0, 8 + 50), 5000, 5000, {}},
        {"ERR\r\n>", 4000, 4000, {}},
        {Frame(kData), 15000, 0, 1},
    };
    for (const Case& c : cases) {
        std::array<uint8_t, 96> block{};
        farEnd.Reply("get Conf", c.reply);
        const uint32_t start = clock.TickCount();
        const bool good = c.unread == 1u;
        EXPECT_EQ(instrument.ReadBlock("get Conf", block, c.timeoutMs), good) << c.reply;
        EXPECT_GE(Elapsed(start), c.minMs) << c.reply;
        EXPECT_LE(Elapsed(start), c.minMs + 1200) << c.reply;
        if (c.unread) {
            EXPECT_TRUE(std::ranges::equal(block, good ? kData : std::vector<uint8_t>(96)));
            EXPECT_EQ(Unread().size(), *c.unread) << c.reply;
        }
        Unread();
    }
}

TEST_F(ExchangeTest, RunFileSendsEachLineGoesOnAfterAnErrorAndRefusesWhatCannotBeRead) {
    const auto dir = std::filesystem::temp_directory_path() / "brennix_instrument_test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "setup.cmd", std::ios::binary) << "cb 5\r\n\r\nbad\nsave\r";
    for (const char* line : {"cb 5", "save"}) {
        farEnd.Reply(line, "OK\r\n>");
    }
    farEnd.Reply("bad", "ERR\r\n>");
    EXPECT_TRUE(instrument.RunFile((dir / "setup.cmd").string()));
    EXPECT_EQ(farEnd.Wire(), "\r\rcb 5\r\r\rbad\r\r\rsave\r");
    EXPECT_FALSE(instrument.RunFile((dir / "missing.cmd").string()));
    EXPECT_FALSE(instrument.RunFile(dir.string()));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace brennix::test
