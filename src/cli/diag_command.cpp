#include "cli/diag_command.h"

#include <array>

#include "cli/cli_session.h"
#include "diagnostics/diagnostics_feature.h"
#include "diagnostics/diagnostics_texts.h"
#include "link/link_lease.h"

namespace brennix::cli {

bool DiagCommand::Parse(CommandArguments& arguments) {
    average_ = arguments.TakeFlag("--average");
    if (!arguments.TakeNumber("--frames", frames_, 1) ||
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
    out_ = cli.Out();
    err_ = cli.Err();
    portName_ = cli.PortName();
    DiagnosticsService service(session, cli.Relay(), *this);
    if (!OpenFiles(service)) {
        return kExitFailed;
    }
    const bool live = playPath_.empty();
    std::optional<int> model;
    if (live && !(model = CheckInstrumentFor(session, DiagnosticsFeature::kCheck))) {
        return kExitFailed;
    }
    service.SetAveraging(average_);
    bool closed = false;
    if (!service.Open({.model = model.value_or(0), .setUp = live}, [&closed] { closed = true; })) {
        std::fprintf(err_, "brennix-cli: %s\n", SessionJob::kCannotStart);
        return kExitFailed;
    }
    // Ctrl-C ends a run that is going well.
    const bool ended = cli.PumpUntil([&] { return status_.has_value() || closed; });
    service.Close();
    cli.PumpToEnd([&closed] { return closed; });
    return ended ? status_.value_or(kExitFailed) : kExitOk;
}

bool DiagCommand::OpenFiles(DiagnosticsService& service) {
    if (!playPath_.empty()) {
        if (const auto error = service.OpenPlayback(playPath_)) {
            std::fprintf(err_, "brennix-cli: %s\n",
                         diagnostics_texts::CannotOpen(playPath_, *error).c_str());
            return false;
        }
    }
    if (!recordPath_.empty()) {
        if (const auto error = service.OpenRecording(recordPath_)) {
            std::fprintf(err_, "brennix-cli: %s\n",
                         diagnostics_texts::CannotCreate(recordPath_, *error).c_str());
            return false;
        }
    }
    return true;
}

void DiagCommand::End(int status) {
    if (!status_) {
        status_ = status;
    }
}

void DiagCommand::OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) {
    if (status_) {
        return;
    }
    const BeamFigures& f = snapshot->figures;
    std::fprintf(out_, "Ping %u:", snapshot->ping);
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        std::fprintf(out_, "%s beam %zu noise %d peak %d level %d cos %d/%d sin %d/%d",
                     beam == 0 ? "" : ";", beam + 1, f.noise[beam], f.peakPosition[beam],
                     f.peakLevel[beam], f.cosMin[beam], f.cosMax[beam], f.sinMin[beam],
                     f.sinMax[beam]);
    }
    std::fprintf(out_, "\n");
    std::fflush(out_);
    if (++printed_ == frames_) {
        End(kExitOk);
    }
}

void DiagCommand::OnFrameMissed() {
    if (!status_) {
        std::fprintf(err_, "No valid frame in this collection window\n");
    }
}

void DiagCommand::OnPlaybackEnded(uint32_t framesPlayed) {
    if (status_) {
        return;
    }
    // No frames at all fails the command.
    std::fprintf(err_, "%s%s\n", framesPlayed == 0 ? "brennix-cli: " : "",
                 diagnostics_texts::PlaybackEnd(playPath_, framesPlayed).c_str());
    End(framesPlayed == 0 ? kExitFailed : kExitOk);
}

void DiagCommand::OnRecordingFailed() {
    if (!status_) {
        // The console's command ends with it.
        std::fprintf(err_, "brennix-cli: %s Stopped.\n",
                     diagnostics_texts::RecordingFailed(recordPath_).c_str());
        End(kExitFailed);
    }
}

void DiagCommand::OnConnectionLost() {
    if (!status_) {
        std::fprintf(err_, "brennix-cli: lost the connection to %s\n", portName_.c_str());
        End(kExitFailed);
    }
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
