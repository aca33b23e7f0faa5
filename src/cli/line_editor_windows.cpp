#include "cli/line_editor.h"

namespace brennix::cli {

// The console in its line mode already gives the arrow keys and a history (F7 lists it); the
// platform's reader takes each finished line, so the port is polled while one is being typed.
std::unique_ptr<ConsoleLineReader> MakeLineEditor(int fd) {
    return std::make_unique<ConsoleLineReader>(fd);
}

}  // namespace brennix::cli
