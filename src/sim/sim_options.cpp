#include "sim/sim_options.h"

#include <charconv>
#include <cstdint>

#include "sim/baud_rates.h"
#include "sim/model_names.h"
#include "sim/recorder_options.h"

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

}  // namespace

std::optional<Settings> ParseSimArguments(const std::vector<std::string>& args, std::string& error,
                                          Faults* faults) {
    Settings settings;
    Faults parsedFaults;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--asleep") {
            settings.asleep = true;
        } else if (option == "--sdi12") {
            settings.sdi12Mode = true;
        } else if (option == "--compass") {
            settings.reportsCompass = true;
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
        } else if (ParseRecorderOption(args, i, settings, parsedFaults, error)) {
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
