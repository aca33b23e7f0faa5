#pragma once

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include "platform/job_relay.h"

namespace brennix {

// A job's side of its listener: every report is posted to the thread that owns the listener,
// every question is asked there and waited for, so the listener is only ever called on its own
// thread and needs no lock.
template <typename Listener>
class JobReporter {
  public:
    JobReporter(JobRelay& relay, Listener& listener) : relay_(relay), listener_(listener) {}

    // report(listener) runs later on the owner's thread; whatever it captures is copied.
    template <typename Report>
    void Post(Report report) {
        Listener& listener = listener_;
        relay_.Post([&listener, report = std::move(report)] { report(listener); });
    }

    // question(listener) runs on the owner's thread; its answer comes back here.
    template <typename Question>
    auto Ask(Question question) -> std::invoke_result_t<Question, Listener&> {
        using Answer = std::invoke_result_t<Question, Listener&>;
        if constexpr (std::is_void_v<Answer>) {
            relay_.Call([&] { question(listener_); });
        } else {
            std::optional<Answer> answer;
            relay_.Call([&] { answer.emplace(question(listener_)); });
            return std::move(*answer);
        }
    }

    JobRelay& Relay() { return relay_; }

  private:
    JobRelay& relay_;
    Listener& listener_;
};

}  // namespace brennix
