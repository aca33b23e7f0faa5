#include "cli/setup_command.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "cli/cli_session.h"
#include "cli/deploy_command.h"
#include "cli/setup_console.h"
#include "cli/setup_listing.h"
#include "setup/setup_feature.h"
#include "setup/setup_texts.h"

namespace brennix::cli {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The page control a setting's command word names, in any case.
const ControlSpec* SpecNamed(std::string_view word) {
    for (const ControlSpec& spec : ControlSpecs()) {
        if (spec.home != ControlHome::kSdi12Dialog && !spec.step.word.empty() &&
            SameText(spec.step.word, word)) {
            return &spec;
        }
    }
    return nullptr;
}

SetupPage PageOf(const ControlSpec& spec) {
    return spec.home == ControlHome::kAdvancedPage ? SetupPage::kAdvanced : SetupPage::kDeploy;
}

// The words --set takes, in the order the pages write them.
std::string SettingWords() {
    std::string words;
    for (const ControlHome home : {ControlHome::kDeployPage, ControlHome::kAdvancedPage}) {
        for (const ControlSpec* spec : SaveOrder(home)) {
            words += (words.empty() ? "" : ", ") + std::string(spec->step.word);
        }
    }
    return words;
}

// A list's entry as the list writes it, whatever case was typed; other text as it is.
std::string AsEntry(const SetupSheet& sheet, SetupControl control, const std::string& value) {
    for (const std::string_view entry : sheet.Choices(control)) {
        if (SameText(entry, value)) {
            return std::string(entry);
        }
    }
    return value;
}

// Ctrl-C pressed while the instrument was read.
bool Interrupted(CliSession& cli) {
    cli.Ui().DeliverInterrupt();
    return cli.QuitRequested();
}

// The instrument's answer to a command on one line: without the command's echo, the prompts and
// the line ends.
std::string AnswerTo(const std::string& command, const std::string& reply) {
    std::string answer;
    size_t start = 0;
    while (start < reply.size()) {
        const size_t end = std::min(reply.find_first_of("\r\n", start), reply.size());
        std::string line = reply.substr(start, end - start);
        start = end + 1;
        line.erase(0, line.find_first_not_of(" >"));
        if (!line.empty() && line != command) {
            answer += (answer.empty() ? "" : " ") + line;
        }
    }
    return answer;
}

bool SavedSetup(const SetupResult& result) {
    return std::any_of(result.sent.begin(), result.sent.end(),
                       [](const SentCommand& sent) { return sent.command == "SaveSetup"; });
}

void PrintAccepted(CliSession& cli, const SetupResult& result) {
    for (const SentCommand& sent : result.sent) {
        if (sent.accepted && sent.command != "SaveSetup") {
            std::fprintf(cli.Out(), "%s: OK\n", sent.command.c_str());
        }
    }
}

void PrintRefusal(CliSession& cli, const Refusal& refusal) {
    if (refusal.source == Refusal::Source::kInstrument) {
        std::fprintf(cli.Err(), "%s: %s\n", setup_texts::kInvalidInput,
                     AnswerTo(refusal.command, refusal.message).c_str());
    } else {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", refusal.message.c_str());
    }
}

}  // namespace

bool SetupCommand::Parse(CommandArguments& arguments) {
    std::string units;
    std::vector<std::string> settings;
    json_ = arguments.TakeFlag("--json");
    if (!arguments.TakeChoice("--units", {"metric", "english"}, units) ||
        !arguments.TakeList("--set", settings)) {
        return false;
    }
    if (!units.empty()) {
        units_ = units == "english" ? UnitSystem::kEnglish : UnitSystem::kMetric;
    }
    for (const std::string& setting : settings) {
        if (!ParseChange(arguments, setting)) {
            return false;
        }
    }
    if (json_ && !changes_.empty()) {
        return arguments.Reject("--json lists the pages; it does not go with --set");
    }
    return arguments.Finish();
}

bool SetupCommand::ParseChange(CommandArguments& arguments, const std::string& setting) {
    const size_t equals = setting.find('=');
    const ControlSpec* spec =
        equals == std::string::npos ? nullptr : SpecNamed(setting.substr(0, equals));
    if (spec == nullptr) {
        return arguments.Reject("--set takes WORD=VALUE with one of " + SettingWords() + "; not '" +
                                setting + "'");
    }
    const bool repeated = std::any_of(changes_.begin(), changes_.end(),
                                      [spec](const Change& change) { return change.spec == spec; });
    if (repeated) {
        return arguments.Reject("--set " + std::string(spec->step.word) + " is given twice");
    }
    changes_.push_back({spec, setting.substr(equals + 1)});
    return true;
}

int SetupCommand::Run(CliSession& cli) {
    ConsoleSetup setup(
        cli, units_.value_or(UnitSystemFromSetting(cli.Store().Read(settings::kUnitSystem))));
    if (!setup.Open()) {
        return kExitFailed;
    }
    return changes_.empty() ? Show(cli, setup) : Apply(cli, setup);
}

int SetupCommand::Show(CliSession& cli, ConsoleSetup& setup) const {
    const std::string days = setup.Sheet().DaysRemaining();
    const auto shown = setup.Run([](SetupService& s) {
        return s.Turn(std::nullopt,
                      {SetupPage::kAdvanced, SetupPage::kHardware, SetupPage::kOptions});
    });
    if (!shown || shown->outcome != SetupOutcome::kDone) {
        return kExitFailed;
    }
    const SetupListing listing = ListSetup(setup.Sheet(), days);
    std::fputs((json_ ? ListingJson(listing) : ListingText(listing)).c_str(), cli.Out());
    return kExitOk;
}

std::vector<SetupPage> SetupCommand::ChangedPages() const {
    std::vector<SetupPage> pages;
    for (const SetupPage page : {SetupPage::kDeploy, SetupPage::kAdvanced}) {
        if (std::any_of(changes_.begin(), changes_.end(),
                        [page](const Change& change) { return PageOf(*change.spec) == page; })) {
            pages.push_back(page);
        }
    }
    return pages;
}

int SetupCommand::Apply(CliSession& cli, ConsoleSetup& setup) const {
    const std::vector<SetupPage> pages = ChangedPages();
    if (std::find(pages.begin(), pages.end(), SetupPage::kAdvanced) != pages.end()) {
        const auto shown =
            setup.Run([](SetupService& s) { return s.Turn(std::nullopt, {SetupPage::kAdvanced}); });
        if (!shown || shown->outcome != SetupOutcome::kDone) {
            return kExitFailed;
        }
    }
    if (!TakeValues(cli, setup.Sheet())) {
        return kExitFailed;
    }
    if (Interrupted(cli)) {
        std::fprintf(cli.Err(), "brennix-cli: stopped; nothing was changed\n");
        return kExitFailed;
    }
    const auto applied = setup.Run([&pages](SetupService& s) { return s.Apply(pages); });
    if (!applied) {
        return kExitFailed;
    }
    PrintAccepted(cli, *applied);
    const bool taken = SavedSetup(*applied);
    if (applied->outcome != SetupOutcome::kDone) {
        if (applied->refusal) {
            PrintRefusal(cli, *applied->refusal);
        }
        if (taken) {
            std::fprintf(cli.Err(),
                         "brennix-cli: the settings taken before it were saved with "
                         "SaveSetup\n");
        }
        return kExitFailed;
    }
    std::fprintf(cli.Out(), "%s\n",
                 taken ? "SaveSetup: the settings are saved on the instrument."
                       : "Nothing to change: the instrument holds these values already.");
    return kExitOk;
}

bool SetupCommand::TakeValues(CliSession& cli, SetupSheet& sheet) const {
    for (const Change& change : changes_) {
        const SetupControl control = change.spec->control;
        sheet.SetValue(control, AsEntry(sheet, control, change.value));
    }
    // Whether a control takes input follows the lists as they are now set, as on the page.
    for (const Change& change : changes_) {
        if (!sheet.Editable(change.spec->control)) {
            std::fprintf(cli.Err(), "brennix-cli: %s cannot be set: %s\n",
                         std::string(change.spec->step.word).c_str(),
                         std::string(change.spec->locked).c_str());
            return false;
        }
    }
    for (const SetupPage page : ChangedPages()) {
        if (const std::optional<Refusal> refusal = sheet.CheckPage(page)) {
            std::fprintf(cli.Err(), "brennix-cli: %s\n", refusal->message.c_str());
            return false;
        }
    }
    return true;
}

template <>
std::span<const CliCommandEntry> ConsoleCommands<SetupFeature>() {
    static constexpr std::array kCommands = {
        CliCommandEntry{"setup", "setup [--units U] [--json | --set W=V...]",
                        "show a Mirovan's setup pages, or set W (SI, CB...); U metric|english",
                        &MakeCommand<SetupCommand>},
        CliCommandEntry{"deploy", "deploy [--mode standard|sdi12] [--no-record]",
                        "start a Mirovan deployment; SDI-12: --sdi12-address/-format/-units",
                        &MakeCommand<DeployCommand>},
    };
    return kCommands;
}

}  // namespace brennix::cli
