#include "recorder/format_job.h"

#include <array>
#include <string>

#include "link/link_lease.h"

namespace brennix {

namespace {

constexpr size_t kReadSize = 200;
constexpr uint32_t kReadMs = 500;
constexpr uint32_t kRoundPauseMs = 10;
constexpr int kCancelRejects = 3;

bool Holds(const std::string& text, const char* token) {
    return text.find(token) != std::string::npos;
}

}  // namespace

FormatJob::FormatJob(const CInstrument& instrument, RecorderJobListener& listener)
    : worker_(instrument, listener), listener_(listener), job_(worker_.GetClock()) {}

bool FormatJob::Start() {
    return job_.Start([this](const StopEvent& stop) {
        Outcome outcome = Outcome::kNotStarted;
        {
            const LinkLease lease(worker_.Link(), &stop);
            outcome = Format(stop);
        }
        // Told after the stop has let go of the link's waits, so the blank line's echo is heard.
        Report(outcome);
        listener_.OperationEnded();
    });
}

FormatJob::Outcome FormatJob::Format(const StopEvent& stop) {
    listener_.SetProgressRange(kRounds);
    listener_.SetProgress(0);
    listener_.ShowDetail("");
    if (!worker_.Instrument().SendCommand("format")) {
        return stop.IsSet() ? Outcome::kCancelled : Outcome::kNotStarted;
    }
    CSerialLink& link = worker_.Link();
    std::string reply;
    for (int round = 0; round < kRounds;) {
        if (stop.IsSet()) {
            return Outcome::kCancelled;
        }
        std::array<uint8_t, kReadSize> chunk{};
        size_t got = 0;
        link.Read(chunk, got, kReadMs, true);
        reply.append(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
        if (Holds(reply, "OK")) {
            return Outcome::kConfirmed;
        }
        if (Holds(reply, "aborted")) {
            return Outcome::kAborted;
        }
        // The instrument's own confirmation question, answered once per time it is asked.
        if (Holds(reply, "YES or NO")) {
            reply.clear();
            link.Write("yes\r", 0, false);
        }
        ++round;
        listener_.ShowStatus("Formatting (" + std::to_string(round) + "%)");
        listener_.SetProgress(round - 1);
        link.Waits().Pause(kRoundPauseMs);
    }
    return Outcome::kUnconfirmed;
}

void FormatJob::Report(Outcome outcome) {
    switch (outcome) {
        case Outcome::kConfirmed:
            listener_.ShowStatus("Done");
            listener_.SetProgress(kRounds);
            break;
        case Outcome::kAborted:
            listener_.ShowStatus("Aborted");
            break;
        case Outcome::kUnconfirmed:
            listener_.ShowStatus("Not confirmed");
            listener_.ShowDetail("The instrument never confirmed the format");
            break;
        case Outcome::kCancelled:
            listener_.ShowStatus("Cancelled");
            for (int i = 0; i < kCancelRejects; ++i) {
                worker_.Access().SendReject();
            }
            worker_.Instrument().SendCommand(" ", CInstrument::kPrompt, false);
            break;
        case Outcome::kNotStarted:
            listener_.ShowStatus("Format failed");
            listener_.ShowDetail("The instrument did not take the format command");
            break;
    }
}

}  // namespace brennix
