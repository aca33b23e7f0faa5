#include "sim/sdi12_session.h"

namespace brennix::sim {

namespace {

constexpr size_t kMaxCommandLength = 80;
constexpr int kWakePlusSigns = 10;
constexpr char kAddress = '0';

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

Sdi12Session::Sdi12Session(std::string_view modelToken) : modelToken_(modelToken) {}

Sdi12Session::Outcome Sdi12Session::Take(uint8_t byte) {
    const bool armed = exitArmed_;
    exitArmed_ = false;
    plusSigns_ = byte == '+' ? plusSigns_ + 1 : 0;
    if (plusSigns_ == kWakePlusSigns) {
        Reset();
        return {std::string(kModeNotice)};
    }
    switch (byte) {
        case '!': {
            if (armed && command_.empty()) {
                return {"", true};
            }
            std::string command;
            command.swap(command_);
            if (command == "?EXIT") {
                exitArmed_ = true;
                return {};
            }
            return {Answer(command)};
        }
        case '\r': {
            const bool blank = IsBlank(command_);
            command_.clear();
            return blank ? Outcome{std::string(kModeNotice)} : Outcome{};
        }
        case '\n':
        case '+':
            return {};
        default:
            if (command_.size() < kMaxCommandLength) {
                command_.push_back(static_cast<char>(byte));
            }
            return {};
    }
}

void Sdi12Session::Reset() {
    command_.clear();
    exitArmed_ = false;
    plusSigns_ = 0;
}

std::string Sdi12Session::Answer(const std::string& command) const {
    const std::string address(1, kAddress);
    if (command == "?" || command == address) {
        return address + "\r\n";
    }
    if (command == address + "I") {
        // Address, SDI-12 version 1.3, vendor (8 characters), model (6), firmware version.
        std::string model = modelToken_;
        model.resize(6, ' ');
        return address + "13OSTREL  " + model + "100\r\n";
    }
    return {};  // an SDI-12 sensor stays silent on what it does not know
}

}  // namespace brennix::sim
