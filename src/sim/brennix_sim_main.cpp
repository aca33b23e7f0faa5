// brennix-sim: a simulated instrument on a pseudo-terminal. Prints the terminal's path on the
// first line and serves until SIGINT or SIGTERM.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "sim/pty_server.h"
#include "sim/sim_options.h"
#include "sim/sim_recorder.h"
#include "sim/simulated_instrument.h"

namespace {

// Says which files of the recorder folder are left out; false when the folder cannot be served.
bool ServeRecorderFolder(brennix::sim::SimulatedInstrument& instrument) {
    const brennix::sim::SimRecorder& recorder = instrument.Recorder();
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

// Takes "--transcript FILE" out of the arguments: a record of the line, not a property of the
// instrument.
std::vector<std::string> TakeTranscriptPath(std::vector<std::string> arguments, std::string& path) {
    for (size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "--transcript") {
            path = arguments[i + 1];
            arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                            arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            break;
        }
    }
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brennix::sim;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::cout << kSimUsage;
        return 0;
    }
    if (!arguments.empty() && arguments[0] == "--version") {
        std::cout << "brennix-sim " BRENNIX_VERSION "\n";
        return 0;
    }
    std::string error;
    Faults faults;
    std::string transcriptPath;
    const std::optional<Settings> settings =
        ParseSimArguments(TakeTranscriptPath(arguments, transcriptPath), error, &faults);
    if (!settings) {
        std::cerr << "brennix-sim: " << error << "\n" << kSimUsage;
        return 2;
    }

    // Blocked before the server thread starts, so only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimulatedInstrument instrument(*settings);
    instrument.GetFaults() = faults;
    if (!ServeRecorderFolder(instrument)) {
        return 1;
    }
    WireTranscript transcript;
    if (!transcriptPath.empty() && !transcript.Open(transcriptPath)) {
        std::cerr << "brennix-sim: cannot create " << transcriptPath << ": " << std::strerror(errno)
                  << "\n";
        return 1;
    }
    PtyServer server(instrument);
    server.SetTranscript(&transcript);
    if (!server.Start()) {
        std::cerr << "brennix-sim: " << server.Error() << "\n";
        return 1;
    }
    std::cout << server.SlavePath() << std::endl;

    int caught = 0;
    sigwait(&stopSignals, &caught);
    server.Stop();
    return 0;
}
