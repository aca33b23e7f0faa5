#include "sim/sim_options.h"

#include <charconv>
#include <cstdint>

#include "sim/line_noise_options.h"
#include "sim/line_rates.h"
#include "sim/model_names.h"
#include "sim/model_profile.h"
#include "sim/recorder_options.h"
#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr uint32_t kMaxRs485Address = 15;

std::optional<uint32_t> ParseUnsigned(const std::string& text) {
    uint32_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

constexpr uint32_t kMaxFirmware = 255;

// The firmware the instrument reports, and the faults that spoil its answers.
bool ApplyHardwareOrFault(const std::string& option, const std::string& value, Settings& settings,
                          Faults& faults, std::string& error) {
    const std::optional<uint32_t> number = ParseUnsigned(value);
    if (option == "--firmware") {
        if (!number || *number < 1 || *number > kMaxFirmware) {
            error = "firmware version must be 1 to 255, not '" + value + "'";
            return false;
        }
        settings.cpuVersion = static_cast<uint8_t>(*number);
    } else if (value == "no-compass") {
        faults.noCompass = true;
    } else if (value == "no-compass-score") {
        faults.compassScoreMissing = true;
    } else if (value == "frame-checksum") {
        faults.frameFault = FrameFault::kBadChecksum;
    } else if (value == "frame-truncated") {
        faults.frameFault = FrameFault::kTruncated;
    } else if (value == "frame-cells") {
        faults.frameFault = FrameFault::kTooManyCells;
    } else {
        error = "unknown fault '" + value + "'";
        return false;
    }
    return true;
}

enum class Taken { kNotMine, kTaken, kFailed };

// A recorder with 30000 bytes free: too little to deploy.
constexpr uint32_t kNearlyFullUsed = 4u << 20;
constexpr uint32_t kNearlyFullCapacity = kNearlyFullUsed + 30000;

bool TakeHardwareValue(const std::string& option, const std::string& value, Settings& settings) {
    if (option == "--system-type") {
        for (uint8_t type = 0; type < 6; ++type) {
            if (EqualsIgnoringCase(SystemTypeName(type), value)) {
                settings.systemType = type;
                return true;
            }
        }
    } else if (option == "--frequency" && (value == "3" || value == "3000")) {
        settings.frequencyCode = 0;
        return true;
    } else if (option == "--frequency" && (value == "1.5" || value == "1500")) {
        settings.frequencyCode = 1;
        return true;
    } else if (option == "--without" && (value == "compass" || value == "sdi12")) {
        (value == "compass" ? settings.compassInstalled : settings.sdi12Option) = false;
        return true;
    } else if (option == "--without" && value == "start-date") {
        settings.startDateSet = false;
        return true;
    } else if (option == "--with" && (value == "waves" || value == "ext-pressure")) {
        (value == "waves" ? settings.waveOption : settings.externalPressureSensor) = true;
        return true;
    }
    return false;
}

// The options that describe the hardware the instrument reports, for the setup sheet.
Taken TakeHardwareOption(const std::vector<std::string>& args, size_t& i, Settings& settings,
                         std::string& error) {
    const std::string& option = args[i];
    if (option == "--recorder-nearly-full") {
        settings.recorderCapacity = kNearlyFullCapacity;
        settings.recorderUsed = kNearlyFullUsed;
        return Taken::kTaken;
    }
    if (option != "--system-type" && option != "--frequency" && option != "--without" &&
        option != "--with") {
        return Taken::kNotMine;
    }
    if (i + 1 == args.size()) {
        error = option + " needs a value";
        return Taken::kFailed;
    }
    const std::string& value = args[++i];
    if (!TakeHardwareValue(option, value, settings)) {
        error = "unknown value '" + value + "' for " + option;
        return Taken::kFailed;
    }
    return Taken::kTaken;
}

// The model, and the rate and RS-485 address it answers at.
bool ApplyLineOption(const std::string& option, const std::string& value, Settings& settings,
                     std::string& error) {
    if (option == "--model") {
        const std::optional<Model> model = ParseModelName(value);
        if (!model) {
            error = "unknown model '" + value + "'";
            return false;
        }
        settings.model = *model;
        return true;
    }
    const std::optional<uint32_t> number = ParseUnsigned(value);
    if (option == "--baud") {
        if (!number || !IsLineRate(*number)) {
            error = "unsupported baud rate '" + value + "'";
            return false;
        }
        settings.baudRate = *number;
    } else {
        if (!number || *number < 1 || *number > kMaxRs485Address) {
            error = "RS-485 address must be 1 to 15, not '" + value + "'";
            return false;
        }
        settings.rs485Address = *number;
    }
    return true;
}

}  // namespace

std::optional<Settings> ParseSimArguments(const std::vector<std::string>& args, std::string& error,
                                          Faults* faults) {
    Settings settings;
    Faults parsedFaults;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const Taken hardware = TakeHardwareOption(args, i, settings, error);
        if (hardware == Taken::kFailed) {
            return std::nullopt;
        }
        if (hardware == Taken::kTaken) {
            continue;
        }
        if (option == "--asleep") {
            settings.asleep = true;
        } else if (option == "--sdi12") {
            settings.sdi12Mode = true;
        } else if (option == "--compass") {
            settings.reportsCompass = true;
        } else if (option == "--firmware" || option == "--fault") {
            if (i + 1 == args.size()) {
                error = option + " needs a value";
                return std::nullopt;
            }
            if (!ApplyHardwareOrFault(option, args[++i], settings, parsedFaults, error)) {
                return std::nullopt;
            }
        } else if (option == "--baud" || option == "--model" || option == "--rs485") {
            if (i + 1 == args.size()) {
                error = option + " needs a value";
                return std::nullopt;
            }
            if (!ApplyLineOption(option, args[++i], settings, error)) {
                return std::nullopt;
            }
        } else if (ParseRecorderOption(args, i, settings, parsedFaults, error) ||
                   ParseLineNoiseOption(args, i, settings, parsedFaults, error)) {
            if (!error.empty()) {
                return std::nullopt;
            }
        } else {
            error = "unknown argument '" + option + "'";
            return std::nullopt;
        }
    }
    if (faults != nullptr) {
        *faults = parsedFaults;
    }
    return settings;
}

}  // namespace brennix::sim
