#include "instrument/identification.h"

#include <array>
#include <cstdint>
#include <utility>

#include "instrument/instrument.h"

namespace brennix {

namespace {

// A wake-up step that ends with the instrument ready (or given up on, for the identification's
// own prompt search to decide).
constexpr int kAwake = kKTX;

constexpr uint32_t kWriteTimeoutMs = 1000;
constexpr uint32_t kFirstPromptMs = 1500;
constexpr uint32_t kSettleMs = 500;
constexpr uint32_t kPromptAfterBreakMs = 2000;
constexpr uint32_t kPromptAfterPlusSignsMs = 3000;
constexpr uint32_t kCompassPromptMs = 15000;
constexpr uint32_t kReadyPauseMs = 2000;
constexpr uint32_t kAddressByteTimeoutMs = 100;
constexpr size_t kReplySize = 512;

constexpr uint8_t kAddressLead = 0xF0;
constexpr uint8_t kBannerLeadByte = 0xE8;
constexpr uint32_t kBannerLineMs = 1000;
constexpr uint32_t kBannerFirstByteMs = 1;
constexpr uint32_t kSystemTypeLineMs = 500;

constexpr std::array<std::pair<std::string_view, int>, 6> kBannerTokens = {{
    {"KTX", kKTX},
    {"PLR", kPelorin},
    {"MRV", kMirovan},
    {"Fndl", kFendrel},
    {"Crv", kCorvex},
    {"LMR", kLMR},
}};

// The first line that holds more than blanks, without its line end.
std::string FirstLine(std::string_view text) {
    constexpr std::string_view kLineEnds = "\r\n";
    for (;;) {
        const size_t start = text.find_first_not_of(kLineEnds);
        if (start == std::string_view::npos) {
            return {};
        }
        text.remove_prefix(start);
        const std::string_view line = text.substr(0, text.find_first_of(kLineEnds));
        if (line.find_first_not_of(' ') != std::string_view::npos) {
            return std::string(line);
        }
        text.remove_prefix(line.size());
    }
}

}  // namespace

int ModelFromBanner(std::string_view banner) {
    for (const auto& [token, model] : kBannerTokens) {
        if (banner.find(token) != std::string_view::npos) {
            return model;
        }
    }
    return kFailToWakeUpInstrument5;
}

int CInstrument::FindInstrument(bool identify, bool offerSdi12Exit) {
    lastVersionLine_.clear();
    lastFindResult_ = Find(identify, offerSdi12Exit);
    return *lastFindResult_;
}

int CInstrument::Find(bool identify, bool offerSdi12Exit) {
    if (link_ == nullptr || !link_->IsOpen()) {
        return kFailToWakeUpInstrument5;
    }
    const int result = WakeUp(identify);
    if (result != kSystemIsInSDI12Mode || !offerSdi12Exit) {
        return result;
    }
    const MessageResult answer =
        ui_.ShowMessage("This system is running in SDI-12 Mode.\nSwitch to RS-232(Standard) Mode?",
                        "SDI-12 Mode Detected", MessageButtons::kYesNo, MessageIcon::kQuestion);
    if (answer != MessageResult::kYes) {
        return kSystemIsInSDI12Mode;
    }
    // Whether the switch was heard shows in the second wake-up.
    SetSdi12Mode(false);
    return WakeUp(identify);
}

bool CInstrument::SetSdi12Mode(bool on) {
    if (!SendCommand(on ? "SDI12 ON" : "?EXIT!")) {
        return false;
    }
    sdi12Mode_ = on;
    return true;
}

int CInstrument::WakeUp(bool identify) {
    sdi12Mode_ = false;
    if (!link_->Purge(kPurgeRxClear) || !link_->Purge(kPurgeTxClear)) {
        return kFailToWakeUpInstrument1;
    }
    SelectAddress();
    if (!link_->Write(" ", kWriteTimeoutMs, true)) {
        return kFailToWakeUpInstrument1;
    }
    std::array<char, kReplySize> reply{};
    if (!WaitFor(reply, std::string(1, kPrompt), kFirstPromptMs, false)) {
        // A job that is being stopped sends no BREAK and no plus signs any more.
        if (link_->Waits().StopRequested()) {
            return kFailToWakeUpInstrument1;
        }
        const int result = WakeAfterBreak(reply);
        if (result != kAwake) {
            return result;
        }
        link_->Waits().Pause(kReadyPauseMs);
    }
    return identify ? Identify() : kKTX;
}

// The reply buffer keeps the text of the first wait unless something new arrives after the BREAK.
// "SDI-12" counts in either: an answer to the BREAK itself (a stray byte, say) must not hide the
// mode the first wait heard.
int CInstrument::WakeAfterBreak(std::span<char> reply) {
    const bool sdi12BeforeBreak = Holds(reply, "SDI-12");
    if (!link_->Purge(kPurgeRxClear)) {
        return kFailToWakeUpInstrument1;
    }
    if (!link_->SendBreak()) {
        return kFailToWakeUpInstrument2;
    }
    SelectAddress();
    link_->Waits().Pause(kSettleMs);
    const bool prompted = link_->BytesWaiting() > 0 &&
                          WaitFor(reply, std::string(1, kPrompt), kPromptAfterBreakMs, false);
    if (sdi12BeforeBreak || Holds(reply, "SDI-12")) {
        sdi12Mode_ = true;
        return kSystemIsInSDI12Mode;
    }
    if (prompted) {
        return kAwake;
    }
    if (Holds(reply, "Compass")) {
        return AwaitCompassPrompt(reply);
    }
    return WakeWithPlusSigns(reply);
}

int CInstrument::WakeWithPlusSigns(std::span<char> reply) {
    if (!link_->Purge(kPurgeRxClear)) {
        return kFailToWakeUpInstrument1;
    }
    std::array<uint8_t, 10> plusSigns;
    plusSigns.fill('+');
    size_t written = 0;
    if (!link_->WriteBytes(plusSigns, written, true) || written < plusSigns.size()) {
        return kFailToWakeUpInstrument1;
    }
    SelectAddress();
    link_->Waits().Pause(kSettleMs);
    link_->FlushInput(false);
    link_->Write("\r", kWriteTimeoutMs, true);
    if (WaitFor(reply, std::string(1, kPrompt), kPromptAfterPlusSignsMs, false)) {
        return kAwake;
    }
    if (Holds(reply, "Compass") || Holds(reply, "compass")) {
        return AwaitCompassPrompt(reply);
    }
    // Still no prompt: the identification's own prompt search has the last word.
    return kAwake;
}

// An instrument that reports its compass on waking takes its time before the prompt.
int CInstrument::AwaitCompassPrompt(std::span<char> reply) {
    return WaitFor(reply, std::string(1, kPrompt), kCompassPromptMs, false)
               ? kAwake
               : kFailToWakeUpInstrument3;
}

void CInstrument::SelectAddress() {
    if (rs485Address_ != 0) {
        SendSelection(rs485Address_);
    }
}

void CInstrument::SelectNoAddress() {
    SendSelection(0);
}

void CInstrument::SendSelection(uint32_t address) {
    if (link_ == nullptr) {
        return;
    }
    const std::array<uint8_t, 4> selection = {
        kAddressLead, kAddressLead, kAddressLead,
        static_cast<uint8_t>(kAddressLead | (address & 0xFF))};
    for (const uint8_t byte : selection) {
        if (!link_->WriteChar(byte, kAddressByteTimeoutMs)) {
            return;
        }
    }
}

int CInstrument::Identify() {
    if (!SendCommand("Ver")) {
        return kFailToWakeUpInstrument4;
    }
    std::array<char, kReplySize> banner{};
    ReadBanner(banner);
    lastVersionLine_ = FirstLine(ReplyText(banner));
    int model = ModelFromBanner(ReplyText(banner));
    if (model == kMirovan) {
        model = AskSystemType();
    }
    // Take in the rest of the answer so that it shows and does not disturb the next command.
    std::array<char, kReplySize> rest{};
    const bool shortAnswer = model == kKTX || model == kPelorin;
    link_->ReadLine(rest, shortAnswer ? 300 : 500, false);
    return model;
}

// Some instruments send 0xE8 before the banner; any other first byte belongs to the banner. What
// arrives within the time-outs is the banner, complete or not.
void CInstrument::ReadBanner(std::span<char> banner) {
    uint8_t first = 0;
    link_->ReadChar(first, kBannerFirstByteMs, true);
    if (first != 0 && first != kBannerLeadByte) {
        banner[0] = static_cast<char>(first);
        link_->ReadLine(banner.subspan(1), kBannerLineMs, false);
    } else {
        link_->ReadLine(banner, kBannerLineMs, false);
    }
}

int CInstrument::AskSystemType() {
    // An unanswered question reads as a plain Mirovan.
    SendCommand("systemtype");
    std::array<char, kReplySize> line{};
    link_->ReadLine(line, kSystemTypeLineMs, false);
    return Holds(line, "LMR") ? kMirovanAdv : kMirovan;
}

}  // namespace brennix
