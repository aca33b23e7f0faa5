#include "sim/sim_diagnostics.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "sim/diagnostic_frame.h"
#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr int64_t kBinaryOutput = 0;

// A setting's value: a positive number and nothing else.
bool IsPositiveNumber(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value) &&
           value > 0.0;
}

Reply SetUpCommand(std::string_view value) {
    return IsPositiveNumber(value) ? CommandInterpreter::Ok()
                                   : CommandInterpreter::Error("invalid value");
}

}  // namespace

SimDiagnostics::SimDiagnostics(const Settings& settings, const Faults& faults, ModeHost& host)
    : settings_(settings), faults_(faults), host_(host) {}

void SimDiagnostics::RegisterWith(CommandInterpreter& interpreter) {
    for (const std::string_view word : {"CSset", "BDset", "PlSet"}) {
        interpreter.Register({word}, [this, word](std::string_view value, int64_t) {
            return Refused(word) ? CommandInterpreter::Error("command refused")
                                 : SetUpCommand(value);
        });
    }
    interpreter.Register({"Amp"}, [this, &interpreter](std::string_view, int64_t nowMs) {
        return Amp(interpreter.Blocks(), nowMs);
    });
}

bool SimDiagnostics::Refused(std::string_view word) const {
    return std::any_of(
        faults_.refusedSettings.begin(), faults_.refusedSettings.end(),
        [word](const std::string& refused) { return EqualsIgnoringCase(refused, word); });
}

Reply SimDiagnostics::Amp(const ConfigBlocks& blocks, int64_t nowMs) {
    if (blocks.ReadInt(fields::kOutputFormat) != kBinaryOutput) {
        return CommandInterpreter::Error("diagnostic frames need binary output");
    }
    const std::string frame =
        DiagnosticFrame::Build(settings_.model, blocks, ++pings_, faults_.frameFault);
    host_.Emit(frame + "\r\n>", nowMs + faults_.extraDelayMs + kPingMs);
    return {};
}

}  // namespace brennix::sim
