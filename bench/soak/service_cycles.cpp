#include "soak/service_cycles.h"

#include <cstdio>
#include <optional>

#include "compass/compass_service.h"
#include "diagnostics/diagnostics_service.h"
#include "instrument/instrument_codes.h"
#include "recorder/recorder_service.h"
#include "setup/setup_service.h"

namespace brennix::soak {

namespace {

constexpr uint32_t kStepLimitMs = 120000;

bool Says(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "soak: %s\n", what);
    }
    return ok;
}

struct SetupHeard : SetupListener {
    void OnPageShown(SetupPage) override {}
    bool RunSdi12Dialog(const std::optional<Refusal>&) override { return false; }
    void OnEnded(const SetupResult& result) override { ended = result; }
    std::optional<SetupResult> ended;
};

struct RecorderHeard : RecorderListener {
    void OnRateSet(uint32_t, bool) override {}
    void OnListed(const std::optional<RecorderListing>& value) override { listed = value; }
    void OnProgress(const RecorderProgress&) override {}
    void OnDownloaded(const DownloadResult&) override {}
    void OnFormatted(FormatOutcome) override {}
    MessageResult ShowMessage(const std::string& text, const std::string&, MessageButtons,
                              MessageIcon) override {
        std::fprintf(stderr, "soak: the recorder said: %s\n", text.c_str());
        return MessageResult::kOk;
    }
    ReplaceAnswer ConfirmReplace(const std::string&) override { return ReplaceAnswer::kNo; }
    std::optional<RecorderListing> listed;
};

struct CompassHeard : CompassListener {
    void OnReady(bool value) override { ready = value; }
    void OnAttitude(const Attitude&) override {}
    void OnScores(const std::optional<CompassScores>&) override {}
    std::optional<bool> ready;
};

// Counts the frames and drops them, as a view that keeps only the latest does.
struct DiagnosticsHeard : DiagnosticsListener {
    void OnSetUp(const EcholuxSetup&) override {}
    void OnSetupRefused() override { failed = true; }
    void OnProgress(int) override {}
    void OnFrame(std::shared_ptr<const EcholuxSnapshot>) override { ++frames; }
    void OnFrameMissed() override {}
    void OnPlaybackEnded(uint32_t) override {}
    void OnRecordingFailed() override { failed = true; }
    void OnConnectionLost() override { failed = true; }
    size_t frames = 0;
    bool failed = false;
};

}  // namespace

bool SetupCycle(test::SimSession& sim) {
    SetupHeard heard;
    SetupService service(sim.session, sim.relay, heard, UnitSystem::kMetric);
    return Says(service.Read(), "the setup read did not start") &&
           Says(sim.PumpUntil([&] { return heard.ended.has_value(); }, kStepLimitMs),
                "the setup read did not end") &&
           Says(heard.ended->outcome == SetupOutcome::kDone, "the setup read failed");
}

bool RecorderCycle(test::SimSession& sim) {
    RecorderHeard heard;
    RecorderService service(sim.session, sim.relay, heard);
    bool closed = false;
    return Says(service.Open(std::nullopt), "the recorder did not open") &&
           Says(sim.PumpUntil([&] { return !service.IsBusy(); }, kStepLimitMs),
                "the recorder listing did not end") &&
           Says(heard.listed.has_value(), "the recorder listed nothing") &&
           Says(service.Close([&] { closed = true; }), "the recorder did not close") &&
           Says(sim.PumpUntil([&] { return closed; }, kStepLimitMs),
                "the recorder's close did not end");
}

bool CompassCycle(test::SimSession& sim) {
    CompassHeard heard;
    CompassService service(sim.session, sim.relay, heard);
    bool closed = false;
    if (!Says(service.Open([&] { closed = true; }), "the compass did not open")) {
        return false;
    }
    const bool ready = sim.PumpUntil([&] { return heard.ready.has_value(); }, kStepLimitMs);
    service.Close();
    return Says(ready && *heard.ready, "the compass was not ready") &&
           Says(sim.PumpUntil([&] { return closed; }, kStepLimitMs),
                "the compass's close did not end");
}

bool DiagnosticsCycle(test::SimSession& sim, size_t frames) {
    DiagnosticsHeard heard;
    DiagnosticsService service(sim.session, sim.relay, heard);
    bool closed = false;
    if (!Says(service.Open({.model = kMirovan}, [&] { closed = true; }),
              "the diagnostics did not open")) {
        return false;
    }
    const bool collected = sim.PumpUntil([&] { return heard.frames >= frames || heard.failed; },
                                         static_cast<uint32_t>(frames) * kStepLimitMs);
    service.Close();
    return Says(collected && !heard.failed, "the diagnostics did not collect their frames") &&
           Says(sim.PumpUntil([&] { return closed; }, kStepLimitMs),
                "the diagnostics' close did not end");
}

}  // namespace brennix::soak
