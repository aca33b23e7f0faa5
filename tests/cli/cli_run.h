#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "child_process.h"

namespace brennix::test {

using Arguments = std::vector<std::string>;
using testing::EndsWith;
using testing::HasSubstr;
using testing::StartsWith;

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

// One run of brennix-cli to its end: exit status, stdout and stderr.
struct CliRun {
    CliRun(Arguments arguments, const std::string& input = {}) {
        ChildProcess cli(Command(BRENNIX_CLI_PATH, std::move(arguments)), input);
        status = cli.Wait(30000);
        output = cli.Output();
        errors = cli.Errors();
        cpuSeconds = cli.CpuSeconds();
    }
    int status;
    std::string output;
    std::string errors;
    double cpuSeconds;
};

// A folder of the test's own that is home and the settings' folder too (ctest runs cases side by
// side), with the desktop program's settings file holding the unit system; gone afterwards.
class TempHome {
  public:
    explicit TempHome(const char* unitSystem = "0") {
        std::string pattern = std::filesystem::temp_directory_path() / "brennix-cli-XXXXXX";
        root_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(root_ / "Ostrel");
        std::ofstream(root_ / "Ostrel" / "Brennix.conf")
            << "[General]\nUnitSystem=1\n\n[Settings]\nUnitSystem=" << unitSystem << "\n";
        setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
        setenv("HOME", root_.c_str(), 1);
    }
    ~TempHome() {
        unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", home_.c_str(), 1);
        std::filesystem::remove_all(root_);
    }
    std::filesystem::path Path(const std::string& name) const { return root_ / name; }

  private:
    std::string home_ = getenv("HOME") ? getenv("HOME") : "";
    std::filesystem::path root_;
};

// A file name in the temporary folder of this run's own: other runs of the suite may be going on.
inline std::string TempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("brennix-cli-" + std::to_string(getpid()) + "-" + name);
}

// A file of random bytes, the same for the same size; its contents returned.
inline std::string PutRandomFile(const std::filesystem::path& path, size_t size) {
    std::mt19937 random(static_cast<unsigned>(size));
    std::string data(size, '\0');
    for (char& byte : data) {
        byte = static_cast<char>(random());
    }
    std::ofstream(path, std::ios::binary) << data;
    return data;
}

inline std::string Contents(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

}  // namespace brennix::test
