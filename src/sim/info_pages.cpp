#include "sim/info_pages.h"

#include <array>
#include <utility>

#include "sim/model_profile.h"
#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kHelpTopics = {{
    {"", "Help topics: System Setup Deploy Sdi12 Recorder Sensor Compass Show\r\n"},
    {"System",
     "Ver, SystemType, SaveSetup, Defaults, AutoSleep, Recorder, OutMode, OutFormat\r\n"
     "Start, Deploy, PowerDown\r\n"},
    {"Setup",
     "AI, SI, CB, CE, CS, BD, NC, CY, TM, DF, PM, DBA, Temp, Sal, WD\r\n"
     "Enter a command alone to see its value, with a value to set it.\r\n"},
    {"Deploy",
     "Deployment, Comments, SD (yyyy/mm/dd), ST (hh:mm:ss), BurstMode,\r\n"
     "BurstInterval, SamplesPerBurst, Deploy\r\n"},
    {"Sdi12", "SDI12 ON|OFF, Sdi12Address, Sdi12Format; ?EXIT!! returns to this mode\r\n"},
    {"Recorder", "Recorder ON|OFF, BDir\r\n"},
    {"Sensor", "Sensor, Sensor CONT, PressOffset, PressScale, PressScale_2\r\n"},
    {"Compass", "Compass, Compass CONT, Compass CAL\r\n"},
    {"Show", "Show Conf, Show Deploy, Show Setup, Show System\r\n"},
}};

std::string Line(std::string_view label, std::string_view value) {
    return std::string(label) + ": " + std::string(value) + "\r\n";
}

std::string YesNo(int64_t flag) {
    return flag != 0 ? "YES" : "NO";
}

std::string ShowConf(const ConfigBlocks& blocks) {
    const int64_t version = blocks.ReadInt(fields::kCpuVersion);
    const int64_t code = blocks.ReadInt(fields::kSystemCode);
    return Line("Serial number", blocks.ReadText(fields::kSerialNumber)) +
           Line("CPU software version",
                std::to_string(version / 10) + "." + std::to_string(version % 10)) +
           Line("System type", SystemTypeName(static_cast<uint8_t>(code / 16))) +
           Line("Frequency", code % 16 == 0 ? "3 MHz" : "1.5 MHz") +
           Line("Number of beams", std::to_string(blocks.ReadInt(fields::kBeamCount))) +
           Line("Compass installed", YesNo(blocks.ReadInt(fields::kCompassInstalled))) +
           Line("Recorder installed", YesNo(blocks.ReadInt(fields::kRecorderInstalled))) +
           Line("Pressure sensor installed", YesNo(blocks.ReadInt(fields::kPressureInstalled)));
}

std::string ShowSettings(std::initializer_list<std::string_view> words,
                         const SettingStore& settings) {
    std::string page;
    for (std::string_view word : words) {
        page += Line(word, settings.Current(*SettingStore::Find(word)));
    }
    return page;
}

}  // namespace

std::optional<std::string> HelpPage(std::string_view topic) {
    for (const auto& [name, text] : kHelpTopics) {
        if (EqualsIgnoringCase(name, topic)) {
            return std::string(text);
        }
    }
    return std::nullopt;
}

std::optional<std::string> ShowPage(std::string_view topic, const ConfigBlocks& blocks,
                                    const SettingStore& settings) {
    if (EqualsIgnoringCase(topic, "Conf")) {
        return ShowConf(blocks);
    }
    if (EqualsIgnoringCase(topic, "Deploy")) {
        return ShowSettings(
            {"Deployment", "Comments", "SD", "ST", "BurstMode", "BurstInterval", "SamplesPerBurst"},
            settings);
    }
    if (EqualsIgnoringCase(topic, "Setup")) {
        return ShowSettings({"AI", "SI", "CB", "CE", "cs", "bd", "nc", "CoordSystem", "TempMode",
                             "Temp", "Sal", "DataFormat"},
                            settings);
    }
    if (EqualsIgnoringCase(topic, "System")) {
        return ShowSettings({"AutoSleep", "Recorder", "OutMode", "OutFormat", "Sdi12Address"},
                            settings);
    }
    return std::nullopt;
}

}  // namespace brennix::sim
