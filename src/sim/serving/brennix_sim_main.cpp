// brennix-sim: a simulated instrument, or a bus of them, on a pseudo-terminal or a TCP port of
// the loopback address. Prints the port's name on the first line and serves until SIGINT or
// SIGTERM.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "sim/serving/pty_server.h"
#include "sim/serving/serve_options.h"
#include "sim/serving/tcp_server.h"
#include "sim/sim_options.h"
#include "sim/sim_recorder.h"
#include "sim/simulated_bus.h"

namespace {

using namespace brennix::sim;

// Says which files of the recorder folder are left out; false when the folder cannot be served.
bool ServeRecorderFolder(SimulatedInstrument& instrument) {
    const SimRecorder& recorder = instrument.Recorder();
    if (!recorder.FolderError().empty()) {
        std::cerr << "brennix-sim: " << recorder.FolderError() << "\n";
        return false;
    }
    for (const std::string& name : recorder.SkippedNames()) {
        std::cerr << "brennix-sim: not on the recorder (name longer than 12 characters, or size "
                     "above 4 GB): "
                  << name << "\n";
    }
    return true;
}

// The instruments, as the arguments describe them; none, with the reason said, when they are
// not understood.
std::unique_ptr<SimulatedBus> MakeInstruments(std::vector<std::string> arguments,
                                              ServeOptions& serve) {
    std::string error;
    Faults faults;
    std::optional<ServeOptions> taken = TakeServeOptions(arguments, error);
    const std::optional<Settings> settings =
        taken ? ParseSimArguments(arguments, error, &faults) : std::nullopt;
    if (settings && settings->rs485Address != 0 && !taken->bus.empty()) {
        error = "--bus gives each instrument its address: leave out --rs485";
    } else if (settings) {
        serve = std::move(*taken);
        auto bus = std::make_unique<SimulatedBus>(InstrumentsToServe(*settings, serve));
        for (const auto& instrument : bus->Instruments()) {
            instrument->GetFaults() = faults;
        }
        return bus;
    }
    std::cerr << "brennix-sim: " << error << "\n" << kSimUsage;
    return nullptr;
}

// Prints the port's name and serves until SIGINT or SIGTERM; the exit status.
template <typename Server>
int ServeUntilStopped(Server& server, bool started, const std::string& name,
                      const sigset_t& stopSignals) {
    if (!started) {
        std::cerr << "brennix-sim: " << server.Error() << "\n";
        return 1;
    }
    std::cout << name << std::endl;
    int caught = 0;
    sigwait(&stopSignals, &caught);
    server.Stop();
    return 0;
}

int Serve(SimulatedBus& bus, const ServeOptions& serve, const sigset_t& stopSignals) {
    WireTranscript transcript;
    if (!serve.transcriptPath.empty() && !transcript.Open(serve.transcriptPath)) {
        std::cerr << "brennix-sim: cannot create " << serve.transcriptPath << ": "
                  << std::strerror(errno) << "\n";
        return 1;
    }
    // A bus of one is the instrument itself.
    HostLine& line = bus.Instruments().size() == 1 ? static_cast<HostLine&>(*bus.Instruments()[0])
                                                   : static_cast<HostLine&>(bus);
    if (serve.listenProtocol) {
        TcpServer server(line, *serve.listenProtocol);
        server.SetTranscript(&transcript);
        const bool started = server.Start(serve.listenPort);
        return ServeUntilStopped(server, started, server.Address(), stopSignals);
    }
    PtyServer server(line);
    server.SetTranscript(&transcript);
    const bool started = server.Start();
    return ServeUntilStopped(server, started, server.SlavePath(), stopSignals);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::cout << kSimUsage;
        return 0;
    }
    if (!arguments.empty() && arguments[0] == "--version") {
        std::cout << "brennix-sim " BRENNIX_VERSION "\n";
        return 0;
    }
    ServeOptions serve;
    const std::unique_ptr<SimulatedBus> bus = MakeInstruments(arguments, serve);
    if (bus == nullptr) {
        return 2;
    }
    for (const auto& instrument : bus->Instruments()) {
        if (!ServeRecorderFolder(*instrument)) {
            return 1;
        }
    }
    // Blocked before the server thread starts, so only sigwait receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    return Serve(*bus, serve, stopSignals);
}
