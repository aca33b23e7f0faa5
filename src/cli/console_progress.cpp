#include "cli/console_progress.h"

#include <algorithm>

namespace brennix::cli {

namespace {

constexpr int kBarWidth = 30;
constexpr int kPercent = 100;

}  // namespace

void ConsoleProgress::Show(const std::string& subject, int position, int range,
                           const std::string& detail) {
    const int percent = range > 0 ? std::clamp(position * kPercent / range, 0, kPercent) : 0;
    if (terminal_) {
        Redraw(subject, percent, detail);
        return;
    }
    const int tenth = percent / 10;
    if (subject == lastSubject_ && tenth == lastTenth_) {
        return;
    }
    lastSubject_ = subject;
    lastTenth_ = tenth;
    std::fprintf(stream_, "%s %3d%%%s%s\n", subject.c_str(), percent, detail.empty() ? "" : "  ",
                 detail.c_str());
    std::fflush(stream_);
}

void ConsoleProgress::Redraw(const std::string& subject, int percent, const std::string& detail) {
    const int filled = percent * kBarWidth / kPercent;
    const std::string bar = std::string(static_cast<size_t>(filled), '#') +
                            std::string(static_cast<size_t>(kBarWidth - filled), '.');
    // Clears to the end of the line, so a shorter line leaves nothing of a longer one.
    std::fprintf(stream_, "\r[%s] %3d%%  %s  %s\x1b[K", bar.c_str(), percent, subject.c_str(),
                 detail.c_str());
    std::fflush(stream_);
    drawn_ = true;
}

void ConsoleProgress::Finish() {
    if (drawn_) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
        drawn_ = false;
    }
}

}  // namespace brennix::cli
