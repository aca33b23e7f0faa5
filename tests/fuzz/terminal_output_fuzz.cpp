// Whatever an instrument sends, binary included, goes through the terminal's output path: the
// pane's append rule (backspace and DEL erase, 0x04 shows as a blank, the pane kept between 4000
// and 9000 characters) and the console's line-end handling, in pieces as the port delivers them.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "cli/stream_output_window.h"
#include "link/output_window.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brennix;
    static std::FILE* const sink = std::fopen("/dev/null", "w");
    StringTerminalPane pane;
    cli::StreamOutputWindow terminal(sink, cli::StreamOutputWindow::Mode::kTerminal);
    cli::StreamOutputWindow lines(sink, cli::StreamOutputWindow::Mode::kLines);
    // The first byte cuts the rest into pieces of that size, as reads of the port would.
    const size_t piece = size > 0 ? std::max<size_t>(data[0], 1) : 1;
    for (size_t at = size > 0 ? 1 : 0; at < size; at += piece) {
        const size_t length = std::min(piece, size - at);
        pane.Append(data + at, length);
        terminal.Append(data + at, length);
        lines.Append(data + at, length);
        if (pane.Text().size() > TerminalPane::kTrimAbove) {
            __builtin_trap();
        }
    }
    terminal.Finish();
    lines.Finish();
    return 0;
}
