#include "cli/exchange_commands.h"

#include <array>
#include <fstream>
#include <vector>

#include "app/commands_table.h"
#include "cli/cli_session.h"
#include "instrument/instrument_codes.h"

namespace brennix::cli {

namespace {

constexpr uint32_t kBlockTimeoutMs = 15000;

struct BlockRequest {
    const char* label;
    const char* command;
    size_t size;
};
constexpr std::array<BlockRequest, 3> kConfigBlocks = {{
    {"Conf", "get Conf", 96},
    {"User", "get User", 258},
    {"Oper", "get Oper", 64},
}};

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

}  // namespace

bool SendCommand::Parse(CommandArguments& arguments) {
    return arguments.TakeNumber("--wait", waitMs_) && arguments.TakePositional(line_, "LINE") &&
           arguments.Finish();
}

int SendCommand::Run(CliSession& cli) {
    cli.ShowOutput();
    const bool sent = cli.Session().Instrument().RunText(line_);
    cli.PollFor(waitMs_);
    return ResultOf(sent);
}

int IdentifyCommand::Run(CliSession& cli) {
    const int code = cli.Session().Instrument().FindInstrument(true, true);
    std::fprintf(cli.Out(), "%s\n", InstrumentCodeName(code));
    return ResultOf(IsInstrument(code));
}

int ConfigCommand::Run(CliSession& cli) {
    CInstrument& instrument = cli.Session().Instrument();
    const int code = instrument.FindInstrument(false, true);
    if (!IsInstrument(code)) {
        std::fprintf(cli.Err(), "brennix-cli: no instrument answers: %s\n",
                     InstrumentCodeName(code));
        return kExitFailed;
    }
    bool allRead = true;
    for (const BlockRequest& request : kConfigBlocks) {
        std::vector<uint8_t> block(request.size);
        if (instrument.ReadBlock(request.command, block, kBlockTimeoutMs)) {
            std::fprintf(cli.Out(), "%s %s\n", request.label, Hex(block).c_str());
        } else {
            std::fprintf(cli.Err(), "brennix-cli: \"%s\" failed\n", request.command);
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
    if (!std::ifstream(path_, std::ios::binary)) {
        std::fprintf(cli.Err(), "brennix-cli: cannot read the command file %s\n", path_.c_str());
        return kExitFailed;
    }
    cli.ShowOutput();
    const bool ran = cli.Session().Instrument().RunFile(path_);
    cli.PollFor(waitMs_);
    return ResultOf(ran);
}

bool MenuCommand::Parse(CommandArguments& arguments) {
    return arguments.TakeNumber("--wait", waitMs_) && arguments.TakePositional(label_, "LABEL") &&
           arguments.Finish();
}

int MenuCommand::Run(CliSession& cli) {
    const CommandEntry* entry = CommandsTable::LabelLookup(label_);
    if (!entry) {
        std::fprintf(cli.Err(), "brennix-cli: no Commands entry is labelled '%s'\n",
                     label_.c_str());
        return kExitFailed;
    }
    cli.ShowOutput();
    const bool ran = RunCommandsEntry(entry->Id(), cli.Session().Engine()) != 0;
    cli.PollFor(waitMs_);
    return ResultOf(ran);
}

}  // namespace brennix::cli
