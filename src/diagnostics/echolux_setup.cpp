#include "diagnostics/echolux_setup.h"

#include <algorithm>
#include <array>

#include "instrument/config_reader.h"
#include "instrument/instrument_codes.h"
#include "platform/number_text.h"
#include "script/script_text.h"

namespace brennix {

namespace {

constexpr int kTravelTimeSystemType = 5;
constexpr uint8_t kFineCellsFromVersion = 49;
constexpr int16_t kFineCellsBelowSlant = 260;
constexpr int kFrequency3000kHz = 0;
constexpr double k3000kHz = 3000.0;
constexpr double k1500kHz = 1500.0;
constexpr uint32_t k1500kHzCellTimeoutMs = 1000;
constexpr uint32_t kSetupTimeoutMs = 3000;
constexpr uint32_t kBinarySettleMs = 100;

// Below these versions the instrument's checksum byte is not to be trusted.
constexpr uint8_t kMirovanChecksumFromVersion = 57;
constexpr uint8_t kTravelTimeChecksumFromVersion = 116;

constexpr float kMetresSpan = 22.0f;
constexpr float kCountsSpan = 750.0f;
constexpr double kBlankDistance = 0.1;
constexpr double kPulseLength = 0.5;

constexpr const char* kOutputFormatCommand = "OF";
constexpr const char* kBinaryOutput = "Binary";
constexpr size_t kFormatReplySize = 256;
constexpr uint32_t kFormatReplyMs = 1000;

constexpr const char* kConfUnreadable = "Unable to read setup from the instrument";
constexpr const char* kSetupFailed = "Failed to setup instrument!";

// A set-up that was told to stop has nothing to say.
void Tell(CInstrument& instrument, UiHost& ui, const char* text) {
    if (!instrument.GetLink()->Waits().StopRequested()) {
        ui.ShowMessage(text, "", MessageButtons::kOk, MessageIcon::kNone);
    }
}

ConfBlock ReadConf(CInstrument& instrument, UiHost& ui) {
    CConfigReader reader(instrument);
    if (!reader.ReadConfBlock()) {
        Tell(instrument, ui, kConfUnreadable);
        return {};
    }
    return ConfBlock(reader.Block().first<ConfBlock::kSize>());
}

// Cell size, then blank distance, then pulse length; the first refusal ends it.
bool SendSettings(CInstrument& instrument, const ConfBlock& conf, EcholuxSetup& setup) {
    const CellSizeCommand cellSize = CellSizeCommandFor(conf);
    if (!instrument.CommandOk(cellSize.command, cellSize.timeoutMs)) {
        return false;
    }
    setup.horizontalSpan = kMetresSpan;
    return instrument.CommandOk(FormatText("BDset %.1f", kBlankDistance), kSetupTimeoutMs) &&
           instrument.CommandOk(FormatText("PlSet %.2f", kPulseLength), kSetupTimeoutMs);
}

// The output format the instrument has now, as it answers a bare "OF"; none when it does not.
std::optional<std::string> AskOutputFormat(CInstrument& instrument) {
    std::array<char, kFormatReplySize> reply{};
    if (!instrument.SendCommand(kOutputFormatCommand) ||
        !instrument.WaitFor(reply, std::string(1, CInstrument::kPrompt), kFormatReplyMs, false)) {
        return std::nullopt;
    }
    return ReportedOutputFormat(reply.data());
}

// Whatever the instrument sent before binary output began is of no use to the frame decoder.
void SwitchToBinaryOutput(CInstrument& instrument) {
    CSerialLink& link = *instrument.GetLink();
    link.Purge(kPurgeRxClear);
    instrument.SendCommand(std::string(kOutputFormatCommand) + " " + kBinaryOutput);
    link.Waits().Pause(kBinarySettleMs);
    link.Purge(kPurgeRxClear);
}

}  // namespace

bool UsesTravelTime(const ConfBlock& conf, int model) {
    return conf.SystemType() == kTravelTimeSystemType || model == kCorvex;
}

FrameRules FrameRulesFor(const ConfBlock& conf, int model) {
    FrameRules rules;
    const uint8_t version = conf.CpuVersion();
    const bool untrusted =
        (model == kMirovan && version < kMirovanChecksumFromVersion) ||
        (conf.SystemType() == kTravelTimeSystemType && version < kTravelTimeChecksumFromVersion);
    rules.compareChecksum = !untrusted;
    rules.travelTime = UsesTravelTime(conf, model);
    rules.frequencyKhz = conf.FrequencyCode() == kFrequency3000kHz ? k3000kHz : k1500kHz;
    rules.slantDegrees = conf.SlantAngle() * 0.1;
    return rules;
}

std::optional<std::string> ReportedOutputFormat(std::string_view reply) {
    constexpr std::string_view kSeparators = " \t\r\n>";
    bool named = false;
    for (size_t at = reply.find_first_not_of(kSeparators); at != std::string_view::npos;) {
        const size_t end = std::min(reply.find_first_of(kSeparators, at), reply.size());
        const std::string_view word = reply.substr(at, end - at);
        const bool name = EqualsIgnoreCase(word, kOutputFormatCommand);
        if (named && !name) {
            return std::string(word);
        }
        named = name;
        at = reply.find_first_not_of(kSeparators, end);
    }
    return std::nullopt;
}

bool IsBinaryOutput(std::string_view format) {
    return EqualsIgnoreCase(format, kBinaryOutput);
}

std::string OutputFormatCommand(std::string_view format) {
    return std::string(kOutputFormatCommand) + " " + std::string(format);
}

CellSizeCommand CellSizeCommandFor(const ConfBlock& conf) {
    const bool fine =
        conf.CpuVersion() >= kFineCellsFromVersion && conf.SlantAngle() < kFineCellsBelowSlant;
    if (conf.FrequencyCode() != kFrequency3000kHz) {
        return {fine ? "CSset 21" : "CSset 15", k1500kHzCellTimeoutMs};
    }
    return {fine ? "CSset 10.5" : "CSset  7", kSetupTimeoutMs};
}

std::optional<EcholuxSetup> RunEcholuxSetup(CInstrument& instrument, int model, UiHost& ui) {
    EcholuxSetup setup;
    const ConfBlock conf = ReadConf(instrument, ui);
    setup.rules = FrameRulesFor(conf, model);
    if (setup.rules.travelTime) {
        setup.horizontalSpan = kCountsSpan;
    } else if (!SendSettings(instrument, conf, setup)) {
        Tell(instrument, ui, kSetupFailed);
        return std::nullopt;
    }
    setup.outputFormat = AskOutputFormat(instrument);
    SwitchToBinaryOutput(instrument);
    return setup;
}

}  // namespace brennix
