#pragma once

#include <cstdio>
#include <string>

namespace brennix::cli {

// A long job's progress on the console's error stream: on a terminal one line redrawn in place,
// with a bar, the percentage, what is being worked on and the time left; elsewhere (a log, a
// pipe) a plain line each time the work moves on to something new or ten percent further.
class ConsoleProgress {
  public:
    ConsoleProgress(std::FILE* stream, bool terminal) : stream_(stream), terminal_(terminal) {}

    void Show(const std::string& subject, int position, int range, const std::string& detail);
    // Ends the redrawn line, so what follows starts on a line of its own.
    void Finish();

  private:
    void Redraw(const std::string& subject, int percent, const std::string& detail);

    std::FILE* stream_;
    bool terminal_;
    bool drawn_ = false;
    std::string lastSubject_;
    int lastTenth_ = -1;
};

}  // namespace brennix::cli
