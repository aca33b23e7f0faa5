#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "instrument/setup_reader.h"
#include "setup/setup_service.h"
#include "support/sim_session.h"

namespace brennix::test {

using Lines = std::vector<std::string>;

// Everything the setup service reports; the SDI-12 dialog answers as the test says (by default:
// OK, unless a setting was refused).
struct SetupHeard : SetupListener {
    void OnPageShown(SetupPage page) override { shown.push_back(page); }
    bool RunSdi12Dialog(const std::optional<Refusal>& refused) override {
        dialogRefusals.push_back(refused);
        return sdi12Dialog ? sdi12Dialog(refused) : !refused;
    }
    void OnEnded(const SetupResult& result) override { ended = result; }

    std::vector<SetupPage> shown;
    std::vector<std::optional<Refusal>> dialogRefusals;
    std::function<bool(const std::optional<Refusal>&)> sdi12Dialog;
    std::optional<SetupResult> ended;
};

// The service on a simulated instrument, with a listener that notes what it heard.
struct SetupRig {
    explicit SetupRig(const sim::Settings& settings, UnitSystem units = UnitSystem::kMetric)
        : sim(settings), service(sim.session, sim.relay, heard, units) {}

    SetupResult RunJob(const std::function<bool(SetupService&)>& start) {
        heard.ended.reset();
        EXPECT_TRUE(start(service));
        EXPECT_TRUE(sim.PumpUntil([this] { return heard.ended.has_value(); }));
        EXPECT_FALSE(service.IsBusy());
        return heard.ended.value_or(SetupResult{});
    }
    void Open() {
        ASSERT_EQ(RunJob([](SetupService& s) { return s.Read(); }).outcome, SetupOutcome::kDone);
        sim.instrument.ClearReceived();
    }
    SetupResult Turn(std::optional<SetupPage> leave, std::vector<SetupPage> enter = {}) {
        return RunJob([&](SetupService& s) { return s.Turn(leave, enter); });
    }
    SetupResult Deploy() {
        return RunJob([](SetupService& s) { return s.Deploy(); });
    }
    void Set(SetupControl control, const char* value) { service.Sheet().SetValue(control, value); }
    SetupSheet& Sheet() { return service.Sheet(); }

    // The lines the program wrote since the last call, blank lines left out.
    Lines Sent() {
        Lines lines;
        std::string line;
        for (const char c : sim.instrument.Received() + "\r") {
            if (c != '\r' && c != '\n') {
                line += c;
            } else if (!line.empty()) {
                lines.push_back(std::exchange(line, {}));
            }
        }
        sim.instrument.ClearReceived();
        return lines;
    }
    // What the instrument holds now.
    UserBlock Held() {
        const UserBlock held = ReadSetupRecord(sim.session.Instrument()).record->User();
        sim.instrument.ClearReceived();
        return held;
    }

    SimSession sim;
    SetupHeard heard;
    SetupService service;
};

}  // namespace brennix::test
