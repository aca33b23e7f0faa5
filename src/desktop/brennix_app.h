#pragma once

#include <QString>
#include <memory>

#include "desktop/start_options.h"
#include "instrument/unit_system.h"
#include "link/port_devices.h"
#include "platform/clock.h"
#include "platform/qt_settings.h"

namespace brennix {

class CDlgTerminal;

// The application object: names the settings, holds the unit system the setup pages use, and runs
// the terminal window for the whole life of the program.
class CBrennixApp {
  public:
    explicit CBrennixApp(const StartOptions& options);
    ~CBrennixApp();
    CBrennixApp(const CBrennixApp&) = delete;
    CBrennixApp& operator=(const CBrennixApp&) = delete;

    // Start, the event loop until the terminal closes, End; the program's exit code.
    int Run();
    // Reads the unit system and opens the terminal, which then connects.
    void Start();
    // Stores the unit system and closes the terminal with its link.
    void End();

    Settings& Store() { return settings_; }
    UnitSystem Units() const { return units_; }
    void SetUnits(UnitSystem units) { units_ = units; }

    CDlgTerminal* Terminal() const { return terminal_.get(); }
    // The built-in instrument and its port, present when started to simulate.
    sim::SimulatedInstrument* Simulator() const { return ports_.Simulator(); }
    SimulatedDevice* SimulatedPort() const { return ports_.SimulatedPort(); }
    // The name under which the built-in instrument is offered; empty when not simulating.
    QString SimulatedPortName() const;

  private:
    StartOptions options_;
    QtSettings settings_;
    SystemClock clock_;
    PortDevices ports_;
    UnitSystem units_ = UnitSystem::kEnglish;
    std::unique_ptr<CDlgTerminal> terminal_;
};

}  // namespace brennix
