#include "cli/console_job_listener.h"

#include <utility>

namespace brennix::cli {

ConsoleJobListener::ConsoleJobListener(ConsoleUiHost& ui, ConsoleProgress& progress,
                                       std::optional<ReplaceAnswer> replace)
    : ui_(ui), progress_(progress), replace_(replace) {}

void ConsoleJobListener::ShowStatus(const std::string& text) {
    std::lock_guard lock(mutex_);
    status_ = text;
    changed_ = true;
}

void ConsoleJobListener::ShowDetail(const std::string& text) {
    std::lock_guard lock(mutex_);
    detail_ = text;
    changed_ = true;
}

void ConsoleJobListener::SetProgressRange(int maximum) {
    std::lock_guard lock(mutex_);
    range_ = maximum;
}

void ConsoleJobListener::SetProgress(int position) {
    std::lock_guard lock(mutex_);
    position_ = position;
    changed_ = true;
}

MessageResult ConsoleJobListener::ShowMessage(const std::string& text, const std::string& caption,
                                              MessageButtons buttons, MessageIcon icon) {
    MessageResult answer = MessageResult::kCancel;
    AskOnMainThread([&] {
        progress_.Finish();
        answer = ui_.ShowMessage(text, caption, buttons, icon);
    });
    return answer;
}

ReplaceAnswer ConsoleJobListener::ConfirmReplace(const std::string& path) {
    if (replace_) {
        return *replace_;
    }
    ReplaceAnswer answer = ReplaceAnswer::kNo;
    AskOnMainThread([&] {
        progress_.Finish();
        answer = ui_.AskReplace(path);
    });
    return answer;
}

void ConsoleJobListener::FileEnded(const DownloadedFile& file) {
    std::lock_guard lock(mutex_);
    files_.push_back(file);
}

void ConsoleJobListener::OperationEnded() {
    std::lock_guard lock(mutex_);
    ended_ = true;
}

void ConsoleJobListener::AskOnMainThread(std::function<void()> question) {
    std::unique_lock lock(mutex_);
    question_ = std::move(question);
    answered_.wait(lock, [this] { return !question_; });
}

void ConsoleJobListener::Pump() {
    std::unique_lock lock(mutex_);
    // Nothing to draw before the first file or step, nor after the end, which is summed up.
    if (changed_ && !status_.empty() && !ended_) {
        changed_ = false;
        const std::string status = status_;
        const std::string detail = detail_;
        const int position = position_;
        const int range = range_;
        lock.unlock();
        progress_.Show(status, position, range, detail);
        lock.lock();
    }
    if (question_) {
        const std::function<void()> question = question_;
        lock.unlock();
        question();
        lock.lock();
        question_ = nullptr;
        answered_.notify_all();
    }
}

bool ConsoleJobListener::Ended() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

std::string ConsoleJobListener::Status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

std::string ConsoleJobListener::Detail() const {
    std::lock_guard lock(mutex_);
    return detail_;
}

std::vector<DownloadedFile> ConsoleJobListener::Files() const {
    std::lock_guard lock(mutex_);
    return files_;
}

}  // namespace brennix::cli
