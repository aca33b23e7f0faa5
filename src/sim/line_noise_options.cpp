#include "sim/line_noise_options.h"

#include <charconv>
#include <cstdint>

namespace brennix::sim {

namespace {

template <typename Number>
bool TakeNumber(const std::vector<std::string>& args, size_t& at, Number& number,
                std::string& error) {
    const std::string& option = args[at];
    if (at + 1 == args.size()) {
        error = option + " needs a value";
        return false;
    }
    const std::string& value = args[++at];
    const char* end = value.data() + value.size();
    const auto [next, status] = std::from_chars(value.data(), end, number);
    if (value.empty() || status != std::errc() || next != end) {
        error = option + " needs a number, not '" + value + "'";
        return false;
    }
    return true;
}

}  // namespace

bool ParseLineNoiseOption(const std::vector<std::string>& args, size_t& at, Settings& settings,
                          Faults& faults, std::string& error) {
    const std::string& option = args[at];
    if (option == "--noise-all") {
        faults.noiseEverything = true;
    } else if (option == "--noise") {
        double rate = 0.0;
        if (TakeNumber(args, at, rate, error) && !(rate >= 0.0 && rate <= 1.0)) {
            error = "--noise needs a bit error rate from 0 to 1, not '" + args[at] + "'";
        }
        faults.bitErrorRate = rate;
    } else if (option == "--seed") {
        uint32_t seed = 0;
        if (TakeNumber(args, at, seed, error)) {
            settings.faultSeed = seed;
        }
    } else {
        return false;
    }
    return true;
}

}  // namespace brennix::sim
