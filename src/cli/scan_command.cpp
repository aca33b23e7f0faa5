#include "cli/scan_command.h"

#include <string>

#include "cli/cli_session.h"
#include "link/link_lease.h"
#include "script/session_job.h"

namespace brennix::cli {

bool ScanCommand::Parse(CommandArguments& arguments) {
    std::string text;
    if (arguments.TakeText("--addresses", text) && !text.empty()) {
        const std::optional<AddressRange> range = ParseAddressRange(text);
        if (!range) {
            return arguments.Reject(
                "--addresses takes FIRST-LAST or one address, from 1 to 15, "
                "not '" +
                text + "'");
        }
        range_ = *range;
    }
    return !arguments.Failed() && arguments.Finish();
}

int ScanCommand::Run(CliSession& cli) {
    out_ = cli.Out();
    err_ = cli.Err();
    CSerialLink& link = cli.Session().Link();
    const LinkLease lease(link);
    BusScanJob job(link, cli.Relay(), *this);
    if (!job.Start(range_)) {
        std::fprintf(err_, "brennix-cli: %s\n", SessionJob::kCannotStart);
        return kExitFailed;
    }
    if (!cli.PumpUntil([this] { return stopped_.has_value(); })) {
        job.RequestStop();
        cli.PumpToEnd([this] { return stopped_.has_value(); });
    }
    if (*stopped_) {
        std::fprintf(err_, "brennix-cli: the scan was stopped; no address is selected\n");
        return kExitFailed;
    }
    if (const std::string limits = BusScanLimits(link.Capabilities()); !limits.empty()) {
        std::fprintf(err_, "brennix-cli: %s\n", limits.c_str());
    }
    if (!found_) {
        std::fprintf(err_, "brennix-cli: no instrument answered at addresses %u to %u\n",
                     range_.first, range_.last);
    }
    return found_ ? kExitOk : kExitFailed;
}

void ScanCommand::OnScanning(uint32_t address) {
    std::fprintf(err_, "Scanning address %u...\n", address);
}

void ScanCommand::OnEntry(const BusScanEntry& entry) {
    found_ = found_ || IsInstrument(entry.code);
    const std::string outcome = BusScanOutcome(entry);
    if (entry.versionLine.empty()) {
        std::fprintf(out_, "%2u  %s\n", entry.address, outcome.c_str());
    } else {
        std::fprintf(out_, "%2u  %-22s %s\n", entry.address, outcome.c_str(),
                     entry.versionLine.c_str());
    }
    std::fflush(out_);
}

}  // namespace brennix::cli
