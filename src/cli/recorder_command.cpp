#include "cli/recorder_command.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "cli/cli_session.h"
#include "platform/console_input.h"
#include "recorder/download_naming.h"
#include "recorder/download_settings.h"
#include "recorder/recorder_feature.h"
#include "recorder/recorder_texts.h"

namespace brennix::cli {

namespace {

namespace texts = recorder_texts;

constexpr uint32_t kPumpMs = 20;

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

// Recorder names are 8.3 names of a FAT card, where case does not count.
bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
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
    verify_ = arguments.TakeFlag("--verify");
    std::string replace = "ask";
    if (!arguments.TakeText("--to", folder_) || !arguments.TakeNumber("--rate", rate_, 1) ||
        !arguments.TakeNumber("--attempts", attempts_, 1, CRecorderAccess::kMaxBlockAttempts) ||
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
    cli_ = &cli;
    console_.emplace(cli.Err(), IsConsoleTerminal(cli.Err()));
    RecorderService service(cli.Session(), cli.Relay(), *this);
    switch (action_) {
        case Action::kList:
            return List(service);
        case Action::kDownload:
            return Download(service);
        case Action::kFormat:
            break;
    }
    return Format(service);
}

std::optional<RecorderListing> RecorderCommand::ReadListing(RecorderService& service) {
    service.List();
    if (!Follow(service)) {
        return std::nullopt;
    }
    if (!listing_) {
        std::fprintf(cli_->Err(),
                     "brennix-cli: cannot read the recorder's directory (%s); is the instrument on "
                     "this port at %u baud?\n",
                     texts::kListingFailed, cli_->Session().Link().GetBaudRate());
    }
    return listing_;
}

int RecorderCommand::List(RecorderService& service) {
    const std::optional<RecorderListing> listing = ReadListing(service);
    if (!listing) {
        return kExitFailed;
    }
    std::fprintf(cli_->Out(), "%s\n%s\n", texts::FileCount(listing->entries.size()).c_str(),
                 texts::UsedSpace(*listing).c_str());
    for (const RecorderFileEntry& entry : listing->entries) {
        std::fprintf(cli_->Out(), "%-12s %10u  %s  %s\n", PrintableName(entry.name).c_str(),
                     entry.size, texts::EntryDate(entry).c_str(), texts::EntryTime(entry).c_str());
    }
    return kExitOk;
}

bool RecorderCommand::Selected(const std::string& name) const {
    return all_ || std::any_of(names_.begin(), names_.end(), [&name](const std::string& wanted) {
               return SameName(wanted, name);
           });
}

// Keeps the entries asked for, in the recorder's order; false when a name is not on the recorder.
bool RecorderCommand::Select(std::vector<RecorderFileEntry>& entries) const {
    bool allFound = true;
    for (const std::string& name : names_) {
        if (std::none_of(entries.begin(), entries.end(), [&name](const RecorderFileEntry& entry) {
                return SameName(entry.name, name);
            })) {
            std::fprintf(cli_->Err(), "brennix-cli: no file %s on the recorder\n", name.c_str());
            allFound = false;
        }
    }
    std::erase_if(entries,
                  [this](const RecorderFileEntry& entry) { return !Selected(entry.name); });
    return allFound;
}

int RecorderCommand::Download(RecorderService& service) {
    std::optional<RecorderListing> listing = ReadListing(service);
    if (!listing) {
        return kExitFailed;
    }
    std::vector<RecorderFileEntry> entries = std::move(listing->entries);
    if (all_ && entries.empty()) {
        std::fprintf(cli_->Out(), "The recorder has no files: nothing to download\n");
        return kExitOk;
    }
    const bool allFound = Select(entries);
    if (entries.empty() && !allFound) {
        return kExitFailed;
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
        std::fprintf(cli_->Err(), "brennix-cli: cannot create the folder %s: %s\n", folder_.c_str(),
                     error.message().c_str());
        return kExitFailed;
    }
    Settings& saved = cli_->Store();
    const int attempts =
        attempts_ != kSavedAttempts ? static_cast<int>(attempts_) : SavedBlockAttempts(saved);
    service.Download(
        {entries, folder_, DownloadRate(service), attempts, verify_ || SavedVerify(saved)});
    Follow(service);
    console_->Finish();
    return Summarise(entries, allFound);
}

// What became of the files the download did not reach, how it ended and the total time; success
// only when every file arrived.
int RecorderCommand::Summarise(const std::vector<RecorderFileEntry>& entries, bool allFound) const {
    const DownloadResult& result = downloaded_;
    if (result.outcome == DownloadOutcome::kRateRefused) {
        std::fprintf(cli_->Err(), "brennix-cli: %s\n", texts::kRateRefused);
        return kExitFailed;
    }
    for (size_t i = result.files.size(); i < entries.size(); ++i) {
        std::fprintf(cli_->Out(), "%s  not downloaded\n", PrintableName(entries[i].name).c_str());
    }
    if (result.elapsedMs) {
        std::fprintf(cli_->Out(), "%s\n%s\n", texts::DownloadEnd(result).c_str(),
                     texts::DownloadEndDetail(result).c_str());
    }
    if (result.rateNotRestored) {
        std::fprintf(cli_->Err(), "brennix-cli: could not switch the line back to %u baud\n",
                     cli_->Session().Link().GetBaudRate());
    }
    return result.outcome == DownloadOutcome::kDone && allFound ? kExitOk : kExitFailed;
}

// --rate, else the rate the recorder manager keeps; the line's own when the port cannot change
// rates (a raw TCP device server).
std::optional<uint32_t> RecorderCommand::DownloadRate(const RecorderService& service) const {
    const std::optional<uint32_t> wanted =
        rate_ != 0 ? std::optional<uint32_t>(rate_) : SavedDownloadRate(cli_->Store());
    const std::string limits = service.RateLimits();
    if (!wanted || limits.empty()) {
        return wanted;
    }
    std::fprintf(cli_->Err(), "brennix-cli: downloading at the line's %u baud: %s\n",
                 cli_->Session().Link().GetBaudRate(), limits.c_str());
    return std::nullopt;
}

int RecorderCommand::Format(RecorderService& service) {
    if (!confirmed_ && cli_->Ui().ShowMessage(texts::kFormatWarning, texts::kFormatCaption,
                                              MessageButtons::kOkCancel,
                                              MessageIcon::kError) != MessageResult::kOk) {
        std::fprintf(cli_->Out(), "Not formatted\n");
        return kExitFailed;
    }
    service.Format();
    Follow(service);
    console_->Finish();
    std::fprintf(cli_->Out(), "%s\n", texts::FormatEnd(formatted_).c_str());
    const std::string detail = texts::FormatEndDetail(formatted_);
    if (!detail.empty()) {
        std::fprintf(cli_->Out(), "%s\n", detail.c_str());
    }
    return formatted_ == FormatOutcome::kDone ? kExitOk : kExitFailed;
}

bool RecorderCommand::Follow(RecorderService& service) {
    const auto ended = [&service] { return !service.IsBusy(); };
    const auto step = [this] {
        DrawProgress();
        cli_->Session().GetClock().Sleep(kPumpMs);
    };
    if (cli_->PumpUntil(ended, step)) {
        return true;
    }
    // What the stop leaves to wait for is shown too.
    service.Stop();
    cli_->PumpToEnd(ended, step);
    return false;
}

void RecorderCommand::OnProgress(const RecorderProgress& progress) {
    progress_ = progress;
    progressChanged_ = true;
}

// Once per round of the console's pump: what the operation reported last, from the first file
// (or round) on. The end is summed up instead.
void RecorderCommand::DrawProgress() {
    if (progressChanged_ && !progress_.subject.empty()) {
        console_->Show(progress_.subject, progress_.position, progress_.range, progress_.detail);
    }
    progressChanged_ = false;
}

// The file's line takes the place of its progress, which is not drawn again.
void RecorderCommand::OnFileEnded(const DownloadedFile& file) {
    progressChanged_ = false;
    console_->Finish();
    std::fprintf(cli_->Out(), "%s\n", texts::FileLine(file).c_str());
    std::fflush(cli_->Out());
}

MessageResult RecorderCommand::ShowMessage(const std::string& text, const std::string& caption,
                                           MessageButtons buttons, MessageIcon icon) {
    console_->Finish();
    return cli_->Ui().ShowMessage(text, caption, buttons, icon);
}

ReplaceAnswer RecorderCommand::ConfirmReplace(const std::string& path) {
    if (replace_) {
        return *replace_;
    }
    console_->Finish();
    return cli_->Ui().AskReplace(texts::ReplaceQuestion(path));
}

template <>
std::span<const CliCommandEntry> ConsoleCommands<RecorderFeature>() {
    static constexpr std::array kCommands = {
        // One command, shown in its three forms.
        CliCommandEntry{"recorder", "recorder list", "list the recorder's files and its used space",
                        &MakeCommand<RecorderCommand>},
        CliCommandEntry{"recorder", "recorder download NAME...|--all",
                        "download files [--to DIR] [--rate N] [--attempts N] [--verify] "
                        "[--replace ask|yes|no|all]",
                        &MakeCommand<RecorderCommand>},
        CliCommandEntry{"recorder", "recorder format [--yes]", "erase the recorder's memory card",
                        &MakeCommand<RecorderCommand>},
    };
    return kCommands;
}

}  // namespace brennix::cli
