#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/output_window.h"
#include "platform/job_relay.h"

namespace brennix {

// An output window for a worker's thread: each append is carried through the relay to the
// window the owner's thread shows into, in order. The window is only ever touched there.
class RelayedOutput : public OutputWindow {
  public:
    explicit RelayedOutput(JobRelay& relay) : relay_(relay) {}

    // Where the appends go from now on; null drops them (a dialog keeps the line to itself).
    void SetTarget(OutputWindow* target) { target_ = target; }
    OutputWindow* Target() const { return target_; }

    void Append(const uint8_t* bytes, size_t length) override {
        if (target_ == nullptr) {
            return;
        }
        relay_.Post(
            [target = target_, text = std::string(reinterpret_cast<const char*>(bytes), length)] {
                target->Append(reinterpret_cast<const uint8_t*>(text.data()), text.size());
            });
    }

  private:
    JobRelay& relay_;
    OutputWindow* target_ = nullptr;
};

}  // namespace brennix
