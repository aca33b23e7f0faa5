#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_command.h"

namespace brennix::cli {

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

// menu LABEL: a Commands menu entry.
class MenuCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    std::string label_;
    uint32_t waitMs_ = 1000;
};

}  // namespace brennix::cli
