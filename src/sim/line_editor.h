#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace brennix::sim {

// The instrument's command line: collects received characters, echoes them, and hands over a
// line when CR arrives. LF is ignored; backspace and DEL take back the last character.
class LineEditor {
  public:
    static constexpr size_t kMaxLineLength = 510;

    // Takes one received byte and appends its echo; returns the line a CR completed.
    std::optional<std::string> Take(uint8_t byte, std::string& echo);
    void Clear();

  private:
    std::string line_;
};

}  // namespace brennix::sim
