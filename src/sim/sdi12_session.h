#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brennix::sim {

// The instrument in SDI-12 mode: no echo, no prompt, commands end with "!". Wake-up traffic (a
// blank line, plus signs, a BREAK) is answered with a notice; "?EXIT!" followed by "!" leaves.
class Sdi12Session {
  public:
    static constexpr std::string_view kModeNotice = "System is in SDI-12 Mode\r\n";

    struct Outcome {
        std::string reply;
        bool leave = false;  // the host asked to go back to the command mode
    };

    // modelToken names the instrument in its SDI-12 identification.
    explicit Sdi12Session(std::string_view modelToken);

    Outcome Take(uint8_t byte);
    void Reset();

  private:
    std::string Answer(const std::string& command) const;

    std::string modelToken_;
    std::string command_;
    bool exitArmed_ = false;
    int plusSigns_ = 0;
};

}  // namespace brennix::sim
