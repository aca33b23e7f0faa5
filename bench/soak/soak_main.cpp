// Long sessions on the simulated instrument, on virtual time: the terminal showing streamed
// output for an hour, the diagnostics collecting 10 000 frames, and 200 open-close cycles of every
// feature's service, the instrument asked to answer after each; all of it twice. The figures are
// taken after the first round and again at the end: more than 5 % more resident memory, one
// thread or one open file more, is a failure. Built with the sanitizers by
// scripts/soak, which also fails on any report of theirs.
#include <cstdio>
#include <cstdlib>

#include "link/serial_poll.h"
#include "soak/process_figures.h"
#include "soak/service_cycles.h"
#include "support/sim_session.h"

namespace brennix::soak {

namespace {

constexpr uint32_t kTerminalMs = 3600 * 1000;
constexpr uint32_t kTerminalPollMs = 500;
constexpr size_t kDiagnosticFrames = 10000;
constexpr int kCycles = 200;
constexpr double kAllowedGrowth = 0.05;

// "compass cal" streams the attitude until a line end; the terminal shows it as it comes.
bool StreamToTerminal(test::SimSession& sim, uint32_t ms) {
    sim.link.Write("compass cal\r", 1000, false);
    for (uint32_t start = sim.clock.TickCount(); sim.clock.TickCount() - start < ms;) {
        SerialPoll::Run(sim.link);
        sim.clock.Sleep(kTerminalPollMs);
    }
    sim.link.Write("\r", 1000, false);
    sim.clock.Sleep(kTerminalPollMs);
    SerialPoll::Run(sim.link);
    return !sim.terminal.Text().empty();
}

// Every activity once; the instrument must answer after each.
bool EveryActivity(test::SimSession& sim, uint32_t terminalMs, size_t frames) {
    const bool done = StreamToTerminal(sim, terminalMs) && DiagnosticsCycle(sim, frames) &&
                      SetupCycle(sim) && RecorderCycle(sim) && CompassCycle(sim) &&
                      DiagnosticsCycle(sim, 2) && sim.session.Instrument().SendCommand("Ver");
    // What the simulated instrument heard is the test rig's record, not the program's memory.
    sim.instrument.ClearReceived();
    sim.ui.messages.clear();
    return done;
}

bool Report(const ProcessFigures& start, const ProcessFigures& end) {
    std::printf("start: %s\nend:   %s\n", start.Text().c_str(), end.Text().c_str());
    const double growth = (static_cast<double>(end.residentKb) - start.residentKb) /
                          static_cast<double>(start.residentKb);
    std::printf("resident memory grew %.1f %%\n", growth * 100.0);
    bool passed = growth <= kAllowedGrowth;
    if (end.threads != start.threads) {
        std::printf("threads left running: %zu\n", end.threads - start.threads);
        passed = false;
    }
    for (const std::string& file : FilesLeftOpen(start, end)) {
        std::printf("file left open: %s\n", file.c_str());
        passed = false;
    }
    std::printf(passed ? "PASS\n" : "FAIL\n");
    return passed;
}

// The long session, then short cycles of every activity.
bool Soak(test::SimSession& sim, uint32_t terminalMs, size_t frames, int cycles) {
    bool ran = EveryActivity(sim, terminalMs, frames);
    std::printf("after the long session: %s\n", ProcessFigures::Now().Text().c_str());
    for (int cycle = 0; ran && cycle < cycles; ++cycle) {
        ran = EveryActivity(sim, kTerminalPollMs, 2);
    }
    return ran;
}

int Run() {
    test::SimSession sim;
    // The first round fills what grows to a size of its own and stays there: the allocator's
    // pools, the sanitizer's quarantine of freed memory, the workers' stacks the C library keeps
    // for the next thread. The second must leave the figures where the first did.
    if (!sim.session.Instrument().SendCommand("Ver") ||
        !Soak(sim, kTerminalMs, kDiagnosticFrames, kCycles)) {
        std::printf("FAIL: the first round did not run\n");
        return EXIT_FAILURE;
    }
    const ProcessFigures start = ProcessFigures::Now();
    const bool ran = Soak(sim, kTerminalMs, kDiagnosticFrames, kCycles);
    const ProcessFigures end = ProcessFigures::Now();
    std::printf("virtual time: %.1f h\n", sim.clock.TickCount() / 3600000.0);
    if (!ran) {
        std::printf("FAIL: an activity did not run to its end\n");
    }
    return Report(start, end) && ran ? EXIT_SUCCESS : EXIT_FAILURE;
}

}  // namespace

}  // namespace brennix::soak

int main() {
    // Each figure shows as it is taken, also when the output goes to a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    return brennix::soak::Run();
}
