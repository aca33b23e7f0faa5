#include "cli/recorder_command.h"

#include <unistd.h>
#include <array>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "cli/cli_session.h"
#include "cli/console_job_listener.h"
#include "recorder/display_text.h"
#include "recorder/download_job.h"
#include "recorder/download_naming.h"
#include "recorder/download_rates.h"
#include "recorder/format_job.h"
#include "recorder/rate_restore.h"
#include "recorder/recorder_access.h"
#include "recorder/recorder_feature.h"

namespace brennix::cli {

namespace {

constexpr uint32_t kPumpMs = 20;
constexpr uint32_t kLastWordsMs = 10000;
constexpr const char* kFormatWarning =
    "WARNING: Formatting will erase ALL data on the memory card.\n"
    "Select OK to format the memory card or CANCEL to abort.";

std::optional<std::optional<ReplaceAnswer>> ReplacePolicy(const std::string& word) {
    if (word == "ask") {
        return std::optional<ReplaceAnswer>();
    }
    if (word == "yes") {
        return ReplaceAnswer::kYes;
    }
    if (word == "no") {
        return ReplaceAnswer::kNo;
    }
    if (word == "all") {
        return ReplaceAnswer::kYesToAll;
    }
    return std::nullopt;
}

std::string RateList() {
    std::string list;
    for (const uint32_t rate : kDownloadRates) {
        list += (list.empty() ? "" : ", ") + std::to_string(rate);
    }
    return list;
}

bool ReadListing(CliSession& cli, CRecorderAccess& access, std::vector<RecorderFileEntry>& entries,
                 uint32_t& used, uint32_t& total) {
    if (access.ReadDirectory(entries) && access.GetSpace(used, total)) {
        return true;
    }
    std::fprintf(cli.Err(),
                 "brennix-cli: cannot read the recorder's directory (FAIL); is the instrument on "
                 "this port at %u baud?\n",
                 cli.Session().Link().GetBaudRate());
    return false;
}

// What became of one file, as a line of the summary.
std::string Outcome(const DownloadedFile& file) {
    const std::string path = file.path;
    switch (file.outcome) {
        case FileOutcome::kComplete:
            return path + "  " + std::to_string(file.received) + " bytes";
        case FileOutcome::kKept:
            return path + "  not downloaded: the file that was there is kept";
        case FileOutcome::kRefused:
            return PrintableName(file.name) + "  not downloaded: not a plain file name";
        case FileOutcome::kFailed:
            return path + "  not downloaded";
        case FileOutcome::kPartial:
            return path + "  partial: " + std::to_string(file.received) + " of " +
                   std::to_string(file.expected) + " bytes";
    }
    return path;
}

// Recorder names are 8.3 names of a FAT card, where case does not count.
bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool Arrived(const DownloadedFile& file) {
    return file.outcome == FileOutcome::kComplete || file.outcome == FileOutcome::kKept;
}

}  // namespace

bool RecorderCommand::Parse(CommandArguments& arguments) {
    std::string action;
    if (!arguments.TakePositional(action, "list, download or format")) {
        return false;
    }
    if (action == "list") {
        action_ = Action::kList;
        return arguments.Finish();
    }
    if (action == "format") {
        action_ = Action::kFormat;
        confirmed_ = arguments.TakeFlag("--yes");
        return arguments.Finish();
    }
    if (action == "download") {
        action_ = Action::kDownload;
        return ParseDownload(arguments);
    }
    return arguments.Fail("recorder needs list, download or format, not '" + action + "'");
}

bool RecorderCommand::ParseDownload(CommandArguments& arguments) {
    all_ = arguments.TakeFlag("--all");
    std::string replace = "ask";
    if (!arguments.TakeText("--to", folder_) || !arguments.TakeNumber("--rate", rate_) ||
        !arguments.TakeText("--replace", replace)) {
        return false;
    }
    names_ = arguments.TakeRemainingPositionals();
    if (!arguments.Finish()) {
        return false;
    }
    if (rate_ != 0 && !IsDownloadRate(rate_)) {
        return arguments.Fail("--rate must be one of " + RateList());
    }
    const auto policy = ReplacePolicy(replace);
    if (!policy) {
        return arguments.Fail("--replace must be ask, yes, no or all, not '" + replace + "'");
    }
    replace_ = *policy;
    if (all_ == !names_.empty()) {
        return arguments.Fail("download needs the names of the files or --all, not both");
    }
    return true;
}

int RecorderCommand::Run(CliSession& cli) {
    if (!CheckInstrumentFor(cli.Session(), RecorderFeature::kCheck)) {
        return kExitFailed;
    }
    if (action_ == Action::kFormat) {
        return Format(cli);
    }
    CRecorderAccess access(cli.Session().Instrument());
    return action_ == Action::kList ? List(cli, access) : Download(cli, access);
}

int RecorderCommand::List(CliSession& cli, CRecorderAccess& access) {
    std::vector<RecorderFileEntry> entries;
    uint32_t used = 0;
    uint32_t total = 0;
    if (!ReadListing(cli, access, entries, used, total)) {
        return kExitFailed;
    }
    std::fprintf(cli.Out(), "Files: %zu\nUsed space %s / %s\n", entries.size(),
                 FormatSize(used).c_str(), FormatSize(total).c_str());
    for (const RecorderFileEntry& entry : entries) {
        std::fprintf(cli.Out(), "%-12s %10u  %02d/%02d/%04d  %02d:%02d\n",
                     PrintableName(entry.name).c_str(), entry.size, entry.month, entry.day,
                     entry.year, entry.hour, entry.minute);
    }
    return kExitOk;
}

bool RecorderCommand::Selected(const std::string& name) const {
    return all_ || std::any_of(names_.begin(), names_.end(), [&name](const std::string& wanted) {
               return SameName(wanted, name);
           });
}

// Keeps the entries asked for, in the recorder's order; false when a name is not on the recorder.
bool RecorderCommand::Select(CliSession& cli, std::vector<RecorderFileEntry>& entries) const {
    bool allFound = true;
    for (const std::string& name : names_) {
        if (std::none_of(entries.begin(), entries.end(), [&name](const RecorderFileEntry& entry) {
                return SameName(entry.name, name);
            })) {
            std::fprintf(cli.Err(), "brennix-cli: no file %s on the recorder\n", name.c_str());
            allFound = false;
        }
    }
    std::erase_if(entries,
                  [this](const RecorderFileEntry& entry) { return !Selected(entry.name); });
    return allFound;
}

int RecorderCommand::Download(CliSession& cli, CRecorderAccess& access) {
    std::vector<RecorderFileEntry> entries;
    uint32_t used = 0;
    uint32_t total = 0;
    if (!ReadListing(cli, access, entries, used, total)) {
        return kExitFailed;
    }
    const bool allFound = Select(cli, entries);
    if (entries.empty() && !allFound) {
        return kExitFailed;
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
        std::fprintf(cli.Err(), "brennix-cli: cannot create the folder %s: %s\n", folder_.c_str(),
                     error.message().c_str());
        return kExitFailed;
    }
    CSerialLink& link = cli.Session().Link();
    const uint32_t linkRate = link.GetBaudRate();
    const bool switchRate = rate_ != 0 && rate_ != linkRate;
    if (switchRate && !access.SetBaud(rate_)) {
        std::fprintf(cli.Err(),
                     "brennix-cli: Failed to change baud rate\n Please try a different "
                     "baud rate!\n");
        return kExitFailed;
    }
    ConsoleProgress progress(cli.Err(), ::isatty(::fileno(cli.Err())) != 0);
    ConsoleJobListener listener(cli.Ui(), progress, replace_);
    DownloadJob job(cli.Session().Instrument(), listener);
    job.Start({entries, folder_});
    Follow(cli, job, listener);
    progress.Finish();
    if (!switchRate) {
        SettleLine(link);
    } else if (!RestoreRate(access, link, linkRate)) {
        std::fprintf(cli.Err(), "brennix-cli: could not switch the line back to %u baud\n",
                     linkRate);
    }
    return Summarise(cli, entries, listener) && allFound ? kExitOk : kExitFailed;
}

// What became of each file, the outcome and the total time; true when every file arrived.
bool RecorderCommand::Summarise(CliSession& cli, const std::vector<RecorderFileEntry>& entries,
                                const ConsoleJobListener& listener) {
    const std::vector<DownloadedFile> files = listener.Files();
    for (const DownloadedFile& file : files) {
        std::fprintf(cli.Out(), "%s\n", Outcome(file).c_str());
    }
    for (size_t i = files.size(); i < entries.size(); ++i) {
        std::fprintf(cli.Out(), "%s  not downloaded\n", PrintableName(entries[i].name).c_str());
    }
    std::fprintf(cli.Out(), "%s\n%s\n", listener.Status().c_str(), listener.Detail().c_str());
    return files.size() == entries.size() && std::all_of(files.begin(), files.end(), Arrived) &&
           listener.Status() == "Done";
}

int RecorderCommand::Format(CliSession& cli) {
    if (!confirmed_ && cli.Ui().ShowMessage(kFormatWarning, "Format?", MessageButtons::kOkCancel,
                                            MessageIcon::kError) != MessageResult::kOk) {
        std::fprintf(cli.Out(), "Not formatted\n");
        return kExitFailed;
    }
    ConsoleProgress progress(cli.Err(), ::isatty(::fileno(cli.Err())) != 0);
    ConsoleJobListener listener(cli.Ui(), progress, std::nullopt);
    FormatJob job(cli.Session().Instrument(), listener);
    job.Start();
    Follow(cli, job, listener);
    progress.Finish();
    std::fprintf(cli.Out(), "%s\n", listener.Status().c_str());
    if (!listener.Detail().empty()) {
        std::fprintf(cli.Out(), "%s\n", listener.Detail().c_str());
    }
    return listener.Status() == "Done" ? kExitOk : kExitFailed;
}

template <typename Job>
void RecorderCommand::Follow(CliSession& cli, Job& job, ConsoleJobListener& listener) {
    Clock& clock = cli.Session().GetClock();
    bool stopAsked = false;
    while (!listener.Ended()) {
        listener.Pump();
        cli.Ui().DeliverInterrupt();
        if (cli.QuitRequested() && !stopAsked) {
            job.RequestStop();
            stopAsked = true;
        }
        clock.Sleep(kPumpMs);
    }
    job.WaitFinished(kLastWordsMs);
    listener.Pump();
}

template <>
std::span<const CliCommandEntry> ConsoleCommands<RecorderFeature>() {
    static constexpr std::array kCommands = {
        // One command, shown in its three forms.
        CliCommandEntry{"recorder", "recorder list", "list the recorder's files and its used space",
                        &MakeCommand<RecorderCommand>},
        CliCommandEntry{"recorder", "recorder download NAME...|--all",
                        "download files [--to DIR] [--rate N] [--replace ask|yes|no|all]",
                        &MakeCommand<RecorderCommand>},
        CliCommandEntry{"recorder", "recorder format [--yes]", "erase the recorder's memory card",
                        &MakeCommand<RecorderCommand>},
    };
    return kCommands;
}

}  // namespace brennix::cli
