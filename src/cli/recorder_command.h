#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "recorder/recorder_file_entry.h"
#include "recorder/recorder_job_listener.h"

namespace brennix {
class CRecorderAccess;
}

namespace brennix::cli {

class ConsoleJobListener;

// recorder list | download [NAME...|--all] [--to DIR] [--rate N] [--replace ask|yes|no|all]
//          | format [--yes]: the recorder manager on the console.
class RecorderCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    enum class Action { kList, kDownload, kFormat };

    bool ParseDownload(CommandArguments& arguments);
    int List(CliSession& cli, CRecorderAccess& access);
    int Download(CliSession& cli, CRecorderAccess& access);
    int Format(CliSession& cli);
    // Runs a started job to its end, drawing it and passing Ctrl-C on as a stop.
    template <typename Job>
    void Follow(CliSession& cli, Job& job, ConsoleJobListener& listener);
    bool Selected(const std::string& name) const;
    bool Select(CliSession& cli, std::vector<RecorderFileEntry>& entries) const;
    static bool Summarise(CliSession& cli, const std::vector<RecorderFileEntry>& entries,
                          const ConsoleJobListener& listener);

    Action action_ = Action::kList;
    std::vector<std::string> names_;
    bool all_ = false;
    std::string folder_ = ".";
    uint32_t rate_ = 0;  // 0: keep the link's rate
    std::optional<ReplaceAnswer> replace_;
    bool confirmed_ = false;
};

}  // namespace brennix::cli
