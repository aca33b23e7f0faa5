#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "recorder/recorder_job_listener.h"

namespace brennix::test {

// A job listener for tests: records everything a job reports and answers its questions from
// queues (when empty: Yes, replace Yes). Called on the job's thread, read on the test's.
class RecordingListener : public RecorderJobListener {
  public:
    struct Message {
        std::string text;
        std::string caption;
        MessageButtons buttons;
    };

    void ShowStatus(const std::string& text) override {
        Locked([&] { statuses_.push_back(text); });
    }
    void ShowDetail(const std::string& text) override {
        Locked([&] { details_.push_back(text); });
    }
    void SetProgressRange(int maximum) override {
        Locked([&] { range_ = maximum; });
    }
    void SetProgress(int position) override {
        Locked([&] { positions_.push_back(position); });
    }
    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon) override {
        std::lock_guard lock(mutex_);
        messages_.push_back({text, caption, buttons});
        if (messageAnswers_.empty()) {
            return buttons == MessageButtons::kYesNo ? MessageResult::kYes : MessageResult::kOk;
        }
        const MessageResult answer = messageAnswers_.front();
        messageAnswers_.pop_front();
        return answer;
    }
    ReplaceAnswer ConfirmReplace(const std::string& path) override {
        std::lock_guard lock(mutex_);
        replaceQuestions_.push_back(path);
        if (replaceAnswers_.empty()) {
            return ReplaceAnswer::kYes;
        }
        const ReplaceAnswer answer = replaceAnswers_.front();
        replaceAnswers_.pop_front();
        return answer;
    }
    void FileEnded(const DownloadedFile& file) override {
        Locked([&] { files_.push_back(file); });
    }
    void OperationEnded() override {
        Locked([&] { ++ended_; });
    }

    void AnswerMessages(std::deque<MessageResult> answers) {
        Locked([&] { messageAnswers_ = std::move(answers); });
    }
    void AnswerReplace(std::deque<ReplaceAnswer> answers) {
        Locked([&] { replaceAnswers_ = std::move(answers); });
    }

    std::vector<std::string> Statuses() const { return Copy(statuses_); }
    std::vector<std::string> Details() const { return Copy(details_); }
    std::vector<int> Positions() const { return Copy(positions_); }
    std::vector<Message> Messages() const { return Copy(messages_); }
    std::vector<std::string> ReplaceQuestions() const { return Copy(replaceQuestions_); }
    std::vector<DownloadedFile> Files() const { return Copy(files_); }
    int Range() const { return Copy(range_); }
    int Ended() const { return Copy(ended_); }
    std::string LastStatus() const {
        const std::vector<std::string> all = Statuses();
        return all.empty() ? "" : all.back();
    }
    std::string LastDetail() const {
        const std::vector<std::string> all = Details();
        return all.empty() ? "" : all.back();
    }
    int LastPosition() const {
        const std::vector<int> all = Positions();
        return all.empty() ? -1 : all.back();
    }

  private:
    template <typename F>
    void Locked(F f) {
        std::lock_guard lock(mutex_);
        f();
    }
    template <typename T>
    T Copy(const T& value) const {
        std::lock_guard lock(mutex_);
        return value;
    }

    mutable std::mutex mutex_;
    std::vector<std::string> statuses_;
    std::vector<std::string> details_;
    std::vector<int> positions_;
    std::vector<Message> messages_;
    std::vector<std::string> replaceQuestions_;
    std::vector<DownloadedFile> files_;
    std::deque<MessageResult> messageAnswers_;
    std::deque<ReplaceAnswer> replaceAnswers_;
    int range_ = 0;
    int ended_ = 0;
};

}  // namespace brennix::test
