#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "instrument/scripted_device.h"

namespace brennix::test {

// The far end of a ScriptedDevice acting as a simple instrument: while awake it echoes every byte
// but CR and LF and, on CR, sends the reply its table holds for the line, prompt included (a line
// not in the table gets a line end and the prompt). Asleep it hears nothing but its wake word.
class ScriptedInstrument {
  public:
    explicit ScriptedInstrument(ScriptedDevice& device);

    std::map<std::string, std::string> replies;
    bool awake = true;
    bool echo = true;
    std::string wakeWord;
    uint32_t replyDelayMs = 0;
    // This many echoed bytes arrive garbled.
    int garbledEchoes = 0;

  private:
    void Hear(uint8_t byte);
    void Answer();

    ScriptedDevice& device_;
    std::string line_;
    std::string heard_;
};

}  // namespace brennix::test
