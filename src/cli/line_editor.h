#pragma once

#include <memory>

#include "cli/console_line_reader.h"

namespace brennix::cli {

// The console's line reader when a person types at a terminal: line editing, the arrow keys and
// a history of the session's lines, while the port is still polled as a line is typed. libedit
// on Linux; the Windows console edits a line itself before handing it over.
std::unique_ptr<ConsoleLineReader> MakeLineEditor(int fd);

}  // namespace brennix::cli
