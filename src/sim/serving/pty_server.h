#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <thread>

#include "sim/host_line.h"
#include "sim/serving/real_time_line.h"
#include "sim/wire_transcript.h"

namespace brennix::sim {

// Serves a simulated instrument (or a bus of them) on a pseudo-terminal in real time, on a thread
// of its own, so any program can open SlavePath() as if it were a serial port. The simulator
// hears only at the rate the program set on the shared tty.
class PtyServer {
  public:
    explicit PtyServer(HostLine& line);
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

    RealTimeLine line_;
    int masterFd_ = -1;
    // Held open so that the program may close and reopen its end without the master hanging up.
    int slaveFd_ = -1;
    std::array<int, 2> stopPipe_ = {-1, -1};
    std::thread thread_;
    std::string slavePath_;
    std::string error_;
    std::string pendingOutput_;  // taken from the instrument, not yet accepted by the tty
    WireTranscript* transcript_ = nullptr;
    uint32_t transcriptRate_ = 0;
};

}  // namespace brennix::sim
