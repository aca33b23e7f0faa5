#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "sim/config_blocks.h"
#include "sim/setting_store.h"
#include "sim/sim_mode.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The instrument's command set: identification, configuration blocks, settings, help pages and
// mode switches, plus whatever the instrument's other parts register (a recorder, a compass...).
// Every answer ends with the prompt, except those that switch into another mode.
class CommandInterpreter {
  public:
    // Runs a command word's line: the rest of the line after the word, and the time it arrived.
    using Handler = std::function<Reply(std::string_view argument, int64_t nowMs)>;

    CommandInterpreter(const Settings& settings, const Faults& faults, ModeHost& host);

    // Adds command words (matched in any case); a later registration of a word wins.
    void Register(std::initializer_list<std::string_view> words, Handler handler);
    Reply Run(std::string_view line, int64_t nowMs);

    ConfigBlocks& Blocks() { return blocks_; }
    SettingStore& Store() { return store_; }

    // The answers most commands end with.
    static Reply Answer(std::string text);
    static Reply Ok();
    // Error texts never repeat what the user typed, so they can never hold "OK" or a prompt.
    static Reply Error(std::string_view what);

  private:
    struct Command {
        std::vector<std::string_view> words;
        Handler handler;
    };

    void RegisterBuiltIns();
    const Command* Find(std::string_view word) const;
    Reply Banner() const;
    Reply SystemType() const;
    Reply GetBlock(std::string_view name) const;
    Reply Sdi12(std::string_view argument);
    Reply Sensor(std::string_view argument) const;
    Reply Setting(const SettingSpec& spec, std::string_view value);

    const Settings& settings_;
    const Faults& faults_;
    ModeHost& host_;
    ConfigBlocks blocks_;
    SettingStore store_;
    std::vector<Command> commands_;
};

}  // namespace brennix::sim
