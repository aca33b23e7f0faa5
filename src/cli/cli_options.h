#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brennix::cli {

enum class CliCommand { kTerminal, kSend, kIdentify, kConfig, kRun, kMenu };

struct CliOptions {
    std::string port;  // empty with simulate
    bool simulate = false;
    std::string simulatedModel = "Mirovan";
    uint32_t baudRate = 9600;
    std::string logPath;
    uint32_t rs485Address = 0;
    CliCommand command = CliCommand::kTerminal;
    std::string argument;    // the line of send, the file of run, the label of menu
    uint32_t waitMs = 1000;  // how long send keeps polling
};

struct ParseResult {
    std::optional<CliOptions> options;
    std::string error;  // set when options is empty
};

ParseResult ParseCliOptions(const std::vector<std::string>& arguments);
const char* CliUsage();

}  // namespace brennix::cli
