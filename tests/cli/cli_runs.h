#pragma once

#include <string>
#include <vector>

#include "child_process.h"

namespace brennix::test {

using Arguments = std::vector<std::string>;

inline Arguments Command(const char* program, Arguments arguments) {
    arguments.insert(arguments.begin(), program);
    return arguments;
}

// brennix-sim running for the life of the object; Port() is the path it serves.
class Simulator {
  public:
    explicit Simulator(Arguments options = {}) : process_(Command(BRENNIX_SIM_PATH, options)) {}
    std::string Port() const { return process_.FirstLine(5000); }

  private:
    ChildProcess process_;
};

// One run of brennix-cli to its end, with what it printed.
struct CliRun {
    CliRun(Arguments arguments, const std::string& input = {}) {
        ChildProcess cli(Command(BRENNIX_CLI_PATH, std::move(arguments)), input);
        status = cli.Wait(30000);
        output = cli.Output();
        errors = cli.Errors();
    }
    int status;
    std::string output;
    std::string errors;
};

}  // namespace brennix::test
