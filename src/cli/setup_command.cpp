#include "cli/setup_command.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "cli/cli_session.h"
#include "cli/deploy_command.h"
#include "cli/setup_listing.h"
#include "instrument/setup_reader.h"
#include "recorder/recorder_space.h"
#include "setup/deployment.h"
#include "setup/setup_feature.h"

namespace brennix::cli {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

const SettingStep* StepNamed(std::string_view word, SetupPage& page) {
    for (const auto& [steps, owner] : {std::pair{DeployPageSteps(), SetupPage::kDeploy},
                                       std::pair{AdvancedPageSteps(), SetupPage::kAdvanced}}) {
        for (const SettingStep& step : steps) {
            if (SameText(step.word, word)) {
                page = owner;
                return &step;
            }
        }
    }
    return nullptr;
}

SetupPage PageOf(const SettingStep& step) {
    SetupPage page = SetupPage::kDeploy;
    StepNamed(step.word, page);
    return page;
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

// What keeps a control from taking input on the page.
const char* WhyNotEditable(SetupControl control) {
    switch (control) {
        case SetupControl::kCellBegin:
        case SetupControl::kCellEnd:
            return "the page sets the cells only on VW and JQ instruments";
        case SetupControl::kDynBoundAdj:
            return "the page offers dynamic boundary adjustment only on VW instruments";
        case SetupControl::kWaveSpectra:
            return "the instrument does not answer YES to enablewaves";
        case SetupControl::kWaterDepth:
            return "the water depth takes input only with wave spectra available and set to YES";
        case SetupControl::kTemperature:
            return "the default temperature takes input only with TempMode USER";
        default:
            return "the page does not let it be changed";
    }
}

// Ctrl-C pressed while the instrument was read or a page was written.
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

}  // namespace

std::optional<SetupRecord> OpenSetupRecord(CliSession& cli) {
    if (!CheckInstrumentFor(cli.Session(), SetupFeature::kCheck)) {
        return std::nullopt;
    }
    const SetupRecordRead read = ReadSetupRecord(cli.Session().Instrument());
    if (!read.record) {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", read.failure.c_str());
    }
    return read.record;
}

bool SetupCommand::Parse(CommandArguments& arguments) {
    std::string units;
    std::vector<std::string> settings;
    json_ = arguments.TakeFlag("--json");
    if (!arguments.TakeChoice("--units", {"metric", "english"}, units) ||
        !arguments.TakeRepeated("--set", settings)) {
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
    SetupPage page = SetupPage::kDeploy;
    const SettingStep* step =
        equals == std::string::npos ? nullptr : StepNamed(setting.substr(0, equals), page);
    if (step == nullptr) {
        return arguments.Reject(
            "--set takes WORD=VALUE with one of SI, AI, CB, CE, SD, ST, "
            "Deployment, CoordSystem, DataFormat, DynBoundAdj, WaveSpectra, "
            "WD, TempMode, Temp, Sal; not '" +
            setting + "'");
    }
    const bool repeated = std::any_of(changes_.begin(), changes_.end(),
                                      [step](const Change& change) { return change.step == step; });
    if (repeated) {
        return arguments.Reject("--set " + std::string(step->word) + " is given twice");
    }
    changes_.push_back({step, setting.substr(equals + 1)});
    return true;
}

int SetupCommand::Run(CliSession& cli) {
    std::optional<SetupRecord> record = OpenSetupRecord(cli);
    if (!record) {
        return kExitFailed;
    }
    SetupSheet sheet(
        *record, cli.Session().Instrument(), cli.Ui(),
        units_.value_or(UnitSystemFromSetting(cli.Store().Read(settings::kUnitSystem))),
        &ReadRecorderFreeBytes);
    sheet.ShowPage(SetupPage::kDeploy);
    return changes_.empty() ? Show(cli, sheet) : Apply(cli, sheet);
}

int SetupCommand::Show(CliSession& cli, SetupSheet& sheet) const {
    const std::string days = sheet.DaysRemaining();
    for (const SetupPage page : {SetupPage::kAdvanced, SetupPage::kHardware, SetupPage::kOptions}) {
        sheet.ShowPage(page);
    }
    const SetupListing listing = ListSetup(sheet, days);
    std::fputs((json_ ? ListingJson(listing) : ListingText(listing)).c_str(), cli.Out());
    return kExitOk;
}

bool SetupCommand::Changes(SetupPage page) const {
    return std::any_of(changes_.begin(), changes_.end(),
                       [page](const Change& change) { return PageOf(*change.step) == page; });
}

int SetupCommand::Apply(CliSession& cli, SetupSheet& sheet) const {
    if (Changes(SetupPage::kAdvanced)) {
        sheet.ShowPage(SetupPage::kAdvanced);
    }
    if (!TakeValues(cli, sheet)) {
        return kExitFailed;
    }
    if (Interrupted(cli)) {
        std::fprintf(cli.Err(), "brennix-cli: stopped; nothing was changed\n");
        return kExitFailed;
    }
    const bool saved = SavePages(cli, sheet);
    const bool taken = sheet.Modified();
    sheet.SaveSetupIfModified();
    if (!saved) {
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
        const SetupControl control = change.step->control;
        sheet.SetValue(control, AsEntry(sheet, control, change.value));
    }
    // Whether a control takes input follows the lists as they are now set, as on the page.
    for (const Change& change : changes_) {
        if (!sheet.Editable(change.step->control)) {
            std::fprintf(cli.Err(), "brennix-cli: %s cannot be set: %s\n",
                         std::string(change.step->word).c_str(),
                         WhyNotEditable(change.step->control));
            return false;
        }
    }
    for (const SetupPage page : {SetupPage::kDeploy, SetupPage::kAdvanced}) {
        if (!Changes(page)) {
            continue;
        }
        if (const std::optional<Refusal> refusal = sheet.CheckPage(page)) {
            std::fprintf(cli.Err(), "brennix-cli: %s\n", refusal->message.c_str());
            return false;
        }
    }
    return true;
}

bool SetupCommand::SavePages(CliSession& cli, SetupSheet& sheet) const {
    std::string lastCommand;
    sheet.SetWriteListener([&cli, &lastCommand](const std::string& command, bool accepted) {
        lastCommand = command;
        if (accepted) {
            std::fprintf(cli.Out(), "%s: OK\n", command.c_str());
        }
    });
    for (const SetupPage page : {SetupPage::kDeploy, SetupPage::kAdvanced}) {
        if (!Changes(page)) {
            continue;
        }
        if (Interrupted(cli)) {
            std::fprintf(cli.Err(), "brennix-cli: stopped before the %s page's settings\n",
                         page == SetupPage::kDeploy ? "Deploy" : "Advanced");
            return false;
        }
        if (const std::optional<Refusal> refusal = sheet.SavePage(page)) {
            if (refusal->source == Refusal::Source::kInstrument) {
                std::fprintf(cli.Err(), "Invalid input: %s\n",
                             AnswerTo(lastCommand, refusal->message).c_str());
            } else {
                std::fprintf(cli.Err(), "brennix-cli: %s\n", refusal->message.c_str());
            }
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
        CliCommandEntry{"deploy", "deploy [--mode standard|sdi12]",
                        "start a Mirovan deployment; SDI-12: --sdi12-address/-format/-units",
                        &MakeCommand<DeployCommand>},
    };
    return kCommands;
}

}  // namespace brennix::cli
