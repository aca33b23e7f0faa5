// brennix-cli diag when the system has no thread to give its worker.
#include "cli/diag_command.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/cli_session.h"
#include "cli/command_arguments.h"
#include "support/no_new_threads.h"

namespace brennix::cli {
namespace {

std::string Contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text.push_back(static_cast<char>(c));
    }
    return text;
}

TEST(DiagCommand, AWorkerThatCannotStartIsSaidAndFails) {
    const ParseResult parsed = ParseCliOptions({"--simulate", "diag"});
    ASSERT_TRUE(parsed.options);
    DiagCommand command;
    CommandArguments arguments(parsed.options->commandArguments);
    ASSERT_TRUE(command.Parse(arguments));
    const int devNull = open("/dev/null", O_RDONLY);
    ConsoleLineReader input(devNull);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    int status = 0;
    {
        CliSession session(*parsed.options, input, out, err);
        const test::NoNewThreads none;
        status = session.Run(command);
    }
    EXPECT_EQ(status, kExitFailed);
    EXPECT_EQ(Contents(err), "brennix-cli: Unable to start thread\n");
    std::fclose(out);
    std::fclose(err);
    close(devNull);
}

}  // namespace
}  // namespace brennix::cli
