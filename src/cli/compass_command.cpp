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

constexpr uint32_t kAttitudeIntervalMs = 300;
constexpr uint32_t kBreakMs = 300;
constexpr uint32_t kAfterBreakMs = 700;
constexpr uint32_t kBeforeFlushMs = 100;

std::string AttitudeLine(const Attitude& attitude) {
    return "Heading " + FixedText(attitude.heading, 2) + " Pitch " + FixedText(attitude.pitch, 2) +
           " Roll " + FixedText(attitude.roll, 2);
}

enum class Ending { kStop, kCancel };

// Prints the attitude whenever it changes until the time is up, Enter is pressed (or the input
// ends, when no time was given) or Ctrl-C arrives.
Ending FollowAttitude(CliSession& cli, CCompassCalibration& calibration, uint32_t seconds) {
    Clock& clock = cli.Session().GetClock();
    const uint32_t start = clock.TickCount();
    std::optional<Attitude> shown;
    for (;;) {
        const std::optional<Attitude> attitude = calibration.ReadAttitude();
        if (attitude && attitude != shown) {
            std::fprintf(cli.Out(), "%s\n", AttitudeLine(*attitude).c_str());
            std::fflush(cli.Out());
            shown = attitude;
        }
        std::string line;
        const auto typed = cli.Input().ReadLine(line, kAttitudeIntervalMs);
        cli.Ui().DeliverInterrupt();
        if (cli.QuitRequested()) {
            return Ending::kCancel;
        }
        if (typed == ConsoleLineReader::Result::kLine ||
            (typed == ConsoleLineReader::Result::kEnd && seconds == 0)) {
            return Ending::kStop;
        }
        const uint32_t elapsed = clock.TickCount() - start;
        if (seconds > 0 && uint64_t{elapsed} >= uint64_t{seconds} * 1000) {
            return Ending::kStop;
        }
    }
}

// As the dialog closes: a BREAK ends any calibration still running, and what the instrument
// sent meanwhile is dropped.
void Close(CInstrument& instrument) {
    CSerialLink& link = *instrument.GetLink();
    instrument.SendBreak(kBreakMs);
    link.Waits().Pause(kAfterBreakMs + kBeforeFlushMs);
    link.FlushInput(true);
}

}  // namespace

bool CompassCommand::Parse(CommandArguments& arguments) {
    return arguments.TakeNumber("--seconds", seconds_) && arguments.Finish();
}

int CompassCommand::Run(CliSession& cli) {
    CSession& session = cli.Session();
    const LinkLease lease(session.Link());
    if (!CheckInstrumentFor(session, CompassFeature::kCheck)) {
        return kExitFailed;
    }
    CCompassCalibration calibration(session.Instrument());
    if (!calibration.Init()) {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", compass_texts::kNotResponding);
        session.Link().Waits().Pause(kBeforeFlushMs);
        session.Link().FlushInput(true);
        return kExitFailed;
    }
    std::fprintf(cli.Err(),
                 "Compass initialized. Rotate it slowly two full turns, varying the pitch and roll "
                 "as much as possible;\nallow at least a minute for each turn. Press Enter when "
                 "finished.\n");
    calibration.Start();
    const Ending ending = FollowAttitude(cli, calibration, seconds_);
    std::optional<CompassScores> scores;
    if (ending == Ending::kStop) {
        scores = calibration.Finish();
    }
    Close(session.Instrument());
    if (ending == Ending::kCancel) {
        std::fprintf(cli.Err(), "brennix-cli: calibration cancelled, no scores\n");
        return kExitFailed;
    }
    if (!scores) {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", compass_texts::kScoresUnreadable);
        return kExitFailed;
    }
    std::fprintf(cli.Out(), "%s\n", ScoreReport(*scores).c_str());
    return kExitOk;
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
