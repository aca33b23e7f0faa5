#include "sim/serving/serve_options.h"

#include <algorithm>
#include <charconv>

#include "sim/model_names.h"

namespace brennix::sim {

namespace {

constexpr uint32_t kHighestAddress = 15;
constexpr uint32_t kHighestPort = 65535;

std::optional<uint32_t> Number(std::string_view text) {
    uint32_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// A model by its name or by its code name ("Mirovan", "kMirovan").
std::optional<Model> ModelOf(std::string_view name) {
    if (const std::optional<Model> model = ParseModelName(name)) {
        return model;
    }
    return name.starts_with('k') ? ParseModelName(name.substr(1)) : std::nullopt;
}

bool ParseBus(std::string_view text, ServeOptions& options, std::string& error) {
    error = "--bus takes ADDRESS:MODEL,... with addresses 1 to 15, each once, and models " +
            ModelNameList() + " (2:kMirovan,5:kKTX), not '" + std::string(text) + "'";
    if (text.empty()) {
        return false;
    }
    while (!text.empty()) {
        const std::string_view entry = text.substr(0, text.find(','));
        text.remove_prefix(std::min(text.size(), entry.size() + 1));
        const size_t colon = entry.find(':');
        const std::optional<uint32_t> address = Number(entry.substr(0, colon));
        const std::optional<Model> model =
            colon == std::string_view::npos ? std::nullopt : ModelOf(entry.substr(colon + 1));
        const bool taken = std::any_of(options.bus.begin(), options.bus.end(),
                                       [&](const auto& seen) { return seen.first == address; });
        if (!address || *address < 1 || *address > kHighestAddress || !model || taken) {
            return false;
        }
        options.bus.emplace_back(*address, *model);
    }
    error.clear();
    return true;
}

bool ParseListen(std::string_view text, ServeOptions& options, std::string& error) {
    const size_t colon = text.find(':');
    const std::string_view protocol = text.substr(0, colon);
    const uint32_t port = colon == std::string_view::npos
                              ? kHighestPort + 1
                              : Number(text.substr(colon + 1)).value_or(kHighestPort + 1);
    if ((protocol != "tcp" && protocol != "rfc2217") || port > kHighestPort) {
        error = "--listen takes tcp:PORT or rfc2217:PORT (0: any free port), not '" +
                std::string(text) + "'";
        return false;
    }
    options.listenProtocol =
        protocol == "tcp" ? NetworkProtocol::kRawTcp : NetworkProtocol::kRfc2217;
    options.listenPort = static_cast<uint16_t>(port);
    return true;
}

bool TakeOne(const std::string& option, const std::string& value, ServeOptions& options,
             std::string& error) {
    if (option == "--bus") {
        return ParseBus(value, options, error);
    }
    if (option == "--listen") {
        return ParseListen(value, options, error);
    }
    options.transcriptPath = value;
    return true;
}

}  // namespace

std::optional<ServeOptions> TakeServeOptions(std::vector<std::string>& arguments,
                                             std::string& error) {
    ServeOptions options;
    for (size_t i = 0; i < arguments.size();) {
        const std::string option = arguments[i];
        if (option != "--bus" && option != "--listen" && option != "--transcript") {
            ++i;
            continue;
        }
        if (i + 1 == arguments.size()) {
            error = option + " needs a value";
            return std::nullopt;
        }
        if (!TakeOne(option, arguments[i + 1], options, error)) {
            return std::nullopt;
        }
        arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                        arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    return options;
}

std::vector<Settings> InstrumentsToServe(const Settings& settings, const ServeOptions& serve) {
    if (serve.bus.empty()) {
        return {settings};
    }
    std::vector<Settings> instruments;
    for (const auto& [address, model] : serve.bus) {
        Settings one = settings;
        one.rs485Address = address;
        one.model = model;
        instruments.push_back(one);
    }
    return instruments;
}

}  // namespace brennix::sim
