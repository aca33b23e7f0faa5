#include "sim/command_interpreter.h"

#include <algorithm>
#include <optional>

#include "sim/asleep_mode.h"
#include "sim/block_framer.h"
#include "sim/info_pages.h"
#include "sim/model_profile.h"
#include "sim/sdi12_mode.h"
#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr std::string_view kPrompt = ">";
constexpr char kBannerLeadByte = static_cast<char>(0xE8);

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Splits "word rest of line" into the word and the trimmed rest.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view line) {
    const size_t end = line.find_first_of(" \t");
    if (end == std::string_view::npos) {
        return {line, {}};
    }
    return {line.substr(0, end), Trim(line.substr(end))};
}

}  // namespace

CommandInterpreter::CommandInterpreter(const Settings& settings, const Faults& faults,
                                       ModeHost& host)
    : settings_(settings), faults_(faults), host_(host), blocks_(settings), store_(blocks_) {
    RegisterBuiltIns();
}

Reply CommandInterpreter::Answer(std::string text) {
    return {std::move(text) + std::string(kPrompt)};
}

Reply CommandInterpreter::Ok() {
    return {"OK\r\n>"};
}

Reply CommandInterpreter::Error(std::string_view what) {
    return Answer("ERROR: " + std::string(what) + "\r\n");
}

void CommandInterpreter::Register(std::initializer_list<std::string_view> words, Handler handler) {
    commands_.push_back({words, std::move(handler)});
}

void CommandInterpreter::RegisterBuiltIns() {
    Register({"Ver"}, [this](std::string_view, int64_t) { return Banner(); });
    Register({"systemtype"}, [this](std::string_view, int64_t) { return SystemType(); });
    Register({"get"}, [this](std::string_view name, int64_t) { return GetBlock(name); });
    Register({"SaveSetup", "?EXIT!", "?EXIT!!"}, [](std::string_view, int64_t) { return Ok(); });
    Register({"Defaults"}, [this](std::string_view, int64_t) {
        store_.RestoreDefaults();
        return Ok();
    });
    Register({"Deploy", "Start", "sample", "PowerDown", "Sleep"},
             [this](std::string_view, int64_t) {
                 Reply reply = Ok();
                 reply.next = std::make_unique<AsleepMode>(host_);
                 return reply;
             });
    Register({"SDI12"}, [this](std::string_view argument, int64_t) { return Sdi12(argument); });
    Register({"Sensor"}, [this](std::string_view argument, int64_t) { return Sensor(argument); });
    Register({"Help"}, [](std::string_view topic, int64_t) {
        const std::optional<std::string> page = HelpPage(topic);
        return page ? Answer(*page) : Error("no help on that topic");
    });
    Register({"Show"}, [this](std::string_view topic, int64_t) {
        const std::optional<std::string> page = ShowPage(topic, blocks_, store_);
        return page ? Answer(*page) : Error("nothing to show by that name");
    });
}

// The newest registration of a word wins, so a part of the instrument may take over a word.
const CommandInterpreter::Command* CommandInterpreter::Find(std::string_view word) const {
    for (auto it = commands_.rbegin(); it != commands_.rend(); ++it) {
        for (std::string_view name : it->words) {
            if (EqualsIgnoringCase(word, name)) {
                return &*it;
            }
        }
    }
    return nullptr;
}

Reply CommandInterpreter::Run(std::string_view line, int64_t nowMs) {
    const auto [word, argument] = SplitWord(Trim(line));
    if (word.empty()) {
        return {std::string(kPrompt)};
    }
    if (const Command* command = Find(word)) {
        return command->handler(argument, nowMs);
    }
    if (const SettingSpec* spec = SettingStore::Find(word)) {
        return Setting(*spec, argument);
    }
    return Error("unknown command");
}

Reply CommandInterpreter::Banner() const {
    const ModelProfile& profile = ProfileOf(settings_.model);
    const int64_t version = blocks_.ReadInt(fields::kCpuVersion);
    std::string text;
    if (settings_.bannerLeadByte) {
        text.push_back(kBannerLeadByte);
    }
    text += "Ostrel ";
    if (profile.displayName != profile.token) {
        text += std::string(profile.displayName) + " ";
    }
    text += std::string(profile.token) + " Version " + std::to_string(version / 10) + "." +
            std::to_string(version % 10) + "\r\n";
    text += "Serial number " + blocks_.ReadText(fields::kSerialNumber) + "\r\n";
    return Answer(text);
}

Reply CommandInterpreter::SystemType() const {
    const auto code = static_cast<uint8_t>(blocks_.ReadInt(fields::kSystemCode));
    return Answer("System type " + std::string(SystemTypeName(code / 16)) + "\r\n");
}

Reply CommandInterpreter::GetBlock(std::string_view name) const {
    std::optional<BlockId> id;
    if (EqualsIgnoringCase(name, "Conf")) {
        id = BlockId::kConf;
    } else if (EqualsIgnoringCase(name, "User")) {
        id = BlockId::kUser;
    } else if (EqualsIgnoringCase(name, "Oper")) {
        id = BlockId::kOper;
    }
    if (!id) {
        return Error("no such block");
    }
    return Answer("OK\r\n" + FrameBlock(blocks_.Block(*id), faults_) + "\r\n");
}

Reply CommandInterpreter::Sdi12(std::string_view argument) {
    if (argument.empty()) {
        return Answer("SDI12 OFF\r\n");
    }
    if (EqualsIgnoringCase(argument, "ON")) {
        return {"OK\r\n", std::make_unique<Sdi12Mode>(host_, ProfileOf(settings_.model).token)};
    }
    if (EqualsIgnoringCase(argument, "OFF")) {
        return Ok();
    }
    return Error("use SDI12 ON or SDI12 OFF");
}

Reply CommandInterpreter::Sensor(std::string_view argument) const {
    constexpr std::string_view kReading = "Temperature 18.42 C Pressure 10.317 dBar\r\n";
    if (argument.empty()) {
        return Answer(std::string(kReading));
    }
    if (EqualsIgnoringCase(argument, "CONT")) {
        return Answer(std::string(kReading) + "Temperature 18.43 C Pressure 10.319 dBar\r\n");
    }
    return Error("unknown sensor command");
}

Reply CommandInterpreter::Setting(const SettingSpec& spec, std::string_view value) {
    if (value.empty()) {
        return Answer(std::string(spec.names.front()) + " " + store_.Current(spec) + "\r\n");
    }
    const bool refused =
        std::any_of(faults_.refusedSettings.begin(), faults_.refusedSettings.end(),
                    [&spec](const std::string& word) { return SettingStore::Find(word) == &spec; });
    return !refused && store_.Apply(spec, value) ? Ok() : Error("invalid value");
}

}  // namespace brennix::sim
