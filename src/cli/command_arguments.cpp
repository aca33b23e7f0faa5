#include "cli/command_arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/number_text.h"

namespace brennix::cli {

namespace {

bool IsOption(const std::string& word) {
    return word.size() > 1 && word.starts_with("-");
}

}  // namespace

std::optional<uint32_t> ParseNumberOption(const std::string& name, const std::string& text,
                                          uint32_t min, uint32_t max, std::string& error) {
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [next, status] = std::from_chars(text.data(), end, value);
    if (!text.empty() && status == std::errc() && next == end && value >= min && value <= max) {
        return value;
    }
    // A sign, or more digits than 32 bits hold, is a number all the same: its range is the news.
    error = name +
            (IsWholeNumberText(text) && text.find_first_of(" \t") == std::string::npos
                 ? " must be from " + std::to_string(min) + " to " + std::to_string(max)
                 : std::string(" needs a whole number")) +
            ", not '" + text + "'";
    return std::nullopt;
}

CommandArguments::CommandArguments(std::vector<std::string> arguments)
    : arguments_(std::move(arguments)) {}

void CommandArguments::Asked(const std::string& name) {
    if (std::find(optionsAsked_.begin(), optionsAsked_.end(), name) == optionsAsked_.end()) {
        optionsAsked_.push_back(name);
    }
}

bool CommandArguments::TakeFlag(const std::string& name) {
    Asked(name);
    const auto found = std::find(arguments_.begin(), arguments_.end(), name);
    if (found == arguments_.end()) {
        return false;
    }
    arguments_.erase(found);
    return true;
}

bool CommandArguments::TakeText(const std::string& name, std::string& value) {
    Asked(name);
    const auto found = std::find(arguments_.begin(), arguments_.end(), name);
    if (found == arguments_.end()) {
        return true;
    }
    if (found + 1 == arguments_.end()) {
        return Fail(name + " needs a value");
    }
    value = *(found + 1);
    arguments_.erase(found, found + 2);
    return true;
}

bool CommandArguments::TakeNumber(const std::string& name, uint32_t& value, uint32_t min,
                                  uint32_t max) {
    std::string taken;
    const bool present = std::find(arguments_.begin(), arguments_.end(), name) != arguments_.end();
    if (!TakeText(name, taken)) {
        return false;
    }
    if (!present) {
        return true;
    }
    std::string error;
    const std::optional<uint32_t> number = ParseNumberOption(name, taken, min, max, error);
    if (!number) {
        return Fail(error);
    }
    value = *number;
    return true;
}

bool CommandArguments::TakeChoice(const std::string& name, const std::vector<std::string>& choices,
                                  std::string& value) {
    choicesAsked_[name] = choices;
    std::string taken;
    const bool present = std::find(arguments_.begin(), arguments_.end(), name) != arguments_.end();
    if (!TakeText(name, taken) || !present) {
        return !Failed();
    }
    const auto sameText = [&taken](const std::string& choice) {
        return std::equal(choice.begin(), choice.end(), taken.begin(), taken.end(),
                          [](char a, char b) {
                              return std::tolower(static_cast<unsigned char>(a)) ==
                                     std::tolower(static_cast<unsigned char>(b));
                          });
    };
    const auto found = std::find_if(choices.begin(), choices.end(), sameText);
    if (found == choices.end()) {
        std::string list;
        for (const std::string& choice : choices) {
            list += (list.empty() ? "" : ", ") + choice;
        }
        return Fail(name + " takes one of " + list + ", not '" + taken + "'");
    }
    value = *found;
    return true;
}

bool CommandArguments::TakeList(const std::string& name, std::vector<std::string>& values) {
    Asked(name);
    for (auto found = std::find(arguments_.begin(), arguments_.end(), name);
         found != arguments_.end(); found = std::find(found, arguments_.end(), name)) {
        if (found + 1 == arguments_.end()) {
            return Fail(name + " needs a value");
        }
        const auto end = std::find_if(found + 2, arguments_.end(), IsOption);
        values.insert(values.end(), found + 1, end);
        found = arguments_.erase(found, end);
    }
    return true;
}

bool CommandArguments::TakePositional(std::string& value, const std::string& what) {
    const auto found = std::find_if_not(arguments_.begin(), arguments_.end(), IsOption);
    if (found == arguments_.end()) {
        return Fail("the command needs " + what);
    }
    value = *found;
    arguments_.erase(found);
    return true;
}

std::vector<std::string> CommandArguments::TakeRemainingPositionals() {
    std::vector<std::string> words;
    std::copy_if(arguments_.begin(), arguments_.end(), std::back_inserter(words),
                 [](const std::string& word) { return !IsOption(word); });
    std::erase_if(arguments_, [](const std::string& word) { return !IsOption(word); });
    return words;
}

bool CommandArguments::Finish() {
    if (Failed()) {
        return false;
    }
    if (!arguments_.empty()) {
        return Fail((IsOption(arguments_.front()) ? "unknown option " : "unexpected argument ") +
                    arguments_.front());
    }
    return true;
}

bool CommandArguments::Fail(const std::string& message) {
    if (error_.empty()) {
        error_ = message;
    }
    return false;
}

}  // namespace brennix::cli
