#include "recorder/format_run.h"

#include <array>
#include <string>

#include "instrument/recorder_access.h"
#include "recorder/recorder_texts.h"

namespace brennix {

namespace {

constexpr int kRounds = 100;
constexpr size_t kReadSize = 200;
constexpr uint32_t kReadMs = 500;
constexpr uint32_t kRoundPauseMs = 10;
constexpr int kCancelRejects = 3;

bool Holds(const std::string& text, const char* token) {
    return text.find(token) != std::string::npos;
}

// Said before the line is settled: that waits for the prompt of an instrument that may still be
// erasing, which takes as long as the erase does.
FormatOutcome Stopped(JobReporter<RecorderListener>& report, RecorderProgress shown, bool erasing) {
    const FormatOutcome outcome =
        erasing ? FormatOutcome::kCancelledErasing : FormatOutcome::kCancelled;
    shown.subject = recorder_texts::FormatEnd(outcome);
    shown.detail = recorder_texts::kWaitingForPrompt;
    report.Post([shown](RecorderListener& l) { l.OnProgress(shown); });
    return outcome;
}

}  // namespace

FormatOutcome RunFormat(WorkerSession& worker, JobReporter<RecorderListener>& report,
                        const StopEvent& stop) {
    RecorderProgress shown{"", "", 0, kRounds};
    report.Post([shown](RecorderListener& l) { l.OnProgress(shown); });
    if (!worker.Instrument().SendCommand("format")) {
        return stop.IsSet() ? Stopped(report, shown, false) : FormatOutcome::kNotStarted;
    }
    CSerialLink& link = worker.Link();
    std::string reply;
    bool erasing = false;
    for (int round = 0; round < kRounds;) {
        if (stop.IsSet()) {
            return Stopped(report, shown, erasing);
        }
        std::array<uint8_t, kReadSize> chunk{};
        size_t got = 0;
        link.Read(chunk, got, kReadMs, true);
        reply.append(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
        if (Holds(reply, "OK")) {
            return FormatOutcome::kDone;
        }
        if (Holds(reply, "aborted")) {
            return FormatOutcome::kAborted;
        }
        // The instrument's own confirmation question, answered once per time it is asked.
        if (Holds(reply, "YES or NO")) {
            reply.clear();
            link.Write("yes\r", 0, false);
            erasing = true;
        }
        ++round;
        shown.subject = recorder_texts::Formatting(round);
        shown.position = round - 1;
        report.Post([shown](RecorderListener& l) { l.OnProgress(shown); });
        link.Waits().Pause(kRoundPauseMs);
    }
    return FormatOutcome::kUnconfirmed;
}

void SettleFormat(WorkerSession& worker, FormatOutcome outcome) {
    if (outcome != FormatOutcome::kCancelled && outcome != FormatOutcome::kCancelledErasing) {
        return;
    }
    CRecorderAccess access(worker.Instrument());
    for (int i = 0; i < kCancelRejects; ++i) {
        access.SendReject();
    }
    worker.Instrument().SendCommand(" ", CInstrument::kPrompt, false);
}

}  // namespace brennix
