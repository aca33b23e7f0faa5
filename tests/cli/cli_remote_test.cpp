// Instruments behind a device server and on an RS-485 bus, as a technician reaches them with
// brennix-cli: a real ser2net on the loopback address, and a bus of simulated instruments on one
// pseudo-terminal.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "cli_run.h"
#include "support/loopback_port.h"

namespace brennix::test {
namespace {

using std::chrono::steady_clock;

// The bus is scanned in order; Ctrl-C in the silent address after the last instrument stops at
// once, and the instruments still answer at their addresses afterwards, to "send" too.
TEST(CliScan, ListsTheBusInOrderAndCtrlCStopsHalfWay) {
    Simulator bus({"--bus", "2:kMirovan,3:kKTX"});
    const std::string port = bus.Port();
    ChildProcess scan(Command(BRENNIX_CLI_PATH, {"--port", port, "scan"}));
    EXPECT_TRUE(scan.Shows("Scanning address 4", 40000));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    scan.Signal(SIGINT);
    EXPECT_EQ(scan.Wait(5000), 1);
    EXPECT_EQ(scan.Output(),
              " 1  silent\n"
              " 2  kMirovan               Ostrel Mirovan MRV Version 3.8\n"
              " 3  kKTX                   Ostrel KTX Version 2.4\n");
    EXPECT_NE(scan.Errors().find("the scan was stopped; no address is selected"), std::string::npos)
        << scan.Errors();

    const CliRun after({"--port", port, "--rs485", "3", "identify"});
    EXPECT_EQ(after.output, "kKTX\n") << after.errors;
    // Selection bytes go out before the first command, so the addressed instrument hears "send".
    const CliRun send({"--port", port, "--rs485", "3", "send", "Ver", "--wait", "800"});
    EXPECT_EQ(send.status, 0) << send.errors;
    EXPECT_THAT(send.output, HasSubstr("Ver\nOstrel KTX"));
}

bool Accepts(uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = LoopbackAddress(port);
    const bool accepted =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return accepted;
}

speed_t PtySpeed(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios mode{};
    const bool read = fd >= 0 && tcgetattr(fd, &mode) == 0;
    if (fd >= 0) {
        close(fd);
    }
    return read ? cfgetospeed(&mode) : B0;
}

// ser2net serves two simulators' pseudo-terminals: one with a raw accepter, one with
// telnet(rfc2217). Both identify; through RFC 2217 a recorder file comes down at 57600 byte for
// byte, with the pseudo-terminal itself at 57600 meanwhile and at 9600 again afterwards.
TEST(CliRemote, Ser2netServesRawAndRfc2217) {
    const char* ser2net = "/usr/sbin/ser2net";
    if (access(ser2net, X_OK) != 0) {
        GTEST_SKIP() << "ser2net is not installed (scripts/install-deps installs it): the test "
                        "through a real device server did not run";
    }
    const TempHome home;
    std::filesystem::create_directories(home.Path("recorder"));
    const std::string data = PutRandomFile(home.Path("recorder") / "BUOY.000", 20000);
    Simulator rawSim;
    Simulator rfcSim({"--recorder-dir", home.Path("recorder")});
    const uint16_t rawPort = FreeLoopbackPort();
    const uint16_t rfcPort = FreeLoopbackPort();
    std::ofstream(home.Path("ser2net.yaml"))
        << "connection: &raw\n  accepter: tcp,127.0.0.1," << rawPort << "\n  connector: serialdev,"
        << rawSim.Port() << ",9600n81,local\n"
        << "connection: &rfc\n  accepter: telnet(rfc2217),tcp,127.0.0.1," << rfcPort
        << "\n  connector: serialdev," << rfcSim.Port() << ",9600n81,local\n";
    ChildProcess server(Command(ser2net, {"-n", "-d", "-u", "-c", home.Path("ser2net.yaml"), "-P",
                                          home.Path("ser2net.pid")}));
    const auto deadline = steady_clock::now() + std::chrono::seconds(5);
    while (!(Accepts(rawPort) && Accepts(rfcPort)) && steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const std::string rfc = "rfc2217://127.0.0.1:" + std::to_string(rfcPort);
    for (const std::string& port : {"tcp://127.0.0.1:" + std::to_string(rawPort), rfc}) {
        const CliRun identify({"--port", port, "identify"});
        EXPECT_EQ(identify.output, "kMirovan\n") << port << identify.errors;
    }

    std::atomic<bool> downloading = true;
    std::atomic<bool> sawDownloadRate = false;
    std::thread watch([&] {
        while (downloading) {
            sawDownloadRate = sawDownloadRate || PtySpeed(rfcSim.Port()) == B57600;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const CliRun download({"--port", rfc, "recorder", "download", "BUOY.000", "--to",
                           home.Path("out"), "--rate", "57600"});
    downloading = false;
    watch.join();
    EXPECT_EQ(download.status, 0) << download.output << download.errors;
    EXPECT_TRUE(Contents(home.Path("out") / "BUOY.000.mrv") == data);
    EXPECT_TRUE(sawDownloadRate);
    EXPECT_EQ(PtySpeed(rfcSim.Port()), B9600);
}

}  // namespace
}  // namespace brennix::test
