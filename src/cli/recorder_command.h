#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/console_progress.h"
#include "recorder/recorder_service.h"

namespace brennix::cli {

// recorder list | download [NAME...|--all] [--to DIR] [--rate N] [--replace ask|yes|no|all]
//          | format [--yes]: the recorder service on the console.
class RecorderCommand : public CliCommand, private RecorderListener {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    enum class Action { kList, kDownload, kFormat };

    bool ParseDownload(CommandArguments& arguments);
    int List(RecorderService& service);
    int Download(RecorderService& service);
    int Format(RecorderService& service);
    // The listing, or none after saying why.
    std::optional<RecorderListing> ReadListing(RecorderService& service);
    // Follows the started operation to its end, drawing its progress; Ctrl-C stops it and lets
    // it end. False when it was stopped so.
    bool Follow(RecorderService& service);
    void DrawProgress();
    bool Selected(const std::string& name) const;
    bool Select(std::vector<RecorderFileEntry>& entries) const;
    int Summarise(const std::vector<RecorderFileEntry>& entries, bool allFound) const;
    std::optional<uint32_t> DownloadRate(const RecorderService& service) const;

    void OnRateSet(uint32_t, bool) override {}
    void OnListed(const std::optional<RecorderListing>& listing) override { listing_ = listing; }
    void OnProgress(const RecorderProgress& progress) override;
    void OnFileEnded(const DownloadedFile& file) override;
    void OnDownloaded(const DownloadResult& result) override { downloaded_ = result; }
    void OnFormatted(FormatOutcome outcome) override { formatted_ = outcome; }
    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    ReplaceAnswer ConfirmReplace(const std::string& path) override;

    Action action_ = Action::kList;
    std::vector<std::string> names_;
    bool all_ = false;
    std::string folder_ = ".";
    uint32_t rate_ = 0;                                     // 0: the saved download rate
    static constexpr uint32_t kSavedAttempts = UINT32_MAX;  // no --attempts given
    uint32_t attempts_ = kSavedAttempts;
    bool verify_ = false;
    std::optional<ReplaceAnswer> replace_;
    bool confirmed_ = false;

    CliSession* cli_ = nullptr;
    std::optional<ConsoleProgress> console_;
    RecorderProgress progress_;
    bool progressChanged_ = false;
    std::optional<RecorderListing> listing_;
    DownloadResult downloaded_;
    FormatOutcome formatted_ = FormatOutcome::kNotStarted;
};

}  // namespace brennix::cli
