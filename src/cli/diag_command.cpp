#include "cli/diag_command.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

#include "cli/cli_session.h"
#include "diagnostics/diagnostics_feature.h"
#include "diagnostics/echolux_acquisition.h"
#include "diagnostics/echolux_setup.h"
#include "link/link_lease.h"

namespace brennix::cli {

namespace {

constexpr uint32_t kPollMs = 20;
constexpr uint32_t kStopWaitMs = 100;

// What the acquisition reports, kept until the console's thread takes it.
class FrameQueue : public EcholuxListener {
  public:
    struct Events {
        std::deque<std::shared_ptr<const EcholuxSnapshot>> frames;
        int missed = 0;
        std::optional<uint32_t> playbackEndedAfter;
        bool recordingFailed = false;
        bool connectionLost = false;
    };

    void OnProgress(int) override {}
    void OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) override {
        const std::lock_guard lock(mutex_);
        events_.frames.push_back(std::move(snapshot));
    }
    void OnFrameMissed() override {
        const std::lock_guard lock(mutex_);
        ++events_.missed;
    }
    void OnPlaybackEnded(uint32_t framesPlayed) override {
        const std::lock_guard lock(mutex_);
        events_.playbackEndedAfter = framesPlayed;
    }
    void OnRecordingFailed() override {
        const std::lock_guard lock(mutex_);
        events_.recordingFailed = true;
    }
    void OnConnectionLost() override {
        const std::lock_guard lock(mutex_);
        events_.connectionLost = true;
    }

    Events Take() {
        const std::lock_guard lock(mutex_);
        return std::exchange(events_, {});
    }

  private:
    std::mutex mutex_;
    Events events_;
};

void PrintFrame(std::FILE* out, const EcholuxSnapshot& shown) {
    const BeamFigures& f = shown.figures;
    std::fprintf(out, "Ping %u:", shown.ping);
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        std::fprintf(out, "%s beam %zu noise %d peak %d level %d cos %d/%d sin %d/%d",
                     beam == 0 ? "" : ";", beam + 1, f.noise[beam], f.peakPosition[beam],
                     f.peakLevel[beam], f.cosMin[beam], f.cosMax[beam], f.sinMin[beam],
                     f.sinMax[beam]);
    }
    std::fprintf(out, "\n");
    std::fflush(out);
}

DiagnosticFile OpenFile(CliSession& cli, const std::string& path, const char* mode,
                        const char* what) {
    DiagnosticFile file(std::fopen(path.c_str(), mode));
    if (!file) {
        std::fprintf(cli.Err(), "brennix-cli: cannot %s %s: %s\n", what, path.c_str(),
                     std::strerror(errno));
    }
    return file;
}

// Prints frames as they come until there are enough, the playback ends, Ctrl-C arrives or the
// port goes away; the exit status.
int Follow(CliSession& cli, FrameQueue& queue, uint32_t wanted, const std::string& playPath) {
    uint32_t printed = 0;
    for (;;) {
        cli.Session().GetClock().Sleep(kPollMs);
        cli.Ui().DeliverInterrupt();
        FrameQueue::Events events = queue.Take();
        for (int i = 0; i < events.missed; ++i) {
            std::fprintf(cli.Err(), "No valid frame in this collection window\n");
        }
        for (const auto& frame : events.frames) {
            PrintFrame(cli.Out(), *frame);
            if (++printed == wanted) {
                return kExitOk;
            }
        }
        if (events.recordingFailed) {
            std::fprintf(cli.Err(), "brennix-cli: the recording could not be written: stopped\n");
            return kExitFailed;
        }
        if (events.connectionLost) {
            std::fprintf(cli.Err(), "brennix-cli: lost the connection to %s\n",
                         cli.PortName().c_str());
            return kExitFailed;
        }
        if (events.playbackEndedAfter) {
            if (*events.playbackEndedAfter == 0) {
                std::fprintf(cli.Err(), "brennix-cli: no diagnostic frames in %s\n",
                             playPath.c_str());
                return kExitFailed;
            }
            std::fprintf(cli.Err(), "End of %s after %u frames\n", playPath.c_str(),
                         *events.playbackEndedAfter);
            return kExitOk;
        }
        if (cli.QuitRequested()) {
            return kExitOk;
        }
    }
}

}  // namespace

bool DiagCommand::Parse(CommandArguments& arguments) {
    average_ = arguments.TakeFlag("--average");
    if (!arguments.TakeNumber("--frames", frames_) ||
        !arguments.TakeText("--record", recordPath_) || !arguments.TakeText("--play", playPath_) ||
        !arguments.Finish()) {
        return false;
    }
    if (!recordPath_.empty() && !playPath_.empty()) {
        return arguments.Fail("--record and --play cannot be used together");
    }
    return true;
}

int DiagCommand::Run(CliSession& cli) {
    CSession& session = cli.Session();
    const LinkLease lease(session.Link());
    DiagnosticFile playback;
    DiagnosticFile recording;
    if (!playPath_.empty() && !(playback = OpenFile(cli, playPath_, "r", "read the recording"))) {
        return kExitFailed;
    }
    if (!recordPath_.empty() &&
        !(recording = OpenFile(cli, recordPath_, "w", "create the recording"))) {
        return kExitFailed;
    }
    FrameRules rules;
    if (!playback) {
        const std::optional<int> model = CheckInstrumentFor(session, DiagnosticsFeature::kCheck);
        if (!model) {
            return kExitFailed;
        }
        const std::optional<EcholuxSetup> setup =
            RunEcholuxSetup(session.Instrument(), *model, cli.Ui());
        if (!setup) {
            return kExitFailed;
        }
        rules = setup->rules;
    }
    FrameQueue queue;
    // The worker's questions (an instrument found in SDI-12 mode) are asked on the console too;
    // this thread only waits meanwhile.
    CEcholuxAcquisition acquisition(session.Instrument(), cli.Ui(), rules, queue);
    acquisition.SetAveraging(average_);
    if (playback) {
        acquisition.OpenPlayback(std::move(playback));
    } else if (recording) {
        acquisition.OpenRecording(std::move(recording));
    }
    acquisition.Start();
    const int status = Follow(cli, queue, frames_, playPath_);
    acquisition.RequestStop();
    while (!acquisition.WaitFinished(kStopWaitMs)) {
    }
    return status;
}

template <>
std::span<const CliCommandEntry> ConsoleCommands<DiagnosticsFeature>() {
    static constexpr std::array kCommands = {
        CliCommandEntry{"diag", "diag [--frames N] [--record FILE] [--play FILE] [--average]",
                        "beam diagnostics: one line per frame, until N frames or Ctrl-C",
                        &MakeCommand<DiagCommand>},
    };
    return kCommands;
}

}  // namespace brennix::cli
