#include "cli/setup_console.h"

#include <cstdio>

#include "cli/cli_session.h"
#include "setup/setup_feature.h"
#include "setup/setup_texts.h"

namespace brennix::cli {

ConsoleSetup::ConsoleSetup(CliSession& cli, UnitSystem units, Sdi12Dialog sdi12Dialog)
    : cli_(cli),
      sdi12Dialog_(std::move(sdi12Dialog)),
      service_(cli.Session(), cli.Relay(), *this, units) {}

bool ConsoleSetup::Open() {
    if (!CheckInstrumentFor(cli_.Session(), SetupFeature::kCheck)) {
        return false;
    }
    const std::optional<SetupResult> read = Run([](SetupService& s) { return s.Read(); });
    if (read && read->outcome == SetupOutcome::kUnreadable) {
        std::fprintf(cli_.Err(), "brennix-cli: %s\n", UnreadableText(read->unreadBlock).c_str());
    }
    return read && read->outcome == SetupOutcome::kDone;
}

std::optional<SetupResult> ConsoleSetup::Run(const std::function<bool(SetupService&)>& start) {
    ended_.reset();
    if (!start(service_)) {
        std::fprintf(cli_.Err(), "brennix-cli: %s\n", SessionJob::kCannotStart);
        return std::nullopt;
    }
    if (!cli_.PumpUntil([this] { return ended_.has_value(); })) {
        service_.Stop();
        cli_.PumpToEnd([this] { return ended_.has_value(); });
    }
    if (ended_->outcome == SetupOutcome::kStopped) {
        std::fprintf(cli_.Err(), "brennix-cli: stopped\n");
    }
    return ended_;
}

bool ConsoleSetup::RunSdi12Dialog(const std::optional<Refusal>& refused) {
    return sdi12Dialog_ && sdi12Dialog_(refused);
}

}  // namespace brennix::cli
