#include "sim/command_interpreter.h"

#include <optional>

#include "sim/block_framer.h"
#include "sim/info_pages.h"
#include "sim/model_profile.h"
#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr std::string_view kPrompt = ">";
constexpr std::string_view kOk = "OK\r\n>";
constexpr char kBannerLeadByte = static_cast<char>(0xE8);

Reply Answer(std::string text) {
    return {std::string(std::move(text)) + std::string(kPrompt)};
}

// Error texts never repeat what the user typed, so they can never hold "OK" or a prompt.
Reply Error(std::string_view what) {
    return Answer("ERROR: " + std::string(what) + "\r\n");
}

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

bool IsOneOf(std::string_view word, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        if (EqualsIgnoringCase(word, name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

CommandInterpreter::CommandInterpreter(const Settings& settings, const Faults& faults)
    : settings_(settings), faults_(faults), blocks_(settings.model), store_(blocks_) {}

Reply CommandInterpreter::Run(std::string_view line) {
    const auto [word, argument] = SplitWord(Trim(line));
    if (word.empty()) {
        return {std::string(kPrompt)};
    }
    if (IsOneOf(word, {"Ver"})) {
        return Banner();
    }
    if (IsOneOf(word, {"systemtype"})) {
        return SystemType();
    }
    if (IsOneOf(word, {"get"})) {
        return GetBlock(argument);
    }
    if (IsOneOf(word, {"SaveSetup", "?EXIT!", "?EXIT!!"})) {
        return {std::string(kOk)};
    }
    if (IsOneOf(word, {"Defaults"})) {
        store_.RestoreDefaults();
        return {std::string(kOk)};
    }
    if (IsOneOf(word, {"Deploy", "Start", "sample", "PowerDown", "Sleep"})) {
        return {std::string(kOk), Reply::Then::kSleep};
    }
    if (IsOneOf(word, {"SDI12"})) {
        return Sdi12(argument);
    }
    if (IsOneOf(word, {"Compass"})) {
        return Compass(argument);
    }
    if (IsOneOf(word, {"Sensor"})) {
        return Sensor(argument);
    }
    if (IsOneOf(word, {"Help"})) {
        const std::optional<std::string> page = HelpPage(argument);
        return page ? Answer(*page) : Error("no help on that topic");
    }
    if (IsOneOf(word, {"Show"})) {
        const std::optional<std::string> page = ShowPage(argument, blocks_, store_);
        return page ? Answer(*page) : Error("nothing to show by that name");
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
    std::string text = "OK\r\n" + FrameBlock(blocks_.Block(*id), faults_);
    if (faults_.shortBlock) {
        return {text};  // the frame breaks off; nothing follows
    }
    return Answer(text + "\r\n");
}

Reply CommandInterpreter::Sdi12(std::string_view argument) const {
    if (argument.empty()) {
        return Answer("SDI12 OFF\r\n");
    }
    if (EqualsIgnoringCase(argument, "ON")) {
        return {"OK\r\n", Reply::Then::kEnterSdi12};
    }
    if (EqualsIgnoringCase(argument, "OFF")) {
        return {std::string(kOk)};
    }
    return Error("use SDI12 ON or SDI12 OFF");
}

Reply CommandInterpreter::Compass(std::string_view argument) const {
    constexpr std::string_view kReading = "Heading 123.4 Pitch 1.2 Roll -0.8\r\n";
    if (argument.empty()) {
        return Answer(std::string(kReading));
    }
    if (EqualsIgnoringCase(argument, "CONT")) {
        return Answer(std::string(kReading) + "Heading 123.6 Pitch 1.1 Roll -0.7\r\n" +
                      "Heading 123.5 Pitch 1.2 Roll -0.8\r\n");
    }
    if (IsOneOf(argument, {"init", "CAL"})) {
        return {std::string(kOk)};
    }
    return Error("unknown compass command");
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
    return store_.Apply(spec, value) ? Reply{std::string(kOk)} : Error("invalid value");
}

}  // namespace brennix::sim
