#include "sim/recorder_options.h"

#include <charconv>
#include <cstdint>
#include <utility>

namespace brennix::sim {

namespace {

constexpr uint32_t kMaxCount = 1u << 30;

constexpr std::pair<const char*, int Faults::*> kBlockOptions[] = {
    {"--bad-checksum-block", &Faults::badChecksumBlock},
    {"--bad-checksum-sends", &Faults::badChecksumSends},
    {"--drop-block", &Faults::droppedBlock},
    {"--stall-after", &Faults::stallAfterBlocks},
};

constexpr std::pair<const char*, bool Faults::*> kFlagOptions[] = {
    {"--reject-download", &Faults::rejectDownload},
    {"--refuse-baud", &Faults::refuseBaud},
};

bool TakeValue(const std::vector<std::string>& args, size_t& at, std::string& value,
               std::string& error) {
    if (at + 1 == args.size()) {
        error = args[at] + " needs a value";
        return false;
    }
    value = args[++at];
    return true;
}

}  // namespace

bool ParseRecorderOption(const std::vector<std::string>& args, size_t& at, Settings& settings,
                         Faults& faults, std::string& error) {
    const std::string& option = args[at];
    for (const auto& [name, field] : kFlagOptions) {
        if (option == name) {
            faults.*field = true;
            return true;
        }
    }
    std::string value;
    if (option == "--recorder-dir") {
        if (TakeValue(args, at, value, error)) {
            settings.recorderFolder = value;
        }
        return true;
    }
    for (const auto& [name, field] : kBlockOptions) {
        if (option != name) {
            continue;
        }
        if (TakeValue(args, at, value, error)) {
            uint32_t number = 0;
            const char* end = value.data() + value.size();
            const auto [next, status] = std::from_chars(value.data(), end, number);
            if (value.empty() || status != std::errc() || next != end || number > kMaxCount) {
                error = option + " needs a whole number, not '" + value + "'";
            } else {
                faults.*field = static_cast<int>(number);
            }
        }
        return true;
    }
    return false;
}

}  // namespace brennix::sim
