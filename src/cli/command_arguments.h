#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brennix::cli {

// The value of a numeric option: a whole number from min to max. Otherwise none, and error says
// why: "--frames must be from 1 to 4294967295, not '0'", "--wait needs a whole number, not 'x'".
std::optional<uint32_t> ParseNumberOption(const std::string& name, const std::string& text,
                                          uint32_t min, uint32_t max, std::string& error);

// A command's own arguments, taken one kind at a time; whatever is left over is an error.
//
//   CommandArguments args(options.commandArguments);
//   args.TakeNumber("--wait", waitMs);
//   if (!args.TakePositional(line, "LINE") || !args.Finish()) -> args.Error()
class CommandArguments {
  public:
    explicit CommandArguments(std::vector<std::string> arguments);

    // An option without a value; true when it was there.
    bool TakeFlag(const std::string& name);
    // An option with a value; false (with the error set) when the value is missing.
    bool TakeText(const std::string& name, std::string& value);
    // A number from min to max; value stays as it was when the option is not given.
    bool TakeNumber(const std::string& name, uint32_t& value, uint32_t min = 0,
                    uint32_t max = UINT32_MAX);
    // An option whose value must be one of choices, in any case; value gets the choice as listed.
    bool TakeChoice(const std::string& name, const std::vector<std::string>& choices,
                    std::string& value);
    // Every occurrence of an option that takes one value or more, each with every word after its
    // first value up to the next option ("--set A=1 B=2 --set C=3").
    bool TakeList(const std::string& name, std::vector<std::string>& values);
    // The next word that is not an option; false (with the error naming what) when there is none.
    bool TakePositional(std::string& value, const std::string& what);
    // All remaining words that are not options.
    std::vector<std::string> TakeRemainingPositionals();
    // True when nothing is left over; otherwise the error names the first stray argument.
    bool Finish();

    // A command's own verdict on what it took; false, with the error set.
    bool Reject(const std::string& message) { return Fail(message); }

    // Every option the command asked for, in order, and the choices of those that take one:
    // what the shell completion must offer.
    const std::vector<std::string>& OptionsAsked() const { return optionsAsked_; }
    const std::map<std::string, std::vector<std::string>>& ChoicesAsked() const {
        return choicesAsked_;
    }

    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }
    // Records a rule of the command's own that the arguments break (the first error stays);
    // returns false.
    bool Fail(const std::string& message);

  private:
    void Asked(const std::string& name);

    std::vector<std::string> arguments_;
    std::string error_;
    std::vector<std::string> optionsAsked_;
    std::map<std::string, std::vector<std::string>> choicesAsked_;
};

}  // namespace brennix::cli
