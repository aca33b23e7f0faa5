#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "sim/simulated_instrument.h"
#include "sim/wire_transcript.h"

namespace brennix::sim {

// Serves a simulated instrument on a pseudo-terminal in real time, on a thread of its own, so any
// program can open SlavePath() as if it were a serial port. The simulator hears only at the rate
// the program set on the shared tty.
class PtyServer {
  public:
    explicit PtyServer(SimulatedInstrument& instrument);
    ~PtyServer();  // stops and closes the pseudo-terminal
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pseudo-terminal and starts serving; false with Error() set on failure.
    bool Start();
    void Stop();
    // Records the line's traffic from now on; set before Start.
    void SetTranscript(WireTranscript* transcript) { transcript_ = transcript; }
    const std::string& SlavePath() const;
    const std::string& Error() const;

  private:
    bool OpenPseudoTerminal();
    bool Fail(const std::string& what);
    void CloseDescriptors();
    void Serve();
    void TakeInput();
    void FlushOutput();
    // The time since the start as the instrument's tick and the microseconds into it.
    struct Instant {
        uint32_t tick;
        uint32_t microsecond;
    };
    Instant Now() const;

    SimulatedInstrument& instrument_;
    int masterFd_ = -1;
    // Held open so that the program may close and reopen its end without the master hanging up.
    int slaveFd_ = -1;
    std::array<int, 2> stopPipe_ = {-1, -1};
    std::thread thread_;
    std::string slavePath_;
    std::string error_;
    std::string pendingOutput_;  // taken from the instrument, not yet accepted by the tty
    std::chrono::steady_clock::time_point start_;
    WireTranscript* transcript_ = nullptr;
    uint32_t transcriptRate_ = 0;
};

}  // namespace brennix::sim
