#include "sim/simulated_instrument.h"

#include <algorithm>
#include <string_view>

#include "sim/asleep_mode.h"
#include "sim/command_interpreter.h"
#include "sim/command_mode.h"
#include "sim/fault_injector.h"
#include "sim/model_profile.h"
#include "sim/output_line.h"
#include "sim/rs485_selector.h"
#include "sim/sdi12_mode.h"
#include "sim/setup_commands.h"
#include "sim/sim_compass.h"
#include "sim/sim_diagnostics.h"
#include "sim/sim_recorder.h"
#include "sim/tick_timeline.h"

namespace brennix::sim {

namespace {

// A host that cannot send a BREAK sends the two lines that precede one anyway; a real BREAK
// that follows them this soon belongs to the same wake-up.
constexpr int64_t kBreakAfterLinesMs = 1000;
// The most received bytes kept for tests to look at.
constexpr size_t kReceivedLimit = 1 << 20;
constexpr int64_t kUsPerMs = 1000;

}  // namespace

// The instrument's state and the path of every byte: received bytes pass the rate check, the
// RS-485 selection and the current mode; answers pass the faults and the rate check into the
// timed output line.
struct SimulatedInstrument::Impl : ModeHost {
    explicit Impl(const Settings& initial)
        : settings(initial),
          hostRate(initial.baudRate),
          injector(initial.faultSeed.value_or(FaultInjector::kDefaultSeed)),
          rs485(initial.rs485Address),
          interpreter(settings, faults, *this),
          recorder(settings, faults, *this),
          compass(faults, *this),
          diagnostics(settings, faults, *this) {
        recorder.RegisterWith(interpreter);
        compass.RegisterWith(interpreter);
        diagnostics.RegisterWith(interpreter);
        RegisterSetupCommands(interpreter, settings);
        output.SetPacing(initial.paceAtLineRate, initial.baudRate);
        if (initial.sdi12Mode) {
            mode = std::make_unique<Sdi12Mode>(*this, ProfileOf(initial.model).token);
        } else if (initial.asleep) {
            mode = std::make_unique<AsleepMode>(*this);
        } else {
            mode = std::make_unique<CommandMode>(*this);
        }
    }

    int64_t Now(uint32_t tick, uint32_t microsecond = 0) {
        const int64_t now = timeline.Advance(tick);
        nowMs = now;
        nowUs = std::max(nowUs, now * kUsPerMs + microsecond);
        FallAsleepWhenIdle(now);
        mode->Advance(now);
        ApplySwitch(now);
        return now;
    }

    void Write(const uint8_t* data, size_t count, int64_t now) {
        Record(data, count);
        if (breakHeld || hostRate != settings.baudRate) {
            return;  // lost on the line
        }
        for (size_t i = 0; i < count; ++i) {
            if (rs485.Take(data[i])) {
                lastInputMs = now;
                mode->Take(data[i], now);
                ApplySwitch(now);
            }
        }
    }

    void Break(bool on, int64_t now) {
        if (on) {
            breakHeld = true;
            return;
        }
        if (!breakHeld) {
            return;
        }
        breakHeld = false;
        if (rs485.Selected()) {
            mode->Break(now);
            ApplySwitch(now);
        }
    }

    // What the host wrote, kept to the most recent bytes so a long run cannot fill the memory.
    void Record(const uint8_t* data, size_t count) {
        received.append(reinterpret_cast<const char*>(data), count);
        if (received.size() > kReceivedLimit) {
            received.erase(0, received.size() - kReceivedLimit / 2);
        }
    }

    void ApplySwitch(int64_t now) {
        if (nextMode) {
            mode = std::move(nextMode);
            mode->Enter(now);
        }
    }

    void SwitchTo(std::unique_ptr<SimMode> next) override { nextMode = std::move(next); }

    void StopSending(int64_t startMs) override { output.DropUnsent(StartUs(startMs)); }

    void SetLineRate(uint32_t baudRate) override {
        settings.baudRate = baudRate;
        output.SetPacing(settings.paceAtLineRate, baudRate);
    }

    Reply Execute(std::string_view line, int64_t now) override {
        return interpreter.Run(line, now);
    }

    void Wake(int64_t now) override {
        const std::string text = "\r\nOstrel " +
                                 std::string(ProfileOf(settings.model).displayName) +
                                 "\r\nCommand mode\r\n";
        if (settings.reportsCompass) {
            Answer(text + "Compass initialising\r\n", now);
            Emit(">", now + faults.extraDelayMs + settings.compassDelayMs);
        } else {
            Answer(text + ">", now);
        }
        SwitchTo(std::make_unique<CommandMode>(*this));
    }

    void WakeOnBreak(int64_t now) override {
        if (linesWakeMs && now - *linesWakeMs <= kBreakAfterLinesMs) {
            linesWakeMs.reset();
            return;
        }
        Wake(now);
    }

    void NoteWakeByBreakLines(int64_t now) override { linesWakeMs = now; }

    void FallAsleepWhenIdle(int64_t now) {
        if (settings.idleSleepMs != 0 && mode->SleepsWhenIdle() &&
            now - lastInputMs > settings.idleSleepMs) {
            mode = std::make_unique<AsleepMode>(*this);
        }
    }

    void Echo(std::string echo, int64_t now) override { Emit(echo, now); }

    void Answer(std::string_view text, int64_t now) override {
        Emit(text, now + faults.extraDelayMs);
    }

    void AnswerFrame(std::string_view frame, int64_t now) override {
        if (faults.noiseEverything) {
            Answer(frame, now);
        } else {
            Answer(injector.FlipBits(frame, faults.bitErrorRate), now);
        }
    }

    void Emit(std::string_view bytes, int64_t startMs) override {
        if (faults.silent || bytes.empty()) {
            return;
        }
        std::string out(bytes);
        if (faults.noiseEverything) {
            out = injector.FlipBits(out, faults.bitErrorRate);
        }
        if (hostRate != settings.baudRate) {
            out = FaultInjector::Misframe(out);
        }
        output.Send(out, StartUs(startMs));
    }

    // What happens now happens at the very microsecond, when the host said which one it is.
    int64_t StartUs(int64_t startMs) const {
        return startMs == nowMs ? std::max(startMs * kUsPerMs, nowUs) : startMs * kUsPerMs;
    }

    std::optional<int64_t> NextDueUs() const {
        const std::optional<int64_t> line = output.NextDueUs();
        std::optional<int64_t> event = mode->NextEventMs();
        if (event) {
            *event *= kUsPerMs;
        }
        if (line && event) {
            return std::min(*line, *event);
        }
        return line ? line : event;
    }

    Settings settings;
    Faults faults;
    std::string received;
    uint32_t hostRate;
    TickTimeline timeline;
    int64_t nowMs = 0;
    int64_t nowUs = 0;
    OutputLine output;
    FaultInjector injector;
    Rs485Selector rs485;
    CommandInterpreter interpreter;
    SimRecorder recorder;
    SimCompass compass;
    SimDiagnostics diagnostics;
    std::unique_ptr<SimMode> mode;
    std::unique_ptr<SimMode> nextMode;
    bool breakHeld = false;
    int64_t lastInputMs = 0;
    std::optional<int64_t> linesWakeMs;
};

SimulatedInstrument::SimulatedInstrument(const Settings& settings)
    : impl_(std::make_unique<Impl>(settings)) {}

SimulatedInstrument::~SimulatedInstrument() = default;

void SimulatedInstrument::HostSetBaudRate(uint32_t baudRate) {
    impl_->hostRate = baudRate;
}

void SimulatedInstrument::HostWrite(const uint8_t* data, size_t count, uint32_t nowTick,
                                    uint32_t microsecond) {
    impl_->Write(data, count, impl_->Now(nowTick, microsecond));
}

void SimulatedInstrument::HostBreak(bool on, uint32_t nowTick) {
    impl_->Break(on, impl_->Now(nowTick));
}

size_t SimulatedInstrument::HostAvailable(uint32_t nowTick, uint32_t microsecond) {
    impl_->Now(nowTick, microsecond);
    return impl_->output.Available(impl_->nowUs);
}

size_t SimulatedInstrument::HostRead(uint8_t* buffer, size_t maxCount, uint32_t nowTick,
                                     uint32_t microsecond) {
    impl_->Now(nowTick, microsecond);
    return impl_->output.Read(buffer, maxCount, impl_->nowUs);
}

std::optional<uint32_t> SimulatedInstrument::MsUntilNextOutput(uint32_t nowTick) {
    const std::optional<uint32_t> us = UsUntilNextOutput(nowTick, 0);
    if (!us) {
        return std::nullopt;
    }
    return static_cast<uint32_t>((*us + kUsPerMs - 1) / kUsPerMs);
}

std::optional<uint32_t> SimulatedInstrument::UsUntilNextOutput(uint32_t nowTick,
                                                               uint32_t microsecond) {
    impl_->Now(nowTick, microsecond);
    const std::optional<int64_t> due = impl_->NextDueUs();
    if (!due) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(std::clamp<int64_t>(*due - impl_->nowUs, 0, UINT32_MAX));
}

uint32_t SimulatedInstrument::StartRate() const {
    return impl_->settings.baudRate;
}

SimRecorder& SimulatedInstrument::Recorder() {
    return impl_->recorder;
}

Faults& SimulatedInstrument::GetFaults() {
    return impl_->faults;
}

const Settings& SimulatedInstrument::GetSettings() const {
    return impl_->settings;
}

const std::string& SimulatedInstrument::Received() const {
    return impl_->received;
}

void SimulatedInstrument::ClearReceived() {
    impl_->received.clear();
}

}  // namespace brennix::sim
