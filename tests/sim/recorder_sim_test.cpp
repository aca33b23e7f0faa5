// The simulated recorder as the host's bytes meet it (its faults are met through the recorder
// service's tests): a transfer, format, the rate switch, a folder served as the recorder, and its
// pacing on a pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/posix_serial_device.h"
#include "sim/pty_server.h"
#include "sim/sim_harness.h"
#include "sim/sim_options.h"
#include "sim/sim_recorder.h"

namespace brennix::sim::test {
namespace {

const std::string kEmptyFrame("\x04\x00\x96\xA5", 4);

std::string Frame(const std::string& data) {
    const unsigned sum = std::accumulate(data.begin(), data.end(), 0xA596u,
                                         [](unsigned s, char c) { return s + uint8_t(c); });
    const size_t length = data.size() + 4;
    return std::string{char(length & 0xFF), char(length >> 8)} + data +
           std::string{char(sum & 0xFF), char((sum >> 8) & 0xFF)};
}

// A recorder holding one file of 1500 bytes, on an unpaced line.
struct RecorderSim {
    explicit RecorderSim(const Faults& faults = {}) : sim(Unpaced({.recorderSamples = false})) {
        sim.instrument.GetFaults() = faults;
        sim.instrument.Recorder().AddFile({"LOG.000", Data(), 2006, 5, 17, 13, 45, 9});
    }
    static std::string Data() {
        std::string data(1500, '\0');
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<char>(i * 7);
        return data;
    }
    std::string DataFrame(int block) const {
        return Frame(Data().substr(static_cast<size_t>(block) * 1024, 1024));
    }

    SimHarness sim;
};

TEST(SimRecorder, DownloadRepeatsTheEntryThenSendsABlockPerAcknowledgement) {
    RecorderSim r;
    EXPECT_EQ(r.sim.Exchange("download log.000\r"), "download log.000\rOK\r\nc");
    const std::string entry = r.sim.Exchange("a");
    ASSERT_EQ(entry.size(), 32u);
    EXPECT_EQ(entry.substr(2, 8), std::string("LOG.000\0", 8));
    EXPECT_EQ(r.sim.Exchange("a"), r.DataFrame(0));
    EXPECT_EQ(r.sim.Exchange("b"), r.DataFrame(0));
    EXPECT_EQ(r.sim.Exchange("a"), r.DataFrame(1));
    EXPECT_EQ(r.sim.Exchange("a"), kEmptyFrame);
    EXPECT_EQ(r.sim.Exchange("a"), "\r\n>");
    EXPECT_EQ(r.sim.Exchange("Ver\r").substr(0, 4), "Ver\r");
}

TEST(SimRecorder, FormatAsksThenWorksWithDotsAndErasesOnlyOnYes) {
    RecorderSim no;
    EXPECT_EQ(no.sim.Exchange("format\r"),
              "format\r\r\nErase all files on the recorder? YES or NO\r\n");
    EXPECT_EQ(no.sim.Exchange("no\r"), "no\r\r\nFormat aborted\r\n>");
    EXPECT_EQ(no.sim.instrument.Recorder().Files().size(), 1u);

    RecorderSim yes;
    yes.sim.Exchange("format\r");
    EXPECT_EQ(yes.sim.Exchange("yes\r"), "yes\r\r\nFormatting");
    EXPECT_EQ(yes.sim.Exchange("bbb \r", 2500), "..");  // busy: not even echoed
    EXPECT_EQ(yes.sim.instrument.Recorder().Files().size(), 1u);
    EXPECT_EQ(yes.sim.Collect(500), "\r\nOK\r\n>");
    EXPECT_TRUE(yes.sim.instrument.Recorder().Files().empty());
}

TEST(SimRecorder, BaudIsAcknowledgedAtTheOldRateThenOnlyTheNewOneIsHeard) {
    SimHarness sim(Unpaced({.baudRate = 9600}));
    EXPECT_EQ(sim.Exchange("BAUD 0 57600\r"), "BAUD 0 57600\rOK\r\n>");
    EXPECT_EQ(sim.Exchange("Ver\r"), "");
    sim.instrument.HostSetBaudRate(57600);
    EXPECT_EQ(sim.Exchange("\r"), "\r>");
    EXPECT_EQ(sim.instrument.GetSettings().baudRate, 57600u);

    for (const char* refused : {"BAUD 0 14400\r", "BAUD 1 9600\r", "BAUD 0\r"}) {
        EXPECT_NE(sim.Exchange(refused).find("ERROR"), std::string::npos) << refused;
    }
    sim.instrument.GetFaults().refuseBaud = true;
    EXPECT_NE(sim.Exchange("BAUD 0 9600\r").find("ERROR"), std::string::npos);
    EXPECT_EQ(sim.instrument.GetSettings().baudRate, 57600u);
}

TEST(SimRecorder, ServesAFolderSortedByNameDatedByModificationLeavingOutLongNames) {
    char pattern[] = "/tmp/brennix-recorder-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path folder(pattern);
    std::ofstream(folder / "B.000") << "second";
    std::ofstream(folder / "A.000") << "first";
    std::ofstream(folder / "MUCH_TOO_LONG.000") << "left out";
    std::filesystem::create_directory(folder / "SUB");
    // 2006-05-17 13:45:09 local time
    std::tm local{};
    local.tm_year = 106;
    local.tm_mon = 4;
    local.tm_mday = 17;
    local.tm_hour = 13;
    local.tm_min = 45;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    const timespec times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (folder / "A.000").c_str(), times, 0), 0);

    SimulatedInstrument instrument({.recorderFolder = folder.string()});
    const SimRecorder& recorder = instrument.Recorder();
    EXPECT_TRUE(recorder.FolderError().empty());
    ASSERT_EQ(recorder.Files().size(), 2u);
    EXPECT_EQ(recorder.Files()[0].name, "A.000");
    EXPECT_EQ(recorder.Files()[0].data, "first");
    EXPECT_EQ(recorder.Files()[0].year, 2006);
    EXPECT_EQ(recorder.Files()[0].month, 5);
    EXPECT_EQ(recorder.Files()[0].hour, 13);
    EXPECT_EQ(recorder.SkippedNames(), std::vector<std::string>{"MUCH_TOO_LONG.000"});
    std::filesystem::remove_all(folder);

    SimulatedInstrument gone({.recorderFolder = folder.string()});
    EXPECT_NE(gone.Recorder().FolderError().find(folder.string()), std::string::npos);
}

TEST(SimRecorder, OptionsSetTheFolderAndTheFaults) {
    std::string error;
    Faults faults;
    const std::optional<Settings> settings = ParseSimArguments(
        {"--recorder-dir", "/data", "--bad-checksum-block", "3", "--bad-checksum-sends", "2",
         "--drop-block", "4", "--stall-after", "5", "--reject-download", "--refuse-baud"},
        error, &faults);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(settings->recorderFolder, "/data");
    EXPECT_EQ(faults.badChecksumBlock, 3);
    EXPECT_EQ(faults.badChecksumSends, 2);
    EXPECT_EQ(faults.droppedBlock, 4);
    EXPECT_EQ(faults.stallAfterBlocks, 5);
    EXPECT_TRUE(faults.rejectDownload && faults.refuseBaud);
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--recorder-dir"}, {"--drop-block", "-1"}, {"--stall-after", "x"}}) {
        EXPECT_FALSE(ParseSimArguments(bad, error)) << bad.front();
        EXPECT_NE(error.find(bad.front()), std::string::npos) << error;
    }
}

// On a pseudo-terminal the blocks leave no faster than ten bits a byte at the rate that "BAUD"
// switched to, and not at the old rate either.
TEST(SimRecorder, PacingHoldsOnAPseudoTerminalAtTheSwitchedRate) {
    constexpr uint32_t kBaud = 115200;
    SimulatedInstrument instrument({.baudRate = 9600, .recorderSamples = false});
    instrument.Recorder().AddFile({"PACE.000", std::string(4096, 'p')});
    PtyServer server(instrument);
    ASSERT_TRUE(server.Start()) << server.Error();
    SystemClock clock;
    PosixSerialDevice device;
    CSerialLink link(device, clock);
    ASSERT_TRUE(link.Open(server.SlavePath(), 9600));
    std::array<char, 64> reply{};
    ASSERT_TRUE(link.Write("BAUD 0 115200\r", 200, false));
    ASSERT_TRUE(link.ReadUntil(reply, "OK\r\n>", 2000, 0, false));
    ASSERT_TRUE(link.SetBaudRate(kBaud));
    ASSERT_TRUE(link.Write("download PACE.000\r", 200, false));
    ASSERT_TRUE(link.ReadUntil(reply, "c", 2000, 0, false));

    size_t bytes = 0;
    std::chrono::steady_clock::time_point first;
    for (int block = 0; block < 6; ++block) {
        ASSERT_TRUE(link.WriteChar('a', 0));
        std::array<uint8_t, 1100> frame{};
        size_t done = 0;
        ASSERT_TRUE(link.Read(std::span(frame).first(2), done, 2000, false));
        if (block == 0)
            first = std::chrono::steady_clock::now();
        const size_t rest = frame[0] + frame[1] * 256u - 2;
        ASSERT_TRUE(link.Read(std::span(frame).subspan(2, rest), done, 2000, false));
        bytes += 2 + rest;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
    // The first byte is already in when the clock starts.
    const double lineSeconds = (bytes - 1) * 10.0 / kBaud;
    EXPECT_GE(seconds, lineSeconds);
    EXPECT_LT(seconds, 3 * lineSeconds);
}

}  // namespace
}  // namespace brennix::sim::test
