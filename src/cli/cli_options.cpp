#include "cli/cli_options.h"

#include "cli/command_arguments.h"
#include "link/connect_search.h"
#include "link/rs485_address.h"
#include "platform/number_text.h"
#include "sim/model_names.h"

namespace brennix::cli {
namespace {

constexpr const char* kPortChoiceError = "give either --port NAME or --simulate";
// Asks the connect search to find the port or the rate.
constexpr const char* kAutoWord = "auto";

class Parser {
  public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    ParseResult Parse() {
        for (index_ = 0; index_ < arguments_.size(); ++index_) {
            if (!ParseOne(arguments_[index_])) {
                return {std::nullopt, error_, {}};
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
        if (argument == "--port") {
            return TakeText(argument, options_.port);
        }
        if (argument == "--log") {
            return TakeText(argument, options_.logPath);
        }
        if (argument == "--log-time-stamps") {
            options_.logTimeStamps = true;
            return true;
        }
        if (argument == "--model") {
            modelGiven_ = true;
            return TakeText(argument, options_.simulatedModel);
        }
        if (argument == "--baud") {
            return TakeRate(argument);
        }
        if (argument == "--rs485") {
            return TakeRs485Address(argument);
        }
        if (!commandSeen_ && !argument.starts_with("-")) {
            options_.command = argument;
            commandSeen_ = true;
            return true;
        }
        options_.commandArguments.push_back(argument);
        return true;
    }

    bool TakeText(const std::string& option, std::string& target) {
        if (index_ + 1 >= arguments_.size()) {
            return Fail(option + " needs a value");
        }
        target = arguments_[++index_];
        return true;
    }

    // "auto" has the connect search find the rate.
    bool TakeRate(const std::string& option) {
        std::string text;
        if (!TakeText(option, text)) {
            return false;
        }
        if (text == kAutoWord) {
            options_.baudRate = CConnectSearch::kAutoRate;
            return true;
        }
        std::string error;
        const std::optional<uint32_t> rate = ParseNumberOption(option, text, 1, UINT32_MAX, error);
        if (!rate) {
            return Fail(error + "; or auto to search for it");
        }
        options_.baudRate = *rate;
        return true;
    }

    // A number out of range would put other bytes on the bus and address another instrument.
    bool TakeRs485Address(const std::string& option) {
        std::string text;
        if (!TakeText(option, text)) {
            return false;
        }
        if (!IsWholeNumberText(text)) {
            return Fail(option + " needs a whole number, not '" + text + "'");
        }
        const std::optional<uint32_t> address = ParseRs485Address(text);
        if (!address) {
            return Fail(option + " " + text + " is out of range: " + kRs485AddressRule);
        }
        options_.rs485Address = *address;
        return true;
    }

    ParseResult Finish() {
        if (options_.simulate && !options_.port.empty()) {
            return {std::nullopt, kPortChoiceError, {}};
        }
        if (options_.port == kAutoWord) {
            options_.port = CConnectSearch::kAutoPort;
        }
        if (options_.simulate && !sim::ParseModelName(options_.simulatedModel)) {
            return {std::nullopt,
                    "unknown model '" + options_.simulatedModel + "'; --model takes one of " +
                        sim::ModelNameList(),
                    {}};
        }
        ParseResult result{options_, {}, {}};
        if (modelGiven_ && !options_.simulate) {
            result.warnings.push_back(
                "--model only chooses the simulated instrument; with --port "
                "the instrument on the port answers for itself");
        }
        if (options_.logTimeStamps && options_.logPath.empty()) {
            result.warnings.push_back(
                "--log-time-stamps stamps the lines of a log file: give one "
                "with --log FILE");
        }
        return result;
    }

    bool Fail(const std::string& message) {
        error_ = message;
        return false;
    }

    const std::vector<std::string>& arguments_;
    size_t index_ = 0;
    CliOptions options_;
    bool commandSeen_ = false;
    bool modelGiven_ = false;
    std::string error_;
};

}  // namespace

ParseResult ParseCliOptions(const std::vector<std::string>& arguments) {
    return Parser(arguments).Parse();
}

std::string PortChoiceError(const CliOptions& options) {
    return options.simulate == options.port.empty() ? std::string() : kPortChoiceError;
}

}  // namespace brennix::cli
