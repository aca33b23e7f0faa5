#include "cli/exchange_commands.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "cli/cli_session.h"
#include "instrument/config_reader.h"
#include "instrument/instrument_codes.h"
#include "script/commands_table.h"

namespace brennix::cli {

namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

int ResultOf(bool succeeded) {
    return succeeded ? kExitOk : kExitFailed;
}

// Runs the terminal work that start begins; false when it did not start or did not succeed.
bool RunTerminalWork(
    CliSession& cli,
    const std::function<std::optional<std::string>(TerminalService::Finished)>& start) {
    bool succeeded = false;
    return cli.AwaitTerminal(start([&succeeded](bool done) { succeeded = done; })) && succeeded;
}

// A line nobody answers (an instrument asleep, a wrong rate) is a failure, not an empty success.
bool Unanswered(CliSession& cli, uint64_t receivedBefore, uint32_t waitMs) {
    if (cli.Session().Link().BytesReceived() != receivedBefore || cli.QuitRequested()) {
        return false;
    }
    std::fprintf(cli.Err(), "brennix-cli: no reply from the instrument within %u ms.\n", waitMs);
    cli.ExplainSilence();
    return true;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

LabelMatch FindCommandsEntry(const std::string& label) {
    if (const CommandEntry* exact = CommandsTable::LabelLookup(label)) {
        return {exact, {}};
    }
    // Labels that repeat ("SaveSetup", "Deploy") name the same command; different labels that
    // differ only in case would leave the choice to chance.
    const CommandEntry* found = nullptr;
    std::string candidates;
    for (const CommandEntry& entry : CommandsTable::Entries()) {
        if (entry.IsGroup() || !SameIgnoringCase(entry.Label(), label)) {
            continue;
        }
        if (found == nullptr) {
            found = &entry;
            candidates = std::string(entry.Label());
        } else if (entry.Label() != found->Label()) {
            candidates += ", " + std::string(entry.Label());
            found = nullptr;
            break;
        }
    }
    if (found != nullptr) {
        return {found, {}};
    }
    if (!candidates.empty()) {
        return {nullptr, "'" + label + "' matches several Commands entries (" + candidates +
                             "); give the label exactly"};
    }
    return {nullptr, "no Commands entry is labelled '" + label + "'; menu --list shows them"};
}

bool SendCommand::Parse(CommandArguments& arguments) {
    return arguments.TakeNumber("--wait", waitMs_) && arguments.TakePositional(line_, "LINE") &&
           arguments.Finish();
}

int SendCommand::Run(CliSession& cli) {
    cli.ShowOutput();
    const uint64_t before = cli.Session().Link().BytesReceived();
    const bool sent = RunTerminalWork(cli, [this, &cli](TerminalService::Finished finished) {
        return cli.Terminal().SendLine(line_, std::move(finished));
    });
    cli.PollFor(waitMs_);
    return ResultOf(!Unanswered(cli, before, waitMs_) && sent);
}

int IdentifyCommand::Run(CliSession& cli) {
    int code = 0;
    if (!cli.AwaitTerminal(cli.Terminal().Identify([&code](int found) { code = found; }))) {
        return kExitFailed;
    }
    std::fprintf(cli.Out(), "%s\n", InstrumentCodeName(code));
    return ResultOf(IsInstrument(code));
}

int ConfigCommand::Run(CliSession& cli) {
    TerminalService::ConfigDump dump;
    if (!cli.AwaitTerminal(cli.Terminal().ReadConfiguration(
            [&dump](const TerminalService::ConfigDump& read) { dump = read; }))) {
        return kExitFailed;
    }
    if (!IsInstrument(dump.found)) {
        std::fprintf(cli.Err(), "brennix-cli: no instrument answers: %s\n",
                     InstrumentCodeName(dump.found));
        return kExitFailed;
    }
    bool allRead = true;
    for (size_t i = 0; i < dump.blocks.size(); ++i) {
        const CConfigReader::BlockKind& kind = CConfigReader::kBlocks[i];
        if (!dump.blocks[i].empty()) {
            std::fprintf(cli.Out(), "%s %s\n", kind.label, Hex(dump.blocks[i]).c_str());
        } else {
            std::fprintf(cli.Err(), "brennix-cli: \"%s\" failed\n", kind.command);
            allRead = false;
        }
    }
    return ResultOf(allRead);
}

bool RunFileCommand::Parse(CommandArguments& arguments) {
    return arguments.TakeNumber("--wait", waitMs_) && arguments.TakePositional(path_, "FILE") &&
           arguments.Finish();
}

int RunFileCommand::Run(CliSession& cli) {
    cli.ShowOutput();
    const bool ran = RunTerminalWork(cli, [this, &cli](TerminalService::Finished finished) {
        return cli.Terminal().RunFile(path_, std::move(finished));
    });
    cli.PollFor(waitMs_);
    return ResultOf(ran);
}

bool MenuCommand::Parse(CommandArguments& arguments) {
    list_ = arguments.TakeFlag("--list");
    if (list_) {
        return arguments.Finish();
    }
    return arguments.TakeNumber("--wait", waitMs_) && arguments.TakePositional(label_, "LABEL") &&
           arguments.Finish();
}

std::optional<int> MenuCommand::RunWithoutPort(std::FILE* out) {
    if (!list_) {
        return std::nullopt;
    }
    for (const CommandEntry& entry : CommandsTable::Entries()) {
        if (entry.IsGroup()) {
            std::fprintf(out, "%s\n", std::string(entry.GroupTitle()).c_str());
        } else {
            std::fprintf(out, "  %s\n", std::string(entry.Label()).c_str());
        }
    }
    return kExitOk;
}

int MenuCommand::Run(CliSession& cli) {
    const LabelMatch match = FindCommandsEntry(label_);
    if (!match.entry) {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", match.error.c_str());
        return kExitFailed;
    }
    cli.ShowOutput();
    const uint64_t before = cli.Session().Link().BytesReceived();
    const bool ran = RunTerminalWork(cli, [&match, &cli](TerminalService::Finished finished) {
        return cli.Terminal().RunCommandsEntry(match.entry->Id(), std::move(finished));
    });
    cli.PollFor(waitMs_);
    return ResultOf(!Unanswered(cli, before, waitMs_) && ran);
}

}  // namespace brennix::cli
