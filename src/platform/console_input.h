#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>

namespace brennix {

// The console the program was started from, by its descriptor (0 for standard input), for a
// loop that waits for typed lines and polls the port at once.

enum class ConsoleWait { kInput, kTimeout, kEnded };
// Waits at most timeoutMs for something to read; ended once the input is closed or has failed
// and nothing is left to read. An interrupted wait counts as a time-out.
ConsoleWait WaitForConsoleInput(int fd, int timeoutMs);
// Reads what is waiting, at most size bytes: how many, 0 when interrupted (read again), none at
// the end of the input or on a failure.
std::optional<size_t> ReadConsoleBytes(int fd, char* buffer, size_t size);

// The keys that end the input at the console: "Ctrl-D" on a terminal, "Ctrl-Z, Enter" in a
// Windows console.
const char* ConsoleEndOfInputKeys();

// A person's terminal, not a file or a pipe.
bool IsConsoleTerminal(int fd);
bool IsConsoleTerminal(std::FILE* stream);
// Keeps the terminal's mode as it is now, so that RestoreConsoleMode can put it back after a
// line editor changed it; RestoreConsoleMode is safe in a signal handler.
void KeepConsoleMode(int fd);
void RestoreConsoleMode();

}  // namespace brennix
