#pragma once

#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cli/console_progress.h"
#include "cli/console_ui_host.h"
#include "recorder/recorder_job_listener.h"

namespace brennix::cli {

// A recorder job on the console. The job reports from its own thread; everything reaches the
// console from the main thread in Pump(), so only one thread ever reads or writes it: progress
// is noted and drawn there, and a question waits there to be asked and answered.
class ConsoleJobListener : public RecorderJobListener {
  public:
    // A fixed answer to the replace question; none: ask.
    ConsoleJobListener(ConsoleUiHost& ui, ConsoleProgress& progress,
                       std::optional<ReplaceAnswer> replace);

    void ShowStatus(const std::string& text) override;
    void ShowDetail(const std::string& text) override;
    void SetProgressRange(int maximum) override;
    void SetProgress(int position) override;
    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    ReplaceAnswer ConfirmReplace(const std::string& path) override;
    void FileEnded(const DownloadedFile& file) override;
    void OperationEnded() override;

    // Main thread: draws what changed and asks the question that waits, if any.
    void Pump();
    bool Ended() const;
    std::string Status() const;
    std::string Detail() const;
    std::vector<DownloadedFile> Files() const;

  private:
    // Job thread: runs the question on the main thread and waits for its answer.
    void AskOnMainThread(std::function<void()> question);

    ConsoleUiHost& ui_;
    ConsoleProgress& progress_;
    std::optional<ReplaceAnswer> replace_;
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    std::function<void()> question_;
    bool changed_ = false;
    bool ended_ = false;
    std::string status_;
    std::string detail_;
    int range_ = 0;
    int position_ = 0;
    std::vector<DownloadedFile> files_;
};

}  // namespace brennix::cli
