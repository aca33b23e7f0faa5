#include "cli/compass_command.h"

#include <array>
#include <optional>
#include <string>

#include "cli/cli_session.h"
#include "compass/compass_calibration.h"
#include "compass/compass_feature.h"
#include "compass/compass_rating.h"
#include "link/link_lease.h"
#include "platform/number_text.h"

namespace brennix::cli {

namespace {

constexpr uint32_t kInputWaitMs = 300;

std::string AttitudeLine(const Attitude& attitude) {
    return "Heading " + FixedText(attitude.heading, 2) + " Pitch " + FixedText(attitude.pitch, 2) +
           " Roll " + FixedText(attitude.roll, 2);
}

}  // namespace

bool CompassCommand::Parse(CommandArguments& arguments) {
    return arguments.TakeNumber("--seconds", seconds_, 1) && arguments.Finish();
}

int CompassCommand::Run(CliSession& cli) {
    CSession& session = cli.Session();
    const LinkLease lease(session.Link());
    if (!CheckInstrumentFor(session, CompassFeature::kCheck)) {
        return kExitFailed;
    }
    out_ = cli.Out();
    bool closed = false;
    CompassService service(session, cli.Relay(), *this);
    if (!service.Open([&closed] { closed = true; })) {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", SessionJob::kCannotStart);
        return kExitFailed;
    }
    const int status = Calibrate(cli, service);
    service.Close();
    cli.PumpToEnd([&closed] { return closed; });
    return status;
}

int CompassCommand::Calibrate(CliSession& cli, CompassService& service) {
    if (!cli.PumpUntil([this] { return ready_.has_value(); })) {
        return kExitFailed;
    }
    if (!*ready_) {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", compass_texts::kNotResponding);
        return kExitFailed;
    }
    // Calibration starts at once: Enter is the console's Stop button.
    std::fprintf(cli.Err(), "%s\n%s\nPress Enter when finished.\n", compass_texts::kInitialized,
                 compass_texts::kRotate);
    service.StartCalibration();
    if (!FollowAttitude(cli)) {
        std::fprintf(cli.Err(), "brennix-cli: calibration cancelled, no scores\n");
        return kExitFailed;
    }
    service.FinishCalibration();
    if (!cli.PumpUntil([this] { return scores_.has_value(); })) {
        std::fprintf(cli.Err(), "brennix-cli: calibration cancelled, no scores\n");
        return kExitFailed;
    }
    if (!*scores_) {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", compass_texts::kScoresUnreadable);
        return kExitFailed;
    }
    std::fprintf(cli.Out(), "%s\n", ScoreReport(**scores_).c_str());
    return kExitOk;
}

void CompassCommand::OnAttitude(const Attitude& attitude) {
    if (attitude == shown_) {
        return;
    }
    std::fprintf(out_, "%s\n", AttitudeLine(attitude).c_str());
    std::fflush(out_);
    shown_ = attitude;
}

// An input that has ended (</dev/null, cron) is not read again: the wait sleeps instead.
bool CompassCommand::FollowAttitude(CliSession& cli) {
    Clock& clock = cli.Session().GetClock();
    const uint32_t start = clock.TickCount();
    bool inputEnded = false;
    bool enter = false;
    const auto step = [&] {
        if (inputEnded) {
            clock.Sleep(kInputWaitMs);
            return;
        }
        std::string line;
        const ConsoleLineReader::Result typed = cli.Input().ReadLine(line, kInputWaitMs);
        inputEnded = typed == ConsoleLineReader::Result::kEnd;
        enter = typed == ConsoleLineReader::Result::kLine || (inputEnded && seconds_ == 0);
    };
    const auto done = [&] {
        const uint64_t elapsed = clock.TickCount() - start;
        return enter || (seconds_ > 0 && elapsed >= uint64_t{seconds_} * 1000);
    };
    return cli.PumpUntil(done, step);
}

template <>
std::span<const CliCommandEntry> ConsoleCommands<CompassFeature>() {
    static constexpr std::array kCommands = {
        CliCommandEntry{
            "compass", "compass [--seconds N]",
            "calibrate the compass: attitude as it changes, scores at Enter or after N s",
            &MakeCommand<CompassCommand>},
    };
    return kCommands;
}

}  // namespace brennix::cli
