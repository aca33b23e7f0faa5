#include "sim/sim_compass.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "sim/compass_calibration_mode.h"
#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr double kStartHeading = 37.5;
constexpr double kDegreesPerMs = 0.006;  // one turn a minute
constexpr double kPitchSwing = 14.0;
constexpr double kPitchPeriodMs = 23000.0;
constexpr double kRollSwing = 10.0;
constexpr double kRollPeriodMs = 17000.0;
constexpr int kContinuousReadings = 3;
constexpr int64_t kReadingIntervalMs = 500;
// Two full turns earn the best horizontal score.
constexpr double kHorizontalPerTurn = 4.5;
constexpr double kVerticalPerTurn = 4.0;
constexpr int kBestScore = 9;
constexpr std::string_view kFieldStrength = "23.4";

// One decimal, written with a point whatever the locale of the program the simulator runs in.
std::string Tenths(double value) {
    const long tenths = std::lround(value * 10.0);
    const std::string sign = tenths < 0 ? "-" : "";
    return sign + std::to_string(std::labs(tenths) / 10) + "." +
           std::to_string(std::labs(tenths) % 10);
}

double Swing(double amplitude, double periodMs, int64_t nowMs) {
    return amplitude * std::sin(2.0 * std::numbers::pi * static_cast<double>(nowMs) / periodMs);
}

double Heading(int64_t nowMs) {
    return std::fmod(kStartHeading + kDegreesPerMs * static_cast<double>(nowMs), 360.0);
}

std::string Reading(int64_t nowMs) {
    return "Heading " + Tenths(Heading(nowMs)) + " Pitch " +
           Tenths(Swing(kPitchSwing, kPitchPeriodMs, nowMs)) + " Roll " +
           Tenths(Swing(kRollSwing, kRollPeriodMs, nowMs)) + "\r\n";
}

}  // namespace

SimCompass::SimCompass(const Faults& faults, ModeHost& host) : faults_(faults), host_(host) {}

void SimCompass::RegisterWith(CommandInterpreter& interpreter) {
    interpreter.Register({"Compass"}, [this](std::string_view argument, int64_t nowMs) {
        return Command(argument, nowMs);
    });
}

std::string SimCompass::CalibrationLine(int64_t nowMs) {
    return "Heading= " + Tenths(Heading(nowMs)) +
           " Pitch= " + Tenths(Swing(kPitchSwing, kPitchPeriodMs, nowMs)) +
           " Roll= " + Tenths(Swing(kRollSwing, kRollPeriodMs, nowMs)) + "\r\n";
}

std::string SimCompass::ScoreLine(int64_t startMs, int64_t endMs) {
    const double turns =
        static_cast<double>(std::max<int64_t>(endMs - startMs, 0)) * kDegreesPerMs / 360.0;
    const int horizontal = std::min(kBestScore, static_cast<int>(turns * kHorizontalPerTurn));
    const int vertical = std::min(kBestScore, static_cast<int>(turns * kVerticalPerTurn));
    return "\r\nCalibration score: H " + std::to_string(horizontal) + " V " +
           std::to_string(vertical) + " M " + std::string(kFieldStrength) + "\r\n";
}

Reply SimCompass::Command(std::string_view argument, int64_t nowMs) {
    if (argument.empty()) {
        return CommandInterpreter::Answer(Reading(nowMs));
    }
    if (EqualsIgnoringCase(argument, "CONT")) {
        std::string readings;
        for (int i = 0; i < kContinuousReadings; ++i) {
            readings += Reading(nowMs + i * kReadingIntervalMs);
        }
        return CommandInterpreter::Answer(readings);
    }
    const bool init = EqualsIgnoringCase(argument, "init");
    const bool calibrate = EqualsIgnoringCase(argument, "cal");
    if ((init || calibrate) && faults_.noCompass) {
        return CommandInterpreter::Error("no compass installed");
    }
    if (init) {
        // Initialising takes the compass a moment.
        host_.Emit("OK\r\n>", nowMs + faults_.extraDelayMs + kInitMs);
        return {};
    }
    if (calibrate) {
        return {"\r\n", std::make_unique<CompassCalibrationMode>(host_, faults_)};
    }
    return CommandInterpreter::Error("unknown compass command");
}

}  // namespace brennix::sim
