#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_command.h"
#include "script/commands_table.h"

namespace brennix::cli {

struct LabelMatch {
    const CommandEntry* entry = nullptr;
    std::string error;  // why none, when entry is empty
};
// The Commands entry a typed label names: the exact label, else the one label equal to it in
// any case.
LabelMatch FindCommandsEntry(const std::string& label);

// send LINE: one line as a typed command, then the replies for a while.
class SendCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    std::string line_;
    uint32_t waitMs_ = 1000;
};

// identify: wakes the instrument and prints its model, or the failure.
class IdentifyCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override { return arguments.Finish(); }
    int Run(CliSession& session) override;
};

// config: the Conf, User and Oper blocks as hex.
class ConfigCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override { return arguments.Finish(); }
    int Run(CliSession& session) override;
};

// run FILE: a command file, as Tools > Run command file does.
class RunFileCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    std::string path_;
    uint32_t waitMs_ = 1000;
};

// menu LABEL: a Commands menu entry, its label in any case as long as that names one entry;
// menu --list: the entries by group, without an instrument.
class MenuCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;
    std::optional<int> RunWithoutPort(std::FILE* out) override;

  private:
    std::string label_;
    uint32_t waitMs_ = 1000;
    bool list_ = false;
};

}  // namespace brennix::cli
