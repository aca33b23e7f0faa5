#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brennix::cli {

// The options every command shares, the command's name and the arguments that are the
// command's own.
struct CliOptions {
    std::string port;  // empty with simulate; CConnectSearch::kAutoPort to search every port
    bool simulate = false;
    std::string simulatedModel = "Mirovan";
    uint32_t baudRate = 9600;  // CConnectSearch::kAutoRate to search the rates
    std::string logPath;
    bool logTimeStamps = false;  // each line of the log starts with the local time
    uint32_t rs485Address = 0;
    std::string command = "terminal";
    std::vector<std::string> commandArguments;
};

struct ParseResult {
    std::optional<CliOptions> options;
    std::string error;  // set when options is empty
    // Options that were understood but mean nothing here, for the user to hear about.
    std::vector<std::string> warnings;
};

// Shared options may stand anywhere; the first other word names the command, and everything
// else, in order, is left to the command.
ParseResult ParseCliOptions(const std::vector<std::string>& arguments);
// Why the options name no instrument (neither --port nor --simulate); empty when they do. Only
// commands that talk to an instrument need one.
std::string PortChoiceError(const CliOptions& options);

}  // namespace brennix::cli
