#pragma once

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "instrument/setup_reader.h"
#include "recorder/recorder_space.h"
#include "setup/deployment.h"
#include "setup/setup_sheet.h"
#include "support/sim_session.h"

namespace brennix::test {

// The setup sheet on the simulator, without windows: the record read as the sheet opens it, and
// a host that activates pages as the tabs do and runs the SDI-12 dialog with a test's answers.
//
//   SheetFixture f(settings);       // hardware as the simulator is told to report it
//   f.Open(UnitSystem::kMetric);    // reads the record, shows the Deploy page
//   f.sheet->SetValue(SetupControl::kSamplingInterval, "60");
//   f.sheet->LeavePage(SetupPage::kDeploy);
//   f.Sent()                        // {"SI 60", "SaveSetup"}: the command lines since Open
class SheetFixture : public SetupSheetHost {
  public:
    explicit SheetFixture(const sim::Settings& settings = {}) : sim(settings) {}

    bool Open(UnitSystem units) {
        const SetupRecordRead read = ReadSetupRecord(sim.session.Instrument());
        if (!read.record) {
            return false;
        }
        record = *read.record;
        sheet = std::make_unique<SetupSheet>(record, sim.session.Instrument(), sim.ui, units,
                                             &ReadRecorderFreeBytes);
        sheet->ShowPage(SetupPage::kDeploy);
        sim.instrument.ClearReceived();
        return true;
    }

    // The lines the program wrote since Open (or the last call), blank lines left out.
    std::vector<std::string> Sent() {
        std::vector<std::string> lines;
        std::string line;
        for (const char c : sim.instrument.Received()) {
            if (c == '\r' || c == '\n') {
                if (!line.empty()) {
                    lines.push_back(line);
                }
                line.clear();
            } else {
                line += c;
            }
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
        sim.instrument.ClearReceived();
        return lines;
    }

    // What the instrument holds now, as "get User" and friends report it.
    SetupRecord InstrumentRecord() { return *ReadSetupRecord(sim.session.Instrument()).record; }

    void ActivatePage(SetupPage page) override {
        activated.push_back(page);
        if (sheet->ActivePage() != page) {
            sheet->ShowPage(page);
        }
    }
    void FocusControl(const Refusal& refusal) override { focused.push_back(refusal.control); }
    bool RunSdi12Dialog() override {
        ++sdi12DialogsRun;
        return sdi12Dialog ? sdi12Dialog(*sheet) : !sheet->SaveSdi12Dialog();
    }

    SimSession sim;
    SetupRecord record;
    std::unique_ptr<SetupSheet> sheet;
    std::vector<SetupPage> activated;
    std::vector<SetupControl> focused;
    int sdi12DialogsRun = 0;
    // The technician's hand in the SDI-12 dialog; by default Deploy is pressed at once.
    std::function<bool(SetupSheet&)> sdi12Dialog;
};

inline sim::Settings Jq3MHz() {
    sim::Settings settings;
    settings.systemType = 2;
    settings.frequencyCode = 0;
    return settings;
}

}  // namespace brennix::test
