#include "sim/sim_options.h"

#include <charconv>
#include <cstdint>

#include "sim/baud_rates.h"
#include "sim/model_names.h"

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

// The options that change the instrument's hardware or spoil its answers.
bool ApplyHardwareOrFault(const std::string& option, const std::string& value, Settings& settings,
                          Faults& faults, std::string& error) {
    const std::optional<uint32_t> number = ParseUnsigned(value);
    if (option == "--firmware") {
        if (!number || *number < 1 || *number > kMaxFirmware) {
            error = "firmware version must be 1 to 255, not '" + value + "'";
            return false;
        }
        settings.cpuVersion = static_cast<uint8_t>(*number);
    } else if (option == "--frequency") {
        if (!number || (*number != 3000 && *number != 1500)) {
            error = "frequency must be 3000 or 1500, not '" + value + "'";
            return false;
        }
        settings.frequencyCode = *number == 3000 ? 0 : 1;
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

}  // namespace

std::optional<Settings> ParseSimArguments(const std::vector<std::string>& args,
                                          std::string& error) {
    Faults faults;
    return ParseSimArguments(args, error, faults);
}

std::optional<Settings> ParseSimArguments(const std::vector<std::string>& args, std::string& error,
                                          Faults& faults) {
    Settings settings;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--asleep") {
            settings.asleep = true;
        } else if (option == "--sdi12") {
            settings.sdi12Mode = true;
        } else if (option == "--compass") {
            settings.reportsCompass = true;
        } else if (option == "--firmware" || option == "--frequency" || option == "--fault") {
            if (i + 1 == args.size()) {
                error = option + " needs a value";
                return std::nullopt;
            }
            if (!ApplyHardwareOrFault(option, args[++i], settings, faults, error)) {
                return std::nullopt;
            }
        } else if (option == "--baud" || option == "--model" || option == "--rs485") {
            if (i + 1 == args.size()) {
                error = option + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (option == "--model") {
                const std::optional<Model> model = ParseModelName(value);
                if (!model) {
                    error = "unknown model '" + value + "'";
                    return std::nullopt;
                }
                settings.model = *model;
                continue;
            }
            const std::optional<uint32_t> number = ParseUnsigned(value);
            if (option == "--baud") {
                if (!number || !SpeedCodeOf(*number)) {
                    error = "unsupported baud rate '" + value + "'";
                    return std::nullopt;
                }
                settings.baudRate = *number;
            } else {
                if (!number || *number < 1 || *number > kMaxRs485Address) {
                    error = "RS-485 address must be 1 to 15, not '" + value + "'";
                    return std::nullopt;
                }
                settings.rs485Address = *number;
            }
        } else {
            error = "unknown argument '" + option + "'";
            return std::nullopt;
        }
    }
    return settings;
}

}  // namespace brennix::sim
