#pragma once

#include <string>
#include <string_view>

#include "sim/config_blocks.h"
#include "sim/setting_store.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// What the instrument answers to one command line, and what it does afterwards.
struct Reply {
    enum class Then {
        kStay,        // stays in the command mode
        kEnterSdi12,  // switches to SDI-12 mode
        kSleep,       // starts measuring and answers nothing until woken
    };

    std::string text;  // everything after the echo, the prompt included when there is one
    Then then = Then::kStay;
};

// The instrument's command set: identification, configuration blocks, settings, help pages and
// mode switches. Every answer ends with the prompt, except the switch into SDI-12 mode.
class CommandInterpreter {
  public:
    CommandInterpreter(const Settings& settings, const Faults& faults);

    Reply Run(std::string_view line);
    const ConfigBlocks& Blocks() const { return blocks_; }

  private:
    Reply Banner() const;
    Reply SystemType() const;
    Reply GetBlock(std::string_view name) const;
    Reply Sdi12(std::string_view argument) const;
    Reply Compass(std::string_view argument) const;
    Reply Sensor(std::string_view argument) const;
    Reply Setting(const SettingSpec& spec, std::string_view value);

    const Settings& settings_;
    const Faults& faults_;
    ConfigBlocks blocks_;
    SettingStore store_;
};

}  // namespace brennix::sim
