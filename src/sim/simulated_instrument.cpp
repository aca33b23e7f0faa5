#include "sim/simulated_instrument.h"

#include <algorithm>
#include <string_view>

#include "sim/command_interpreter.h"
#include "sim/fault_injector.h"
#include "sim/line_editor.h"
#include "sim/model_profile.h"
#include "sim/output_line.h"
#include "sim/rs485_selector.h"
#include "sim/sdi12_session.h"
#include "sim/tick_timeline.h"
#include "sim/wake_detector.h"

namespace brennix::sim {

namespace {

// A host that cannot send a BREAK sends the two lines that precede one anyway; a real BREAK
// that follows them this soon belongs to the same wake-up.
constexpr int64_t kBreakAfterLinesMs = 1000;

bool IsCommandCharacter(char c) {
    return static_cast<unsigned char>(c) > ' ' && c != '+' && c != 0x7F;
}

}  // namespace

// The instrument's state and the path of every byte: received bytes pass the rate check, the
// RS-485 selection and the mode (asleep, SDI-12, command line); answers pass the faults and the
// rate check into the timed output line.
struct SimulatedInstrument::Impl {
    explicit Impl(const Settings& initial)
        : settings(initial),
          hostRate(initial.baudRate),
          rs485(initial.rs485Address),
          sdi12(ProfileOf(initial.model).token),
          interpreter(settings, faults),
          asleep(initial.asleep),
          inSdi12(initial.sdi12Mode) {
        output.SetPacing(initial.paceAtLineRate, initial.baudRate);
    }

    int64_t Now(uint32_t tick) {
        const int64_t now = timeline.Advance(tick);
        FallAsleepWhenIdle(now);
        return now;
    }

    void Write(const uint8_t* data, size_t count, int64_t now) {
        received.append(reinterpret_cast<const char*>(data), count);
        if (breakHeld || hostRate != settings.baudRate) {
            return;  // lost on the line
        }
        // A whole command line written at once may come back garbled; single characters never.
        garbleArmed = count > 1;
        for (size_t i = 0; i < count; ++i) {
            if (rs485.Take(data[i])) {
                Take(data[i], now);
            }
        }
        garbleArmed = false;
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
        if (!rs485.Selected()) {
            return;
        }
        if (inSdi12) {
            sdi12.Reset();
            Answer(Sdi12Session::kModeNotice, now);
            return;
        }
        if (linesWakeMs && now - *linesWakeMs <= kBreakAfterLinesMs) {
            linesWakeMs.reset();
            return;
        }
        Wake(now);
    }

    void Take(uint8_t byte, int64_t now) {
        lastInputMs = now;
        if (inSdi12) {
            TakeInSdi12(byte, now);
            return;
        }
        const WakeSignal signal = wakeDetector.Take(byte);
        if (asleep) {
            if (signal == WakeSignal::kBreakLines) {
                linesWakeMs = now;
            }
            if (signal != WakeSignal::kNone) {
                Wake(now);
            }
            return;
        }
        std::string echo;
        const std::optional<std::string> line = editor.Take(byte, echo);
        Echo(echo, now);
        if (line) {
            Execute(*line, now);
        } else if (signal == WakeSignal::kPlusSigns) {
            editor.Clear();
            Answer("\r\n>", now);
        }
    }

    void TakeInSdi12(uint8_t byte, int64_t now) {
        const Sdi12Session::Outcome outcome = sdi12.Take(byte);
        if (outcome.leave) {
            inSdi12 = false;
            asleep = false;
            editor.Clear();
            wakeDetector.Reset();
            Answer("\r\nCommand mode\r\n>", now);
            return;
        }
        Answer(outcome.reply, now);
    }

    void Execute(const std::string& line, int64_t now) {
        const Reply reply = interpreter.Run(line);
        Answer(reply.text, now);
        switch (reply.then) {
            case Reply::Then::kEnterSdi12:
                inSdi12 = true;
                sdi12.Reset();
                break;
            case Reply::Then::kSleep:
                Sleep();
                break;
            case Reply::Then::kStay:
                break;
        }
    }

    void Wake(int64_t now) {
        asleep = false;
        editor.Clear();
        wakeDetector.Reset();
        const std::string text = "\r\nOstrel " +
                                 std::string(ProfileOf(settings.model).displayName) +
                                 "\r\nCommand mode\r\n";
        if (settings.reportsCompass) {
            Answer(text + "Compass initialising\r\n", now);
            Emit(">", now + faults.extraDelayMs + settings.compassDelayMs);
        } else {
            Answer(text + ">", now);
        }
    }

    void Sleep() {
        asleep = true;
        editor.Clear();
        wakeDetector.Reset();
    }

    void FallAsleepWhenIdle(int64_t now) {
        if (settings.idleSleepMs != 0 && !asleep && !inSdi12 &&
            now - lastInputMs > settings.idleSleepMs) {
            Sleep();
        }
    }

    void Echo(std::string echo, int64_t now) {
        if (garbleArmed && faults.garbleEchoes > 0) {
            const auto it = std::find_if(echo.begin(), echo.end(), IsCommandCharacter);
            if (it != echo.end()) {
                *it = FaultInjector::Garble(*it);
                --faults.garbleEchoes;
                garbleArmed = false;
            }
        }
        Emit(echo, now);
    }

    void Answer(std::string_view text, int64_t now) { Emit(text, now + faults.extraDelayMs); }

    void Emit(std::string_view bytes, int64_t startMs) {
        if (faults.silent || bytes.empty()) {
            return;
        }
        std::string out = injector.Apply(bytes, faults);
        if (hostRate != settings.baudRate) {
            out = FaultInjector::Misframe(out);
        }
        output.Send(out, startMs);
    }

    Settings settings;
    Faults faults;
    std::string received;
    uint32_t hostRate;
    TickTimeline timeline;
    OutputLine output;
    FaultInjector injector;
    Rs485Selector rs485;
    WakeDetector wakeDetector;
    LineEditor editor;
    Sdi12Session sdi12;
    CommandInterpreter interpreter;
    bool asleep;
    bool inSdi12;
    bool breakHeld = false;
    bool garbleArmed = false;
    int64_t lastInputMs = 0;
    std::optional<int64_t> linesWakeMs;
};

SimulatedInstrument::SimulatedInstrument(const Settings& settings)
    : impl_(std::make_unique<Impl>(settings)) {}

SimulatedInstrument::~SimulatedInstrument() = default;

void SimulatedInstrument::HostSetBaudRate(uint32_t baudRate) {
    impl_->hostRate = baudRate;
}

void SimulatedInstrument::HostWrite(const uint8_t* data, size_t count, uint32_t nowTick) {
    impl_->Write(data, count, impl_->Now(nowTick));
}

void SimulatedInstrument::HostBreak(bool on, uint32_t nowTick) {
    impl_->Break(on, impl_->Now(nowTick));
}

size_t SimulatedInstrument::HostAvailable(uint32_t nowTick) {
    return impl_->output.Available(impl_->Now(nowTick));
}

size_t SimulatedInstrument::HostRead(uint8_t* buffer, size_t maxCount, uint32_t nowTick) {
    return impl_->output.Read(buffer, maxCount, impl_->Now(nowTick));
}

std::optional<uint32_t> SimulatedInstrument::MsUntilNextOutput(uint32_t nowTick) {
    const int64_t now = impl_->Now(nowTick);
    const std::optional<int64_t> due = impl_->output.NextDueMs();
    if (!due) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(std::clamp<int64_t>(*due - now, 0, UINT32_MAX));
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
