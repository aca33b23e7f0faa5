#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "instrument/block_frame.h"
#include "instrument/scripted_line.h"

namespace brennix::test {
namespace {

class ExchangeTest : public ::testing::Test, public ScriptedLine {};

TEST_F(ExchangeTest, SendCommandFindsThePromptAndVerifiesTheEcho) {
    EXPECT_TRUE(instrument.SendCommand("cb 5"));
    EXPECT_EQ(device.Wire(), "\r\rcb 5\r");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExchangeTest, SendCommandWithoutPromptShowsWhyAndSendsNothing) {
    far.awake = false;
    EXPECT_FALSE(instrument.SendCommand("cb 5"));
    EXPECT_EQ(device.Wire(), "\r\r");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "FAIL TO LOCATE PROMPT");
    EXPECT_EQ(ui.messages[0].caption, "");
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::kOk);
}

TEST_F(ExchangeTest, SendCommandWithoutPromptSearchGoesStraightOut) {
    EXPECT_TRUE(instrument.SendCommand("", CInstrument::kPrompt, false));
    EXPECT_EQ(device.Wire(), "\r");
}

TEST_F(ExchangeTest, GarbledEchoIsRepairedCharacterByCharacter) {
    far.garbledEchoes = 1;
    EXPECT_TRUE(instrument.SendCommand("Ver"));
    // The verified characters go out one by one, without a second CR.
    EXPECT_EQ(device.Wire(), "\r\rVer\rVer");
}

TEST_F(ExchangeTest, RetransmissionGivesUpAfterTenAttempts) {
    far.garbledEchoes = 1000;
    EXPECT_FALSE(instrument.SendCommand("Ver"));
    std::string expected = "\r\rVer\r";
    for (int attempt = 0; attempt < 10; ++attempt) {
        expected += "Ver";
    }
    EXPECT_EQ(device.Wire(), expected);
}

TEST_F(ExchangeTest, RetransmissionWaitsForAQuietLineButNotForever) {
    far.garbledEchoes = 1;
    // An instrument that streams data: the line never falls quiet.
    device.onByte = nullptr;
    for (uint32_t tick = 0; tick < 60000; tick += 50) {
        device.Send("x", tick);
    }
    EXPECT_FALSE(instrument.SendCommand("Ver", CInstrument::kPrompt, false));
    EXPECT_LT(Elapsed(), 20000u);
}

class RetransmitPurgeTest : public ::testing::TestWithParam<std::pair<int, const char*>>,
                            public ScriptedLine {};

TEST_P(RetransmitPurgeTest, FailedPurgeIsShownAndEndsTheCommand) {
    const int failingPurge = GetParam().first;
    const std::string message = GetParam().second;
    far.garbledEchoes = 1;
    int purges = 0;
    device.purgeResult = [&](uint32_t) { return ++purges != failingPurge; };
    EXPECT_FALSE(instrument.SendCommand("Ver"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, message);
    EXPECT_EQ(ui.messages[0].caption, "");
    EXPECT_EQ(device.Wire(), "\r\rVer\r");
}

INSTANTIATE_TEST_SUITE_P(Purges, RetransmitPurgeTest,
                         ::testing::Values(std::pair(1, "FAIL TO CLEAR TRANSMIT BUFFER"),
                                           std::pair(2, "FAIL TO CLEAR RECEIVE BUFFER"),
                                           std::pair(3, "FAIL TO CLEAR RECEIVE BUFFER 2")));

TEST_F(ExchangeTest, CommandsLongerThanTheirBuffersFailWithoutBeingSent) {
    EXPECT_FALSE(instrument.SendCommand(std::string(511, 'a')));
    EXPECT_FALSE(instrument.CommandOk(std::string(100, 'a'), 1000));
    EXPECT_EQ(device.Wire(), "");

    const std::string longest(510, 'a');
    EXPECT_TRUE(instrument.SendCommand(longest));
    EXPECT_EQ(device.Wire(), "\r\r" + longest + "\r");
}

TEST_F(ExchangeTest, OnlyCommandsUpTo199CharactersAreRetransmitted) {
    far.garbledEchoes = 1;
    const std::string tooLong(200, 'a');
    EXPECT_FALSE(instrument.SendCommand(tooLong));
    EXPECT_EQ(device.Wire(), "\r\r" + tooLong + "\r");

    device.ClearWire();
    far.garbledEchoes = 1;
    const std::string longest(199, 'b');
    EXPECT_TRUE(instrument.SendCommand(longest));
    EXPECT_EQ(device.Wire(), "\r\r" + longest + "\r" + longest);
}

TEST_F(ExchangeTest, ExecCommandStopsAtThePromptWithoutOk) {
    far.replies["xyz"] = "ERR\r\n>";
    std::array<char, 64> reply{};
    const uint32_t start = clock.TickCount();
    EXPECT_FALSE(instrument.ExecCommand("xyz", reply, true, 10000));
    EXPECT_LT(Elapsed(start), 500u);
    EXPECT_STREQ(reply.data(), "ERR\r\n");
}

TEST_F(ExchangeTest, ExecCommandWaitsForOk) {
    far.replies["wp 1"] = "\r\nOK\r\n>";
    std::array<char, 64> reply{};
    EXPECT_TRUE(instrument.ExecCommand("wp 1", reply, true, 3000));
    EXPECT_STREQ(reply.data(), "\r\nOK");
}

TEST_F(ExchangeTest, FailedExecCommandLeavesUnknownError) {
    far.awake = false;
    std::array<char, 64> reply{};
    EXPECT_FALSE(instrument.ExecCommand("wp 1", reply, true, 3000));
    EXPECT_STREQ(reply.data(), "Unknown Error ");
    std::array<char, 5> small{};
    EXPECT_FALSE(instrument.ExecCommand("wp 1", small, false, 3000));
    EXPECT_STREQ(small.data(), "Unkn");
}

struct RecordingRunner : CScriptRunner {
    int Run(const std::string& text, bool quiet) override {
        runs.emplace_back(text, quiet);
        return result;
    }
    std::vector<std::pair<std::string, bool>> runs;
    int result = 1;
};

TEST_F(ExchangeTest, AttachedEngineRunsCommandsAndTexts) {
    RecordingRunner runner;
    EXPECT_EQ(instrument.SetScriptEngine(&runner), nullptr);
    std::array<char, 64> reply{};
    EXPECT_TRUE(instrument.ExecCommand("cb 5", reply, false, 1000));
    EXPECT_TRUE(instrument.RunText("a\r\nb"));
    runner.result = 0;
    EXPECT_FALSE(instrument.RunText("c"));
    EXPECT_EQ(runner.runs, (std::vector<std::pair<std::string, bool>>{
                               {"cb 5", true}, {"a\r\nb", false}, {"c", false}}));
    EXPECT_EQ(device.Wire(), "");
    EXPECT_EQ(instrument.SetScriptEngine(nullptr), &runner);
}

TEST_F(ExchangeTest, RunTextWithoutEngineSendsEachLineAndGoesOnAfterAnError) {
    far.replies["cb 5"] = "OK\r\n>";
    far.replies["bad"] = "ERR\r\n>";
    far.replies["save"] = "OK\r\n>";
    EXPECT_TRUE(instrument.RunText("cb 5\r\n\r\nbad\nsave\r"));
    EXPECT_EQ(device.Wire(), "\r\rcb 5\r\r\rbad\r\r\rsave\r");
}

TEST_F(ExchangeTest, RunFileRunsTheFileAndRefusesWhatCannotBeRead) {
    const auto dir = std::filesystem::temp_directory_path() / "brennix_instrument_test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "setup.cmd";
    std::ofstream(file, std::ios::binary) << "cb 5\r\nsave\r\n";

    EXPECT_TRUE(instrument.RunFile(file.string()));
    EXPECT_EQ(device.Wire(), "\r\rcb 5\r\r\rsave\r");
    EXPECT_FALSE(instrument.RunFile((dir / "missing.cmd").string()));
    EXPECT_FALSE(instrument.RunFile(dir.string()));
    std::filesystem::remove_all(dir);
}

struct CommandOkCase {
    uint32_t timeoutMs;
    std::string answer;
    bool expected;
    std::string unread;
};

class CommandOkTest : public ::testing::TestWithParam<CommandOkCase>, public ScriptedLine {};

TEST_P(CommandOkTest, ReadsAboutOneLinePerSecondAndOneMore) {
    const CommandOkCase& test = GetParam();
    far.replies["bdir"] = test.answer;
    EXPECT_EQ(instrument.CommandOk("bdir", test.timeoutMs), test.expected);
    EXPECT_EQ(Unread(), test.unread);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandOkTest,
    ::testing::Values(CommandOkCase{3000, "1\r\n2\r\nOK\r\n>", true, ">"},
                      CommandOkCase{3000, "1\r\n2\r\n3\r\nOK\r\n>", false, ">"},
                      CommandOkCase{3000, "1\r\n2\r\n3\r\n4\r\nOK\r\n>", false, "OK\r\n>"},
                      CommandOkCase{1000, "1\r\nDefault\r\n>", true, ">"},
                      CommandOkCase{1000, "1\r\n2\r\n3\r\nOK\r\n>", false, "OK\r\n>"},
                      CommandOkCase{4499, "1\r\n2\r\n3\r\nOK\r\n>", true, ">"}));

TEST_F(ExchangeTest, CommandOkWaitsAtMostOneAndAHalfSecondsPerLine) {
    far.replies["bdir"] = "";
    const uint32_t start = clock.TickCount();
    EXPECT_FALSE(instrument.CommandOk("bdir", 3000));
    // Three lines and the extra one, each given up after 1500 ms.
    EXPECT_GE(Elapsed(start), 4 * 1500u);
    EXPECT_LE(Elapsed(start), 4 * 1502u + 200);
}

// The frame "get Conf" answers with, as the instrument sends it after the echo.
std::string Frame(const std::vector<uint8_t>& data, uint16_t length, uint16_t checksum) {
    std::string frame = "\r\nOK\r\n";
    frame += static_cast<char>(length & 0xFF);
    frame += static_cast<char>(length >> 8);
    frame.append(data.begin(), data.end());
    frame += static_cast<char>(checksum & 0xFF);
    frame += static_cast<char>(checksum >> 8);
    return frame + "\r\n>";
}

class ReadBlockTest : public ExchangeTest {
  protected:
    ReadBlockTest() : data(96) {
        for (size_t i = 0; i < data.size(); ++i) {
            data[i] = static_cast<uint8_t>(i * 7 + 1);
        }
        block.fill(0xAA);
    }
    std::vector<uint8_t> data;
    std::array<uint8_t, 96> block{};
};

TEST_F(ReadBlockTest, ReadsAGoodFrame) {
    far.replies["get Conf"] = Frame(data, 100, BlockChecksum(data));
    EXPECT_TRUE(instrument.ReadBlock("get Conf", block, 15000));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), data.begin()));
    EXPECT_EQ(Unread(), ">");
}

TEST_F(ReadBlockTest, RejectsAnotherLengthBeforeReadingTheBlock) {
    for (const uint16_t length : {uint16_t{99}, uint16_t{101}, uint16_t{4000}}) {
        std::vector<uint8_t> longer(length > 4 ? length - 4 : 0, 0x55);
        far.replies["get Conf"] = Frame(longer, length, BlockChecksum(longer));
        EXPECT_FALSE(instrument.ReadBlock("get Conf", block, 15000)) << length;
        EXPECT_EQ(block[0], 0xAA) << length;
        EXPECT_EQ(Unread().size(), longer.size() + 5) << length;
    }
}

TEST_F(ReadBlockTest, RejectsAWrongChecksum) {
    far.replies["get Conf"] = Frame(data, 100, BlockChecksum(data) + 1);
    EXPECT_FALSE(instrument.ReadBlock("get Conf", block, 15000));
}

TEST_F(ReadBlockTest, RejectsAShortBlockAfterTheTimeOut) {
    const std::string frame = Frame(data, 100, BlockChecksum(data));
    far.replies["get Conf"] = frame.substr(0, 8 + 50);
    const uint32_t start = clock.TickCount();
    EXPECT_FALSE(instrument.ReadBlock("get Conf", block, 5000));
    EXPECT_GE(Elapsed(start), 5000u);
}

TEST_F(ReadBlockTest, GivesUpWhenNoOkComesWithinTheTimeOut) {
    far.replies["get Conf"] = "ERR\r\n>";
    const uint32_t start = clock.TickCount();
    EXPECT_FALSE(instrument.ReadBlock("get Conf", block, 4000));
    EXPECT_GE(Elapsed(start), 4000u);
    EXPECT_LE(Elapsed(start), 5200u);
}

TEST_F(ExchangeTest, ProbePromptBindsTheLinkAndLooksForThePrompt) {
    CInstrument probe(clock, ui);
    EXPECT_TRUE(probe.ProbePrompt(link));
    EXPECT_EQ(probe.GetLink(), &link);
    EXPECT_EQ(device.Wire(), " \r\n");
    far.awake = false;
    EXPECT_FALSE(probe.ProbePrompt(link));
}

TEST_F(ExchangeTest, SendBreakGoesThroughTheLink) {
    EXPECT_TRUE(instrument.SendBreak(300));
    EXPECT_EQ(device.Wire(), "  \r\n  \r\n<BREAK>");
    CInstrument unbound(clock, ui);
    EXPECT_FALSE(unbound.SendBreak(300));
}

}  // namespace
}  // namespace brennix::test
