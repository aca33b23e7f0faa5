#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "sim/simulated_instrument.h"

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
    const std::string& SlavePath() const;
    const std::string& Error() const;
};

}  // namespace brennix::sim
