#include "cli/cli_options.h"

#include <charconv>
#include <map>

namespace brennix::cli {
namespace {

std::optional<uint32_t> ParseNumber(const std::string& text) {
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || next != end) {
        return std::nullopt;
    }
    return value;
}

const std::map<std::string, CliCommand> kCommands = {
    {"terminal", CliCommand::kTerminal}, {"send", CliCommand::kSend},
    {"identify", CliCommand::kIdentify}, {"config", CliCommand::kConfig},
    {"run", CliCommand::kRun},           {"menu", CliCommand::kMenu},
};

bool TakesArgument(CliCommand command) {
    return command == CliCommand::kSend || command == CliCommand::kRun ||
           command == CliCommand::kMenu;
}

// Walks the arguments once; options may stand before or after the command.
class Parser {
  public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    ParseResult Parse() {
        for (index_ = 0; index_ < arguments_.size(); ++index_) {
            if (!ParseOne(arguments_[index_])) {
                return {std::nullopt, error_};
            }
        }
        return Finish();
    }

  private:
    bool ParseOne(const std::string& argument) {
        if (argument == "--simulate") {
            options_.simulate = true;
            return true;
        }
        if (argument == "--port")
            return TakeText(argument, options_.port);
        if (argument == "--log")
            return TakeText(argument, options_.logPath);
        if (argument == "--model")
            return TakeText(argument, options_.simulatedModel);
        if (argument == "--baud")
            return TakeNumber(argument, options_.baudRate);
        if (argument == "--rs485")
            return TakeNumber(argument, options_.rs485Address);
        if (argument == "--wait")
            return TakeNumber(argument, options_.waitMs);
        if (argument.starts_with("--"))
            return Fail("unknown option " + argument);
        return TakeCommandWord(argument);
    }

    bool TakeCommandWord(const std::string& word) {
        if (!commandSeen_) {
            const auto found = kCommands.find(word);
            if (found == kCommands.end())
                return Fail("unknown command " + word);
            options_.command = found->second;
            commandSeen_ = true;
            return true;
        }
        if (TakesArgument(options_.command) && !argumentSeen_) {
            options_.argument = word;
            argumentSeen_ = true;
            return true;
        }
        return Fail("unexpected argument " + word);
    }

    bool TakeText(const std::string& option, std::string& target) {
        if (index_ + 1 >= arguments_.size())
            return Fail(option + " needs a value");
        target = arguments_[++index_];
        return true;
    }

    bool TakeNumber(const std::string& option, uint32_t& target) {
        std::string text;
        if (!TakeText(option, text))
            return false;
        const std::optional<uint32_t> value = ParseNumber(text);
        if (!value)
            return Fail(option + " needs a whole number, not '" + text + "'");
        target = *value;
        return true;
    }

    ParseResult Finish() {
        if (options_.simulate == !options_.port.empty()) {
            return {std::nullopt, "give either --port NAME or --simulate"};
        }
        if (TakesArgument(options_.command) && !argumentSeen_) {
            return {std::nullopt, "the command needs an argument"};
        }
        if (options_.baudRate == 0) {
            return {std::nullopt, "--baud needs a rate above 0"};
        }
        return {options_, {}};
    }

    bool Fail(const std::string& message) {
        error_ = message;
        return false;
    }

    const std::vector<std::string>& arguments_;
    size_t index_ = 0;
    CliOptions options_;
    bool commandSeen_ = false;
    bool argumentSeen_ = false;
    std::string error_;
};

}  // namespace

ParseResult ParseCliOptions(const std::vector<std::string>& arguments) {
    return Parser(arguments).Parse();
}

const char* CliUsage() {
    return "usage: brennix-cli (--port NAME | --simulate [--model NAME]) [--baud N] [--log FILE]\n"
           "                   [--rs485 N] [COMMAND]\n"
           "commands:\n"
           "  terminal            type commands, see everything the instrument sends (default)\n"
           "  send LINE [--wait MS]  send one line as a typed command, show replies for MS ms\n"
           "  identify            wake the instrument and print its model\n"
           "  config              print the Conf, User and Oper blocks as hex\n"
           "  run FILE            run a command file\n"
           "  menu LABEL          run a Commands menu entry by its label\n"
           "exit status: 0 success, 1 the command failed, 2 the port could not be opened\n";
}

}  // namespace brennix::cli
